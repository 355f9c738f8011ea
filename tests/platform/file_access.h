#pragma once

// Who can reach a file, for the platform tests, in each operating system's own terms: these
// are the test's counterparts of the file modes and links a POSIX system has.

#include <string>

namespace platform_test {

// A fresh folder of the test's own in the temporary folder, with its trailing separator, and
// removed with its contents at the end.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string& stem);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// While it lives, files created in the folder give every user access unless their creator
// says otherwise: a umask of 0 on POSIX systems, an access list that every new file in the
// folder inherits on Windows.
class EveryoneByDefault {
public:
    explicit EveryoneByDefault(const std::string& folder);
    ~EveryoneByDefault();
    EveryoneByDefault(const EveryoneByDefault&) = delete;
    EveryoneByDefault& operator=(const EveryoneByDefault&) = delete;

private:
    unsigned saved_ = 0;
};

// Lets every user of the machine read and write an existing file.
void openToEveryone(const std::string& path);

// Who can reach the file: kOwnerOnly when nobody but its user (and the administrators) can;
// otherwise a description of the access the file gives.
std::string accessOf(const std::string& path);
extern const char* const kOwnerOnly;

// Whether accessOf reports what the program set. Not under wine, which the Windows tests run
// under on the build machine: wine keeps no access list of a file's own and answers from the
// file's Unix mode, which a program's access list does not change.
bool accessIsReported();

// Makes link a symbolic link to target; false when this system lets the test make none.
bool makeLink(const std::string& target, const std::string& link);

}  // namespace platform_test
