// Who can reach a file on Windows: the access lists of files and folders, and symbolic links
// where the system lets a user make them.
#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>

#include "file_access.h"
#include "file_paths.h"
#include "windows_security.h"
#include "windows_text.h"

namespace platform_test {

namespace {

// Puts the access list of an SDDL text on a file or folder.
void setAccessList(const std::string& path, const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        throw std::runtime_error("cannot make an access list");
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL list = nullptr;
    ::GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted);
    std::wstring name = platform::filePath(path).native();
    const DWORD result = ::SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT,
                                                 DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION,
                                                 nullptr, nullptr, list, nullptr);
    ::LocalFree(descriptor);
    if (result != ERROR_SUCCESS)
        throw std::runtime_error("cannot set the access list of " + path + ": " +
                                 platform::windows::systemMessage(result));
}

}  // namespace

const char* const kOwnerOnly = "owner only";

TemporaryFolder::TemporaryFolder(const std::string& stem) {
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         (platform::filePath(stem).native() + L"-" +
                                          std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(tick));
    std::filesystem::create_directories(folder);
    path_ = platform::utf8Path(folder) + "\\";
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(platform::filePath(path_), ignored);
}

// Every user, with full access, for the folder's files and subfolders.
EveryoneByDefault::EveryoneByDefault(const std::string& folder) { setAccessList(folder, L"D:(A;OICI;FA;;;WD)"); }

EveryoneByDefault::~EveryoneByDefault() = default;

void openToEveryone(const std::string& path) { setAccessList(path, L"D:(A;;FA;;;WD)"); }

std::string accessOf(const std::string& path) {
    std::wstring name = platform::filePath(path).native();
    PACL list = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD result = ::GetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                                 nullptr, &list, nullptr, &descriptor);
    if (result != ERROR_SUCCESS) return "unknown: " + platform::windows::systemMessage(result);
    std::string others;
    bool owner = false;
    if (list == nullptr) others = " everyone (no access list)";
    const platform::windows::Sid user = platform::windows::currentUser();
    for (DWORD i = 0; list != nullptr && i < list->AceCount; ++i) {
        void* entry = nullptr;
        if (!::GetAce(list, i, &entry)) continue;
        const auto* header = static_cast<ACE_HEADER*>(entry);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        const platform::windows::Sid sid(const_cast<DWORD*>(&allowed->SidStart));
        if (sid == user)
            owner = true;
        else if (!platform::windows::isAdministrative(sid))
            others.append(" ").append(sid.text());
    }
    ::LocalFree(descriptor);
    if (!others.empty()) {
        std::string answer = "also";
        return answer.append(others);
    }
    return owner ? kOwnerOnly : "nobody";
}

// Wine's own ntdll exports its version; Windows' does not.
bool accessIsReported() { return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr; }

bool makeLink(const std::string& target, const std::string& link) {
    const std::wstring name = platform::filePath(link).native();
    // Without the administrators' right, Windows 10 and later make one in developer mode only.
    constexpr DWORD kUnprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    if (!::CreateSymbolicLinkW(name.c_str(), platform::filePath(target).c_str(), kUnprivileged)) return false;
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return true;
    // Something else than a link was made: not what the test needs.
    ::DeleteFileW(name.c_str());
    return false;
}

}  // namespace platform_test
