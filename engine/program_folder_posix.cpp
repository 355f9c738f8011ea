// The program folder on POSIX systems, from /proc/self/exe. A Windows build replaces this
// file with one that asks GetModuleFileName.
#include "program_folder.h"

#include <filesystem>

namespace engine {

std::string programFolder() {
    std::string folder = std::filesystem::canonical("/proc/self/exe").parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace engine
