#include "atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vtf {
namespace {

std::string Failed(const std::string& what, const std::filesystem::path& path) {
    return what + " " + path.string() + ": " + std::strerror(errno);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

std::string WriteAtomically(const std::filesystem::path& target, std::string_view bytes) {
    std::filesystem::path temporary = target;
    temporary += ".part";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return Failed("cannot create", temporary);
    std::string error;
    if (!WriteAll(fd, bytes)) error = Failed("cannot write", temporary);
    if (error.empty() && ::fsync(fd) != 0) error = Failed("cannot flush", temporary);
    if (::close(fd) != 0 && error.empty()) error = Failed("cannot close", temporary);
    if (error.empty() && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = Failed("cannot rename " + temporary.string() + " to", target);
    }
    if (!error.empty()) ::unlink(temporary.c_str());
    return error;
}

FolderLock::FolderLock(const std::filesystem::path& folder) {
    const std::filesystem::path path = folder / ".vtfeed.lock";
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace vtf
