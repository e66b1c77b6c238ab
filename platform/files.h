// Files: the per-user folders, atomic replacement of a file and folder
// listings.  Everything the calculator saves goes through replace_file, so a
// failed save never leaves a half-written file behind.
#pragma once
#include <string>
#include <vector>

namespace qx {

// Programs is the folder "programs" of the data folder (DIR/programs under
// an override).
enum class UserFolder { Settings, Data, Pictures, Programs };

// An override for every per-user folder (the --data-dir option); empty for
// the desktop's usual places.
void set_data_dir_override(const std::string& dir);
// The folder, created (with its parents) when missing.  Empty when it cannot
// be made; the reason is in *error.
std::string user_folder(UserFolder which, std::string* error = nullptr);
// A sub-folder of a per-user folder, created when missing.
std::string user_subfolder(UserFolder which, const std::string& name, std::string* error = nullptr);

// Writes the bytes to a temporary file beside path, flushes it to disk and
// renames it over path.  On any failure the old file is untouched, the
// temporary file is removed and the reason is in *error.
bool replace_file(const std::string& path, const std::string& bytes, std::string* error = nullptr);

// Reads a whole file of at most max_bytes; false when missing, unreadable or
// larger than the bound.
bool read_file(const std::string& path, std::string& bytes, std::size_t max_bytes,
               std::string* error = nullptr);

// Names (not paths) of the regular files in a folder that match a pattern
// with "*" and "?" (case-insensitive), sorted.
std::vector<std::string> list_folder(const std::string& dir, const std::string& pattern);
bool pattern_matches(const std::string& pattern, const std::string& name);

bool file_exists(const std::string& path);
bool remove_file(const std::string& path);
std::string join_path(const std::string& dir, const std::string& name);

}  // namespace qx
