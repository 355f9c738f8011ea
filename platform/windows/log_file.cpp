// Files of customer data on Windows: CreateFileW and WriteFile, with no buffer in the program.
// Other programs may read the file while it is written (a technician opens a log in Notepad
// during a run), and may remove or rename it.
//
// Private: the file is created with, and an existing one given, a protected access list that
// grants the user running the program, and no one else, access to it (Windows' counterpart of
// mode 0600; administrators can still take ownership, as root can read any file). Wine, which
// runs the Windows tests on the build machine, keeps no access list for a file and answers from
// its Unix mode: there the list cannot be checked, and docs/windows-checklist.md has it
// checked on Windows.
//
// No link is followed: the file is opened as itself (FILE_FLAG_OPEN_REPARSE_POINT) and
// refused when it is a reparse point, before anything is written or emptied.
#include "log_file.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>

#include "file_paths.h"
#include "windows_security.h"
#include "windows_text.h"

namespace platform {

namespace {

[[noreturn]] void fail(const char* what, const std::string& path, DWORD error) {
    throw std::runtime_error(std::string(what) + " \"" + path + "\". " + windows::systemMessage(error));
}

// The object keeps a C runtime descriptor (the type the interface holds); the file handle is
// behind it and is closed with it.
HANDLE handleOf(int descriptor) { return reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor)); }

// A security descriptor whose access list lets the current user alone reach the file, inherited
// from no folder.
class PrivateAccess {
public:
    PrivateAccess() {
        const std::wstring text = L"D:P(A;;FA;;;" + windows::toUtf16(windows::currentUser().text()) + L")";
        if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(text.c_str(), SDDL_REVISION_1, &descriptor_,
                                                                    nullptr))
            descriptor_ = nullptr;
    }
    ~PrivateAccess() {
        if (descriptor_ != nullptr) ::LocalFree(descriptor_);
    }
    PrivateAccess(const PrivateAccess&) = delete;
    PrivateAccess& operator=(const PrivateAccess&) = delete;

    bool valid() const { return descriptor_ != nullptr; }
    SECURITY_ATTRIBUTES attributes() const { return {sizeof(SECURITY_ATTRIBUTES), descriptor_, FALSE}; }
    // Puts the access list on an open file; Windows' error code, ERROR_SUCCESS when done.
    DWORD applyTo(HANDLE file) const {
        BOOL present = FALSE;
        BOOL defaulted = FALSE;
        PACL list = nullptr;
        if (!::GetSecurityDescriptorDacl(descriptor_, &present, &list, &defaulted)) return ::GetLastError();
        return ::SetSecurityInfo(file, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                 nullptr, nullptr, list, nullptr);
    }

private:
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
};

// Replace opens what is there, and empties it only once it is known to be a plain file.
DWORD dispositionOf(LogFile::Opening opening) {
    return opening == LogFile::Opening::CreateNew ? CREATE_NEW : OPEN_ALWAYS;
}

// What the file is opened for: appending asks for FILE_APPEND_DATA only, so every write lands at
// the end; the attributes and the access list are read and set in every opening.
DWORD accessOf(LogFile::Opening opening) {
    const DWORD always = FILE_READ_ATTRIBUTES | READ_CONTROL | WRITE_DAC | SYNCHRONIZE;
    return always | (opening == LogFile::Opening::Append ? FILE_APPEND_DATA : GENERIC_WRITE);
}

bool isReparsePoint(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION information{};
    return !::GetFileInformationByHandle(file, &information) ||
           (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace

LogFile::LogFile(const std::string& path, Opening opening) : path_(path) {
    const PrivateAccess access;
    if (!access.valid()) fail("Cannot create file", path_, ::GetLastError());
    SECURITY_ATTRIBUTES attributes = access.attributes();
    const HANDLE file = ::CreateFileW(
        filePath(path).c_str(), accessOf(opening), FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &attributes,
        dispositionOf(opening), FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (opening == Opening::CreateNew && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS))
            throw FileExists("File already exists \"" + path_ + "\".");
        fail("Cannot create file", path_, error);
    }
    // A link at the file's place, a file left by an earlier version or made by hand that others
    // could read, a file that cannot be emptied: each refused or set right before use.
    DWORD error = ERROR_SUCCESS;
    if (isReparsePoint(file)) error = ERROR_CANT_ACCESS_FILE;
    if (error == ERROR_SUCCESS) error = access.applyTo(file);
    if (error == ERROR_SUCCESS && opening == Opening::Replace && !::SetEndOfFile(file)) error = ::GetLastError();
    if (error != ERROR_SUCCESS) {
        ::CloseHandle(file);
        fail("Cannot create file", path_, error);
    }
    descriptor_ = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (descriptor_ < 0) {
        ::CloseHandle(file);
        fail("Cannot create file", path_, ERROR_TOO_MANY_OPEN_FILES);
    }
}

LogFile::~LogFile() { ::_close(descriptor_); }

void LogFile::write(std::string_view bytes) {
    const HANDLE file = handleOf(descriptor_);
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr))
            fail("Cannot write file", path_, ::GetLastError());
        bytes.remove_prefix(written);
    }
}

void LogFile::flushToDisk() {
    if (!::FlushFileBuffers(handleOf(descriptor_))) fail("Cannot write file", path_, ::GetLastError());
}

void removeFileQuietly(const std::string& path) { ::DeleteFileW(filePath(path).c_str()); }

}  // namespace platform
