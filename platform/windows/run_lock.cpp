// The destination lock on Windows: LockFileEx on the file beside the database; Windows releases
// the lock when the handle is closed or the process ends in any way. The file is opened as
// itself (FILE_FLAG_OPEN_REPARSE_POINT): a link or a junction at its place is never followed.
//
// Runs open the file sharing reading and writing but not its removal, so that nobody can
// remove or rename it while a run holds it. A file at its place that is not to be relied on (a
// reparse point, a file with a second name, one whose owner is neither this user, nor the
// database's owner, nor the machine's administrators) is removed, its name only, and the lock
// made anew, once. Windows refuses that removal while another program has the file open, and it
// refuses the opening itself while another program holds the file without sharing it: the run
// is then refused with Windows' reason and the file's name, as it is when something keeps it
// from being created.
#include "run_lock.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <optional>

#include "file_paths.h"
#include "windows_security.h"
#include "windows_text.h"

namespace platform {

namespace {

// The lock's handle until it is handed to the C runtime descriptor the object keeps.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid()) ::CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    HANDLE release() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }

private:
    HANDLE handle_;
};

// The lock file as found: one this run may rely on is a plain file with no other name, made by
// this user, the database's owner (when this user may read who that is) or an administrator.
bool trusted(HANDLE file, const std::optional<windows::Sid>& databaseOwner) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(file, &information)) return false;
    if ((information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0 ||
        information.nNumberOfLinks != 1)
        return false;
    DWORD error = 0;
    const std::optional<windows::Sid> owner = windows::ownerOf(file, error);
    if (!owner) return false;
    return *owner == windows::currentUser() || (databaseOwner && *owner == *databaseOwner) ||
           windows::isAdministrative(*owner);
}

}  // namespace

std::string destinationLockPath(const std::string& serverFileName) { return serverFileName + ".tavlo-merak-lock"; }

DestinationLock::DestinationLock(const std::string& serverFileName) {
    const std::string path = destinationLockPath(serverFileName);
    const std::wstring name = filePath(path).native();
    const auto fail = [&](DWORD error) { failure_ = "\"" + path + "\": " + windows::systemMessage(error); };
    const std::wstring database = filePath(serverFileName).native();
    if (::GetFileAttributesW(database.c_str()) == INVALID_FILE_ATTRIBUTES) {
        fail(::GetLastError());
        return;
    }
    DWORD unknown = 0;
    const std::optional<windows::Sid> databaseOwner = windows::ownerOf(database, unknown);

    for (int attempt = 0; attempt < 2; ++attempt) {
        // Read access is all LockFileEx needs; READ_CONTROL reads the owner. Nothing is ever
        // written to the file, so one found there is never emptied.
        FileHandle file(::CreateFileW(name.c_str(), GENERIC_READ | READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                      nullptr));
        if (!file.valid()) {
            fail(::GetLastError());
            return;
        }
        if (trusted(file.get(), databaseOwner)) {
            OVERLAPPED start{};
            if (!::LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start)) {
                // ERROR_LOCK_VIOLATION: held by another run; the lock was tried.
                if (const DWORD reason = ::GetLastError(); reason != ERROR_LOCK_VIOLATION) fail(reason);
                return;
            }
            // The object keeps a C runtime descriptor (the type the interface holds); the
            // handle is behind it and is closed with it, which releases the lock.
            descriptor_ = ::_open_osfhandle(reinterpret_cast<intptr_t>(file.get()), _O_RDONLY);
            if (descriptor_ < 0) {
                fail(ERROR_TOO_MANY_OPEN_FILES);
                return;
            }
            file.release();
            return;
        }
        ::CloseHandle(file.release());
        if (!::DeleteFileW(name.c_str())) {
            if (const DWORD reason = ::GetLastError(); reason != ERROR_FILE_NOT_FOUND) {
                fail(reason);
                return;
            }
        }
    }
    fail(ERROR_ALREADY_EXISTS);
}

DestinationLock::~DestinationLock() {
    if (descriptor_ >= 0) ::_close(descriptor_);
}

}  // namespace platform
