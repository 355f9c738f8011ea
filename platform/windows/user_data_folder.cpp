// The user's data location on Windows: the local application data folder
// (C:\Users\<name>\AppData\Local), which does not roam with the profile.
#include "user_data_folder.h"

#include <shlobj.h>
#include <windows.h>

#include <filesystem>
#include <stdexcept>

#include "file_paths.h"
#include "windows_text.h"

namespace platform {

std::string userDataFolder() {
    wchar_t* base = nullptr;
    const HRESULT found = ::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &base);
    if (FAILED(found) || base == nullptr) {
        ::CoTaskMemFree(base);
        throw std::runtime_error("No folder for the user's data: Windows names no local application data folder");
    }
    const std::filesystem::path folder = std::filesystem::path(base) / L"tavlo-merak";
    ::CoTaskMemFree(base);
    if (!::CreateDirectoryW(folder.c_str(), nullptr)) {
        const DWORD error = ::GetLastError();
        const DWORD attributes = ::GetFileAttributesW(folder.c_str());
        const bool isFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (error != ERROR_ALREADY_EXISTS || !isFolder)
            throw std::runtime_error("Cannot create folder \"" + utf8Path(folder) + "\". " +
                                     windows::systemMessage(error == ERROR_ALREADY_EXISTS ? ERROR_DIRECTORY : error));
    }
    return utf8Path(folder) + "\\";
}

}  // namespace platform
