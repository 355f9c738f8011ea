// Log files on Windows: CreateFileW and WriteFile, with no buffer in the program. Other
// programs may read the file while it is written (a technician opens it in Notepad during a
// run), and may remove or rename it.
#include "log_file.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <stdexcept>

#include "file_paths.h"
#include "windows_text.h"

namespace platform {

namespace {

[[noreturn]] void fail(const char* what, const std::string& path, DWORD error) {
    throw std::runtime_error(std::string(what) + " \"" + path + "\". " + windows::systemMessage(error));
}

// The object keeps a C runtime descriptor (the type the interface holds); the file handle is
// behind it and is closed with it.
HANDLE handleOf(int descriptor) { return reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor)); }

}  // namespace

namespace {

DWORD dispositionOf(LogFile::Opening opening) {
    switch (opening) {
    case LogFile::Opening::Replace:
        return CREATE_ALWAYS;
    case LogFile::Opening::Append:
        return OPEN_ALWAYS;
    case LogFile::Opening::CreateNew:
        return CREATE_NEW;
    }
    return CREATE_NEW;
}

}  // namespace

// A link at the file's place is opened as the link itself (FILE_FLAG_OPEN_REPARSE_POINT), never
// followed. Appending asks for FILE_APPEND_DATA only, so every write lands at the end.
LogFile::LogFile(const std::string& path, Opening opening) : path_(path) {
    const DWORD access = opening == Opening::Append ? FILE_APPEND_DATA : GENERIC_WRITE;
    const HANDLE file =
        ::CreateFileW(filePath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      dispositionOf(opening), FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (opening == Opening::CreateNew && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS))
            throw FileExists("File already exists \"" + path_ + "\".");
        fail("Cannot create file", path_, error);
    }
    descriptor_ = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (descriptor_ < 0) {
        ::CloseHandle(file);
        fail("Cannot create file", path_, ERROR_TOO_MANY_OPEN_FILES);
    }
}

void LogFile::flushToDisk() {
    if (!::FlushFileBuffers(handleOf(descriptor_))) fail("Cannot write file", path_, ::GetLastError());
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

void removeFileQuietly(const std::string& path) { ::DeleteFileW(filePath(path).c_str()); }

}  // namespace platform
