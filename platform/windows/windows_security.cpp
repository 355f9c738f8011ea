// SIDs from the process token and from files' security descriptors (advapi32).
#include "windows_security.h"

#include <aclapi.h>
#include <sddl.h>

#include <stdexcept>

#include "windows_text.h"

namespace platform::windows {

namespace {

// A security descriptor that Windows allocated for its answer, freed with LocalFree.
class LocalDescriptor {
public:
    LocalDescriptor() = default;
    ~LocalDescriptor() {
        if (descriptor_ != nullptr) ::LocalFree(descriptor_);
    }
    LocalDescriptor(const LocalDescriptor&) = delete;
    LocalDescriptor& operator=(const LocalDescriptor&) = delete;
    PSECURITY_DESCRIPTOR* out() { return &descriptor_; }

private:
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
};

std::optional<Sid> ownerFrom(DWORD result, PSID owner, DWORD& error) {
    error = result;
    if (result != ERROR_SUCCESS) return std::nullopt;
    if (owner == nullptr || !::IsValidSid(owner)) {
        error = ERROR_INVALID_OWNER;
        return std::nullopt;
    }
    return Sid(owner);
}

}  // namespace

Sid::Sid(PSID sid) {
    const DWORD length = ::GetLengthSid(sid);
    bytes_.resize(length);
    ::CopySid(length, bytes_.data(), sid);
}

std::string Sid::text() const {
    wchar_t* text = nullptr;
    if (!::ConvertSidToStringSidW(get(), &text)) throw std::runtime_error(systemMessage(::GetLastError()));
    const std::string utf8 = toUtf8(text);
    ::LocalFree(text);
    return utf8;
}

Sid currentUser() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        throw std::runtime_error("The program's user is not known. " + systemMessage(::GetLastError()));
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    const BOOL read = ::GetTokenInformation(token, TokenUser, user.data(), size, &size);
    const DWORD error = ::GetLastError();
    ::CloseHandle(token);
    if (!read) throw std::runtime_error("The program's user is not known. " + systemMessage(error));
    return Sid(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid);
}

std::optional<Sid> ownerOf(HANDLE file, DWORD& error) {
    PSID owner = nullptr;
    LocalDescriptor descriptor;
    const DWORD result = ::GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                                           nullptr, descriptor.out());
    return ownerFrom(result, owner, error);
}

std::optional<Sid> ownerOf(const std::wstring& path, DWORD& error) {
    PSID owner = nullptr;
    LocalDescriptor descriptor;
    const DWORD result = ::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                                 nullptr, nullptr, nullptr, descriptor.out());
    return ownerFrom(result, owner, error);
}

bool isAdministrative(const Sid& sid) {
    return ::IsWellKnownSid(sid.get(), WinBuiltinAdministratorsSid) || ::IsWellKnownSid(sid.get(), WinLocalSystemSid);
}

}  // namespace platform::windows
