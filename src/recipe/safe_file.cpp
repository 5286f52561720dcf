#include "recipe/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

namespace qv {
namespace {

bool writeAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool readAll(int fd, std::string& out) {
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
}

bool rewrite(int fd, std::string_view bytes) {
    return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, bytes) &&
           ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
}

// The same file keeps its links, owner and permissions; only the write is not
// atomic.
bool overwriteInPlace(const std::string& path, std::string_view bytes, OpenCall open) {
    const int fd = open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC, 0);
    if (fd < 0) return false;
    struct stat info {};
    std::string old;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && readAll(fd, old);
    if (ok && !rewrite(fd, bytes)) {
        rewrite(fd, old);
        ok = false;
    }
    return (::close(fd) == 0) && ok;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

int systemOpen(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }

bool replaceFileContents(const std::string& requested, std::string_view bytes, OpenCall open) {
    std::string path = requested;
    struct stat linkInfo {};
    if (::lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (resolved) {
            path = resolved;
            std::free(resolved);
        }
    }

    // The temporary file must share the target's folder, or the rename could
    // not be atomic (or possible at all across file systems).
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = path + ".~" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return overwriteInPlace(path, bytes, open);
    }
    if (fd < 0) return false;

    bool ok = writeAll(fd, bytes);
    struct stat old {};
    if (ok && ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);  // keep the old file's permissions
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable; the file is in place either way.
    const int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace qv
