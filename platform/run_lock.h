#pragma once

#include <string>

namespace platform {

// The right to import into one destination database, held by at most one run on this machine
// at a time, whichever program, folder and user it runs from. The database is named by the
// server's file name for it (serverFileName), a file on this machine: the lock is a file beside
// it, "<database file>.tavlo-merak-lock", where only those who could already change the
// database can write. The lock never follows a link, never creates or empties any other file,
// and something left at its place by a user who could not change the database (a file, a
// link, a lock held on a file of theirs) is put aside rather than obeyed. The lock goes with
// the object, and with the process when it ends in any way, so a killed run leaves nothing
// that blocks the next.
class DestinationLock {
public:
    // Tries to take the lock without waiting; held() tells whether it was taken, failure() why
    // the lock could not even be tried.
    explicit DestinationLock(const std::string& serverFileName);
    ~DestinationLock();
    DestinationLock(const DestinationLock&) = delete;
    DestinationLock& operator=(const DestinationLock&) = delete;

    bool held() const { return descriptor_ >= 0; }
    // Empty when the lock was tried (held, or held by another run).
    const std::string& failure() const { return failure_; }

private:
    int descriptor_ = -1;
    std::string failure_;
};

// The lock's file for a database.
std::string destinationLockPath(const std::string& serverFileName);

}  // namespace platform
