#pragma once

// Folders and files for the Windows platform tests: a fresh folder of the test's own under
// the temporary folder, removed with its contents at the end.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "file_paths.h"

namespace windows_test {

class TemporaryFolder {
public:
    // The folder's last part may hold any character: it is created through its UTF-16 name.
    explicit TemporaryFolder(const std::string& utf8Name = "tavlo-merak") {
        const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                (platform::filePath(utf8Name).native() + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                 std::to_wstring(tick));
        std::filesystem::create_directories(path_);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder as a UTF-8 text with its trailing separator, as the platform layer gives
    // folders.
    std::string utf8() const { return platform::utf8Path(path_) + "\\"; }

private:
    std::filesystem::path path_;
};

inline std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// This test program's own file.
inline std::filesystem::path thisProgram() {
    wchar_t name[32768];
    const DWORD length = ::GetModuleFileNameW(nullptr, name, static_cast<DWORD>(std::size(name)));
    return std::filesystem::path(std::wstring(name, length));
}

}  // namespace windows_test
