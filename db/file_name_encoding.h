#pragma once

#include <string>
#include <string_view>

namespace db {

// The bytes in which the client library and the server take a connection string: the server
// name and the database file's path in the platform's file-name encoding.
std::string toFileNameBytes(std::string_view utf8);

// A line of a server's failure text as Unicode. The server quotes file names in the file-name
// encoding among texts in the code page.
std::string fromServerLine(std::string_view bytes);

// Makes the client library read connection strings in that encoding; called before each
// attach, it changes nothing once the process is set up so.
void useFileNameEncoding();

}  // namespace db
