#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

// A file of customer data written by this program (run logs, copias.log, safety copies and
// their records), each write handed to the operating system at once (no buffer in the
// program), so that everything written survives the program being killed. Such a file gives
// other users of the machine no access: on POSIX systems its mode is 0600, on Windows its
// access list grants its user alone (an existing file is set so when opened). A link at its
// place is never followed.
class LogFile {
public:
    enum class Opening {
        Replace,    // creates the file, or empties an existing one
        Append,     // creates the file, or writes after the end of an existing one
        CreateNew,  // creates the file; throws FileExists when something is already there
    };

    // Throws std::runtime_error naming the file and the reason when it cannot be opened.
    explicit LogFile(const std::string& path, Opening opening = Opening::Replace);
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Appends the bytes; throws std::runtime_error naming the file and the reason.
    void write(std::string_view bytes);
    // Returns once everything written is on the disk; throws as write does.
    void flushToDisk();

private:
    std::string path_;
    int descriptor_;
};

// A file that Opening::CreateNew found already at its place: it is left as it is.
class FileExists : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Removes a file when it exists; nothing happens when it cannot be removed.
void removeFileQuietly(const std::string& path);

}  // namespace platform
