// The destination lock on POSIX systems: flock(2) on a file beside the database; the kernel
// releases it when the process ends. A Windows build replaces this file with one of its own.
#include "run_lock.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace platform {

namespace {

// True when the user may write the database file: its owner, root, or one its mode lets in.
bool couldChange(uid_t user, const struct stat& database) {
    if (user == 0 || user == database.st_uid) return true;
    if ((database.st_mode & S_IWOTH) != 0) return true;
    if ((database.st_mode & S_IWGRP) == 0) return false;
    const struct passwd* account = ::getpwuid(user);
    if (account == nullptr) return false;
    int count = 64;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    if (::getgrouplist(account->pw_name, account->pw_gid, groups.data(), &count) < 0) {
        groups.resize(static_cast<std::size_t>(count));
        if (::getgrouplist(account->pw_name, account->pw_gid, groups.data(), &count) < 0) return false;
    }
    for (int i = 0; i < count; ++i)
        if (groups[static_cast<std::size_t>(i)] == database.st_gid) return true;
    return false;
}

// The lock file as found: one this run may rely on is a plain file with no other name, made by
// this user or one who could change the database.
bool trusted(int descriptor, const struct stat& database) {
    struct stat lock {};
    if (::fstat(descriptor, &lock) != 0) return false;
    return S_ISREG(lock.st_mode) && lock.st_nlink == 1 &&
           (lock.st_uid == ::geteuid() || couldChange(lock.st_uid, database));
}

}  // namespace

std::string destinationLockPath(const std::string& serverFileName) { return serverFileName + ".tavlo-merak-lock"; }

DestinationLock::DestinationLock(const std::string& serverFileName) {
    const std::string path = destinationLockPath(serverFileName);
    auto fail = [&](int reason) { failure_ = "\"" + path + "\": " + std::strerror(reason); };
    struct stat database {};
    if (::stat(serverFileName.c_str(), &database) != 0) {
        fail(errno);
        return;
    }

    // Opened for reading, which is all flock needs: a file of ours is created readable by the
    // other users' runs, and nothing is ever written to it. Something that is not to be relied
    // on is removed (its name only: a link is not followed) and the lock made anew, once.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int descriptor =
            ::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
        if (descriptor < 0 && errno != ELOOP) {
            fail(errno);
            return;
        }
        if (descriptor >= 0 && trusted(descriptor, database)) {
            if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
                if (errno != EWOULDBLOCK) fail(errno);
                ::close(descriptor);
                return;
            }
            descriptor_ = descriptor;
            return;
        }
        if (descriptor >= 0) ::close(descriptor);
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
            fail(errno);
            return;
        }
    }
    fail(EEXIST);
}

DestinationLock::~DestinationLock() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

}  // namespace platform
