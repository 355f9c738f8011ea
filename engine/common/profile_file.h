#pragma once

#include <string>
#include <string_view>

namespace engine {

// A settings file in the private-profile ("INI") format: sections in square brackets, lines
// key=value. Each call reads the file anew; writing changes one line and leaves every other
// section, key and comment as it was. The file is held in the Windows-1252 code page.
class ProfileFile {
public:
    // Values are read back with at most this many characters.
    static constexpr std::size_t kMaxValueLength = 2047;

    explicit ProfileFile(std::string path);

    const std::string& path() const { return path_; }

    // The value of the key in the section, without its surrounding blanks and without one
    // pair of enclosing double quotation marks; defaultValue when the file, the section or
    // the key is missing.
    std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue) const;

    // Sets the key of the section, adding the key, the section or the file when missing.
    // Raises "Unable to write to <path>" when the file cannot be written.
    void writeString(std::string_view section, std::string_view key, std::string_view value) const;

private:
    std::string path_;
};

}  // namespace engine
