// The program folder on POSIX systems, from /proc/self/exe.
#include "program_folder.h"

#include <filesystem>

namespace platform {

std::string programFolder() {
    std::string folder = std::filesystem::canonical("/proc/self/exe").parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace platform
