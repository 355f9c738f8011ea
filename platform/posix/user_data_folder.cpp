// The user's data location on POSIX desktops: $XDG_DATA_HOME, else ~/.local/share.
#include "user_data_folder.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace platform {

std::string userDataFolder() {
    std::filesystem::path base;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
        base = data;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
        base = std::filesystem::path(home) / ".local" / "share";
    } else {
        throw std::runtime_error("No folder for the user's data: neither XDG_DATA_HOME nor HOME is set");
    }
    const std::filesystem::path folder = base / "tavlo-merak";
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure) throw std::runtime_error("Cannot create folder \"" + folder.string() + "\". " + failure.message());
    return folder.string() + "/";
}

}  // namespace platform
