// The program folder on Windows, from GetModuleFileNameW: the name of the running program
// file in UTF-16, whatever the code page.
#include "program_folder.h"

#include <windows.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "file_paths.h"

namespace platform {

std::string programFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) throw std::runtime_error("The program's own file name is not known");
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(name.size() * 2);  // cut short: a longer name than MAX_PATH
    }
    std::string folder = utf8Path(std::filesystem::path(name).parent_path());
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

}  // namespace platform
