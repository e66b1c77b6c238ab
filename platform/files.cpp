#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>

namespace qx {

namespace {

std::string g_override;

void set_error(std::string* error, const std::string& text) {
    if (error) *error = text;
}

std::string env_or(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return (v && *v) ? std::string(v) : fallback;
}

bool make_folders(const std::string& path, std::string* error) {
    if (path.empty()) {
        set_error(error, "no folder");
        return false;
    }
    std::string partial;
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = path.find('/', pos + 1);
        partial = path.substr(0, pos);
        if (partial.empty()) continue;
        if (::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) {
            set_error(error, "cannot create " + partial + ": " + std::strerror(errno));
            return false;
        }
    }
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        set_error(error, path + " is not a folder");
        return false;
    }
    return true;
}

}  // namespace

void set_data_dir_override(const std::string& dir) { g_override = dir; }

std::string join_path(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

std::string user_folder(UserFolder which, std::string* error) {
    std::string path;
    if (!g_override.empty()) {
        path = which == UserFolder::Settings ? join_path(g_override, "settings")
             : which == UserFolder::Data     ? join_path(g_override, "data")
             : which == UserFolder::Programs ? join_path(g_override, "programs")
                                             : join_path(g_override, "pictures");
    } else {
        const std::string home = env_or("HOME", "/tmp");
        switch (which) {
            case UserFolder::Settings:
                path = join_path(env_or("XDG_CONFIG_HOME", join_path(home, ".config")), "quorix");
                break;
            case UserFolder::Data:
                path = join_path(env_or("XDG_DATA_HOME", join_path(home, ".local/share")), "quorix");
                break;
            case UserFolder::Programs:
                path = join_path(join_path(env_or("XDG_DATA_HOME", join_path(home, ".local/share")), "quorix"),
                                 "programs");
                break;
            case UserFolder::Pictures:
                path = join_path(env_or("XDG_PICTURES_DIR", join_path(home, "Pictures")), "Quorix");
                break;
        }
    }
    if (!make_folders(path, error)) return {};
    return path;
}

std::string user_subfolder(UserFolder which, const std::string& name, std::string* error) {
    std::string base = user_folder(which, error);
    if (base.empty()) return {};
    std::string path = join_path(base, name);
    if (!make_folders(path, error)) return {};
    return path;
}

bool replace_file(const std::string& path, const std::string& bytes, std::string* error) {
    std::string temp = path + ".tmp-" + std::to_string(::getpid());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        set_error(error, "cannot write " + path + ": " + std::strerror(errno));
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            set_error(error, "cannot write " + path + ": " + std::strerror(errno));
            ::close(fd);
            ::unlink(temp.c_str());
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        set_error(error, "cannot write " + path + ": " + std::strerror(errno));
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        set_error(error, "cannot replace " + path + ": " + std::strerror(errno));
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool read_file(const std::string& path, std::string& bytes, std::size_t max_bytes,
               std::string* error) {
    bytes.clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        set_error(error, "cannot open " + path + ": " + std::strerror(errno));
        return false;
    }
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        if (bytes.size() + n > max_bytes) {
            std::fclose(f);
            bytes.clear();
            set_error(error, path + " is too large");
            return false;
        }
        bytes.append(buffer, n);
    }
    bool ok = !std::ferror(f);
    std::fclose(f);
    if (!ok) {
        bytes.clear();
        set_error(error, "cannot read " + path);
    }
    return ok;
}

bool pattern_matches(const std::string& pattern, const std::string& name) {
    // Iterative wildcard match with one backtracking point for "*".
    std::size_t p = 0, n = 0, star = std::string::npos, mark = 0;
    auto same = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    };
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<std::string> list_folder(const std::string& dir, const std::string& pattern) {
    std::vector<std::string> names;
    DIR* d = ::opendir(dir.c_str());
    if (!d) return names;
    while (dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        struct stat st;
        if (::stat(join_path(dir, name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (pattern_matches(pattern, name)) names.push_back(name);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

bool file_exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool remove_file(const std::string& path) { return ::unlink(path.c_str()) == 0; }

}  // namespace qx
