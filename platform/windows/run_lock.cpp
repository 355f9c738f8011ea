// The destination lock on Windows: LockFileEx on a file in the machine's common application
// data folder (C:\ProgramData\tavlo-merak\), named from a hash of the server's file name, so
// that every user's runs meet there. Windows releases the lock when the handle is closed or
// the process ends in any way. A named mutex would not do: it belongs to the thread that took
// it and can be taken again by that thread, so two runs inside one process would both hold it.
#include "run_lock.h"

#include <fcntl.h>
#include <io.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "file_paths.h"
#include "windows_text.h"

namespace platform {

namespace {

// File names on Windows are the same file in upper and lower case: so are their locks.
std::wstring upperCase(const std::wstring& text) {
    if (text.empty()) return text;
    const int length = static_cast<int>(text.size());
    const int needed =
        ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.data(), length, nullptr, 0, nullptr, nullptr, 0);
    std::wstring upper(static_cast<std::size_t>(needed), L'\0');
    ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.data(), length, upper.data(), needed, nullptr, nullptr,
                    0);
    return upper;
}

// FNV-1a over the UTF-8 bytes: the same name gives the same file in every build of either
// program.
std::uint64_t nameHash(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::filesystem::path lockFolder() {
    wchar_t* common = nullptr;
    const HRESULT found = ::SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &common);
    std::filesystem::path folder =
        SUCCEEDED(found) && common != nullptr ? std::filesystem::path(common) : std::filesystem::temp_directory_path();
    ::CoTaskMemFree(common);
    return folder / L"tavlo-merak";
}

std::filesystem::path lockPath(const std::string& serverFileName) {
    char name[64];
    std::snprintf(
        name, sizeof name, "tavlo-merak-%016llx.lock",
        static_cast<unsigned long long>(nameHash(windows::toUtf8(upperCase(windows::toUtf16(serverFileName))))));
    return lockFolder() / name;
}

}  // namespace

DestinationLock::DestinationLock(const std::string& serverFileName) {
    const std::filesystem::path path = lockPath(serverFileName);
    const auto fail = [&](DWORD error) {
        failure_ = '"';
        failure_ += utf8Path(path);
        failure_ += "\": ";
        failure_ += windows::systemMessage(error);
    };
    // The folder may exist already, created by another user's run.
    if (!::CreateDirectoryW(path.parent_path().c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
        fail(::GetLastError());
        return;
    }
    // Read access is enough for the lock, and it is what another user gets on a file this one
    // created there. Everything is shared: only the lock excludes.
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        fail(::GetLastError());
        return;
    }
    OVERLAPPED start{};
    if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start)) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(file);
        // Held by another run: the lock was tried.
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) fail(error);
        return;
    }
    // The object keeps a C runtime descriptor (the type the interface holds); the handle is
    // behind it and is closed with it, which releases the lock.
    descriptor_ = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY);
    if (descriptor_ < 0) {
        ::CloseHandle(file);
        fail(ERROR_TOO_MANY_OPEN_FILES);
    }
}

DestinationLock::~DestinationLock() {
    if (descriptor_ >= 0) ::_close(descriptor_);
}

}  // namespace platform
