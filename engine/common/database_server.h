#pragma once

#include <string>

#include "database_error.h"
#include "server_version.h"

namespace engine {

// A database as the window's boxes, Config.ini and the batch's options name it: a plain path,
// which goes to the Firebird server of this machine on its default port, or Firebird's form
// that names the server ("localhost/3051:/var/lib/merak/MERAK.FDB"), which goes to that one.

// The connection string: a text that names its server as it is; a plain path after
// "localhost:", byte for byte as typed.
std::string connectionStringOf(const std::string& text);

// The server that the text reaches, as the service manager is named on it: "localhost" for a
// plain path, else the text's own server ("localhost/3051").
std::string serverOf(const std::string& text);

// The path of the file on the server's machine.
std::string fileOf(const std::string& text);

// Another file on the same server as the text, named the same way.
std::string onServerOf(const std::string& text, const std::string& file);

// The port the text names for its server; 0 for a plain path or a server without one (its
// default port).
int serverPortOf(const std::string& text);

// The text with its server's port set: "localhost/3051:" and the file for a plain path, the
// port replaced in a text that names a server; port 0 names none, and a text whose server is
// then "localhost" alone becomes the plain path.
std::string withServerPort(const std::string& text, int port);

// Why the text cannot be used: it names a server on another machine (the safety copy, the lock
// beside the destination and the file checks need the file on this one), or its file's path is
// longer than the server names a database file (255 bytes). Empty when it can be used.
std::string databaseRefusal(const std::string& text);

// The server of a database and its version, as the summary and the report name it:
// "Firebird 4.0.5, localhost/3051", "Firebird 3.0.11, localhost".
std::string serverDescription(const db::ServerVersion& version, const std::string& text);

// What to do with a file that the server refused for its on-disk structure: the structure
// found, the one this server opens, and the backup and restore that convert the file.
std::string structureExplanation(const db::StructureMismatch& mismatch, const std::string& text);

}  // namespace engine
