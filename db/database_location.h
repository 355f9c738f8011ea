#pragma once

#include <string>

namespace db {

// A database as a user names it: a file path, or Firebird's own form that also names the
// server, "host/port:path" ("localhost/3051:/var/lib/merak/MERAK.FDB", on Windows
// "localhost/3051:C:\Merak\MERAK.FDB"). The server part is a host of two or more letters,
// digits, dots, hyphens or underscores, or an address in brackets ("[::1]"), optionally
// followed by "/" and a port, then ":". A single letter before ":" is a Windows drive, and
// any other text is a plain path.
struct DatabaseLocation {
    std::string server;  // "localhost/3051", "[::1]", ...; empty for a plain path
    std::string host;    // the server's host without its port
    std::string file;    // the path of the file on that server's machine

    bool namesServer() const { return !server.empty(); }
};

DatabaseLocation parseDatabaseLocation(const std::string& text);

// True for a host that is this machine: "localhost" (any case), "127.0.0.1" or "[::1]".
bool isThisMachine(const std::string& host);

}  // namespace db
