// What the calculator asks of the desktop: where its own executable lives,
// opening a document with the user's preferred program, and finding a
// running copy of itself.
#pragma once
#include <string>

namespace qx {

std::string executable_folder();
// Starts the desktop's opener on the file and returns at once.
bool open_with_desktop(const std::string& path);

// One calculator per user: the first start listens on a socket in the
// settings folder; a second start asks the first to come forward and ends.
class SingleInstance {
public:
    // False when another instance answered (it has been asked to raise).
    bool acquire(const std::string& folder);
    // True once for each request from a later start.
    bool raise_requested();
    ~SingleInstance();

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace qx
