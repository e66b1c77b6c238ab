#include "platform/desktop.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <climits>
#include <cstring>

namespace qx {

std::string executable_folder() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return ".";
    buffer[n] = '\0';
    std::string path(buffer);
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

bool open_with_desktop(const std::string& path) {
    // The child is not waited for; ignoring SIGCHLD lets the system reap it.
    ::signal(SIGCHLD, SIG_IGN);
    const pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, 1);
            ::dup2(null, 2);
        }
        ::execlp("xdg-open", "xdg-open", path.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return true;
}

namespace {

bool make_address(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

bool SingleInstance::acquire(const std::string& folder) {
    path_ = folder + "/instance.sock";
    sockaddr_un address;
    if (!make_address(path_, address)) return true;   // no way to tell: run
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe >= 0) {
        if (::connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            const char request = 'R';
            (void)!::write(probe, &request, 1);
            ::close(probe);
            path_.clear();
            return false;
        }
        ::close(probe);
    }
    // Nobody answered: a socket file left by a crash is stale.
    ::unlink(path_.c_str());
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0) return true;
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd_, 4) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
    return true;
}

bool SingleInstance::raise_requested() {
    if (fd_ < 0) return false;
    const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return false;
    ::close(client);
    return true;
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(path_.c_str());
    }
}

}  // namespace qx
