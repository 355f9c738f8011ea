// Shared libraries on Windows: LoadLibraryExW. A library is looked for beside the program
// first (a technician can put the fbclient.dll of the server's own version there), then where
// Windows looks for DLLs (the system folder, the folders on PATH), then in the folder of the
// Firebird installation that the installer recorded in the registry: by default the
// installer neither copies fbclient.dll into the system folder nor adds its folder to PATH.
#include "dynamic_library.h"

#include <windows.h>

#include <string>

#include "program_folder.h"
#include "windows_text.h"

namespace platform {

namespace {

// LOAD_WITH_ALTERED_SEARCH_PATH: the DLLs the library itself needs (Firebird's client brings
// its own C runtime) are then looked for in the library's folder first.
HMODULE loadFrom(const std::wstring& folder, const std::wstring& fileName) {
    if (folder.empty()) return nullptr;
    std::wstring path = folder;
    if (path.back() != L'\\' && path.back() != L'/') path += L'\\';
    path += fileName;
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// The folder of the default Firebird instance, as Firebird's installer records it.
std::wstring firebirdInstallFolder() {
    wchar_t folder[MAX_PATH + 1];
    DWORD size = sizeof folder;
    const LSTATUS found = ::RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Firebird Project\\Firebird Server\\Instances",
                                         L"DefaultInstance", RRF_RT_REG_SZ, nullptr, folder, &size);
    return found == ERROR_SUCCESS ? std::wstring(folder) : std::wstring();
}

}  // namespace

const char* firebirdClientLibraryName() { return "fbclient.dll"; }

void* openLibrary(const char* fileName) {
    const std::wstring name = windows::toUtf16(fileName);
    HMODULE library = loadFrom(windows::toUtf16(programFolder()), name);
    if (library == nullptr) library = ::LoadLibraryW(name.c_str());
    if (library == nullptr) library = loadFrom(firebirdInstallFolder(), name);
    return reinterpret_cast<void*>(library);
}

void* librarySymbol(void* library, const char* name) {
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name));
}

void closeLibrary(void* library) { ::FreeLibrary(static_cast<HMODULE>(library)); }

}  // namespace platform
