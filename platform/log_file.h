#pragma once

#include <string>
#include <string_view>

namespace platform {

// A file written from its start, each write handed to the operating system at once (no
// buffer in the program), so that everything written survives the program being killed.
class LogFile {
public:
    // Creates the file, or empties an existing one. Throws std::runtime_error naming the file
    // and the reason when it cannot.
    explicit LogFile(const std::string& path);
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Appends the bytes; throws std::runtime_error naming the file and the reason.
    void write(std::string_view bytes);

private:
    std::string path_;
    int descriptor_;
};

// Removes a file when it exists; nothing happens when it cannot be removed.
void removeFileQuietly(const std::string& path);

}  // namespace platform
