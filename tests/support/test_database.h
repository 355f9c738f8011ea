#pragma once

#include <string>

namespace test_support {

// A fresh database on the local Firebird server, created through isql in a folder that the
// server's own user can write, and removed with that folder when the object goes away.
class TestDatabase {
public:
    // Creates the database with the given dialect and default character set, then runs the
    // script (DDL and data, statements ended by ";") on it. Its folder is made in the system's
    // temporary folder, or in parentFolder when one is given. The server is "localhost" (the
    // client's default port) or one that names its port ("localhost/3051").
    explicit TestDatabase(const std::string& script = "", int dialect = 3,
                          const std::string& characterSet = "ISO8859_1", const std::string& parentFolder = "",
                          const std::string& server = "localhost");
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // The file path, as a file-name box would hold it.
    const std::string& path() const { return path_; }
    // The server, ":" and the path.
    std::string connectionString() const { return server_ + ":" + path_; }
    // As a file-name box or an option names it: the path alone on the default server, else
    // the server's form.
    std::string boxText() const { return server_ == "localhost" ? path_ : connectionString(); }

    // Runs a script through isql; throws std::runtime_error with isql's output on failure.
    void run(const std::string& script) const;

private:
    std::string server_;
    std::string folder_;
    std::string path_;
};

// Runs an isql script against the server, connected to nothing at first (the script may
// CONNECT or CREATE DATABASE). Returns isql's output; throws on failure. Scripts are UTF-8:
// start them with SET NAMES UTF8 when they carry accented letters.
std::string runIsql(const std::string& script);

// Reads a whole file as bytes.
std::string readFile(const std::string& path);

// The SQL files of the Tavlo and Merak schemas used by tests and sample data.
std::string schemaFile(const std::string& name);

}  // namespace test_support
