#pragma once

#include <string>

namespace platform {

// The right to import into one destination database, held by at most one run on this
// machine at a time, whichever program and folder it runs from. The database is named by the
// server's file name for it (serverFileName), so every spelling of one file takes the same
// lock. The lock goes with the object, and with the process when it ends in any way.
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

}  // namespace platform
