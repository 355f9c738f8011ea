// Log files on POSIX systems: open(2) and write(2).
#include "log_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace platform {

namespace {

[[noreturn]] void fail(const char* what, const std::string& path) {
    throw std::runtime_error(std::string(what) + " \"" + path + "\". " + std::strerror(errno));
}

}  // namespace

LogFile::LogFile(const std::string& path) : path_(path) {
    descriptor_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor_ < 0) fail("Cannot create file", path_);
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

void removeFileQuietly(const std::string& path) { ::unlink(path.c_str()); }

}  // namespace platform
