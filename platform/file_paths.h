#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// File names inside the system are UTF-8 texts. These give each consumer its own form.

// The platform's own form of a file name, for every file API (streams, std::filesystem):
// the UTF-8 bytes on POSIX systems, UTF-16 on Windows.
std::filesystem::path filePath(std::string_view utf8);
// Opens a file as std::fopen does, with the platform's own form of its name.
std::FILE* openFile(std::string_view utf8, const char* mode);
// A path as a UTF-8 text.
std::string utf8Path(const std::filesystem::path& path);

// The bytes in which the client library and the server take a connection string or a
// service's file name: the server name and the database file's path in the platform's
// file-name encoding.
std::string toFileNameBytes(std::string_view utf8);

// Makes the client library read connection strings in that encoding; called before each
// attach, it changes nothing once the process is set up so.
void useFileNameEncoding();

}  // namespace platform
