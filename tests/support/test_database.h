#pragma once

#include <string>

namespace test_support {

// A fresh database on the local Firebird server, created through isql in a folder that the
// server's own user can write, and removed with that folder when the object goes away.
class TestDatabase {
public:
    // Creates the database with the given dialect and default character set, then runs the
    // script (DDL and data, statements ended by ";") on it. Its folder is made in the system's
    // temporary folder, or in parentFolder when one is given.
    explicit TestDatabase(const std::string& script = "", int dialect = 3,
                          const std::string& characterSet = "ISO8859_1", const std::string& parentFolder = "");
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // The file path, as a file-name box would hold it.
    const std::string& path() const { return path_; }
    // "localhost:" and the path.
    std::string connectionString() const { return "localhost:" + path_; }

    // Runs a script through isql; throws std::runtime_error with isql's output on failure.
    void run(const std::string& script) const;

private:
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
