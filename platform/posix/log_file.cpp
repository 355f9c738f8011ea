// Files of customer data on POSIX systems: open(2) with O_NOFOLLOW and mode 0600, write(2).
#include "log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

[[noreturn]] void fail(const char* what, const std::string& path) {
    throw std::runtime_error(std::string(what) + " \"" + path + "\". " + std::strerror(errno));
}

int flagsOf(LogFile::Opening opening) {
    constexpr int kCommon = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC;
    switch (opening) {
    case LogFile::Opening::Replace:
        return kCommon | O_TRUNC;
    case LogFile::Opening::Append:
        return kCommon | O_APPEND;
    case LogFile::Opening::CreateNew:
        return kCommon | O_EXCL;
    }
    return kCommon | O_EXCL;
}

}  // namespace

LogFile::LogFile(const std::string& path, Opening opening) : path_(path) {
    descriptor_ = ::open(path.c_str(), flagsOf(opening), 0600);
    if (descriptor_ < 0 && errno == EEXIST) throw FileExists("File already exists \"" + path_ + "\".");
    if (descriptor_ < 0) fail("Cannot create file", path_);
    // A file left by an earlier version, or made by hand, loses what other users could read.
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode) ||
        ((status.st_mode & 077) != 0 && ::fchmod(descriptor_, 0600) != 0)) {
        const int reason = errno != 0 ? errno : EINVAL;
        ::close(descriptor_);
        errno = reason;
        fail("Cannot create file", path_);
    }
}

LogFile::~LogFile() { ::close(descriptor_); }

void LogFile::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            fail("Cannot write file", path_);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void LogFile::flushToDisk() {
    if (::fsync(descriptor_) != 0) fail("Cannot write file", path_);
}

void removeFileQuietly(const std::string& path) { ::unlink(path.c_str()); }

}  // namespace platform
