// File modes and symbolic links on POSIX systems.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "file_access.h"

namespace platform_test {

const char* const kOwnerOnly = "0600";

TemporaryFolder::TemporaryFolder(const std::string& stem) {
    std::string pattern = (std::filesystem::temp_directory_path() / (stem + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a folder");
    path_ = pattern + "/";
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

EveryoneByDefault::EveryoneByDefault(const std::string&) : saved_(::umask(0)) {}

EveryoneByDefault::~EveryoneByDefault() { ::umask(static_cast<mode_t>(saved_)); }

void openToEveryone(const std::string& path) {
    if (::chmod(path.c_str(), 0666) != 0) throw std::runtime_error("cannot change the mode of " + path);
}

std::string accessOf(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) return "missing";
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(status.st_mode & 07777));
    return mode;
}

bool accessIsReported() { return true; }

bool makeLink(const std::string& target, const std::string& link) {
    if (::symlink(target.c_str(), link.c_str()) != 0) throw std::runtime_error("cannot make the link " + link);
    return true;
}

}  // namespace platform_test
