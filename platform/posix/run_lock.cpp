// The destination lock on POSIX systems: flock(2) on a file in /tmp named from a hash of the
// server's file name; the kernel releases it when the process ends. A Windows build replaces
// this file with one that uses a named mutex.
#include "run_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace platform {

namespace {

// FNV-1a: the same name gives the same file in every build of either program.
std::uint64_t nameHash(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string lockPath(const std::string& serverFileName) {
    char name[64];
    std::snprintf(name, sizeof name, "/tmp/tavlo-merak-%016llx.lock",
                  static_cast<unsigned long long>(nameHash(serverFileName)));
    return name;
}

}  // namespace

DestinationLock::DestinationLock(const std::string& serverFileName) {
    const std::string path = lockPath(serverFileName);
    // Opened without O_CREAT first: a file that another user created in /tmp cannot be opened
    // with it where the system protects such files.
    int descriptor = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (descriptor < 0 && errno == ENOENT) {
        descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        // Another user's run must be able to take the same lock.
        if (descriptor >= 0) ::fchmod(descriptor, 0666);
    }
    if (descriptor < 0) {
        failure_ = "\"" + path + "\": " + std::strerror(errno);
        return;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK) failure_ = "\"" + path + "\": " + std::strerror(errno);
        ::close(descriptor);
        return;
    }
    descriptor_ = descriptor;
}

DestinationLock::~DestinationLock() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

}  // namespace platform
