#pragma once

#include <memory>
#include <string>

#include "run_lock.h"

namespace engine {

// The right to write the run files of a program folder (its logs, its lists of refused rows,
// conferencia.csv), held by one import run, preview or comparison at a time: two of them
// writing the same files would mix and cut each other's entries. The lock is a file of its own
// in the program folder (in the user's data folder when the program folder cannot take it),
// follows no link, and is released by the system when its holder ends in any way.
class ProgramFolderLock {
public:
    explicit ProgramFolderLock(const std::string& programFolder);

    bool held() const { return lock_ && lock_->held(); }
    // Why the run cannot start, in Portuguese, when the lock is not held.
    const std::string& refusal() const { return refusal_; }

private:
    std::unique_ptr<platform::DestinationLock> lock_;
    std::string refusal_;
};

}  // namespace engine
