#include "test_database.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace test_support {

namespace {

constexpr const char* kCredentials = "USER 'SYSDBA' PASSWORD 'pinewheel'";

std::string makeFolder(const std::string& parent) {
    const std::filesystem::path in =
        parent.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(parent);
    std::string pattern = (in / "tavlo-merak-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a test folder");
    // The server runs as its own user and must create the database file here.
    ::chmod(pattern.c_str(), 0777);
    return pattern;
}

}  // namespace

std::string runIsql(const std::string& script) {
    const std::filesystem::path input =
        std::filesystem::temp_directory_path() / ("tavlo-merak-isql-" + std::to_string(::getpid()) + ".sql");
    {
        std::ofstream out(input, std::ios::binary);
        out << script;
    }
    const std::string command = "isql-fb -q -bail -i '" + input.string() + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) throw std::runtime_error("cannot run isql-fb");
    std::string output;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
    const int status = ::pclose(pipe);
    std::filesystem::remove(input);
    if (status != 0 || output.find("Statement failed") != std::string::npos ||
        output.find("SQLCODE") != std::string::npos)
        throw std::runtime_error("isql failed:\n" + output + "\nscript:\n" + script.substr(0, 2000));
    return output;
}

TestDatabase::TestDatabase(const std::string& script, int dialect, const std::string& characterSet,
                           const std::string& parentFolder, const std::string& server)
    : server_(server), folder_(makeFolder(parentFolder)), path_(folder_ + "/test.fdb") {
    runIsql("SET NAMES UTF8;\nSET SQL DIALECT " + std::to_string(dialect) + ";\nCREATE DATABASE '" +
            connectionString() + "' " + kCredentials + " DEFAULT CHARACTER SET " + characterSet + ";\n" + script +
            "\nCOMMIT;\n");
}

TestDatabase::~TestDatabase() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void TestDatabase::run(const std::string& script) const {
    runIsql("SET NAMES UTF8;\nCONNECT '" + connectionString() + "' " + kCredentials + ";\n" + script + "\nCOMMIT;\n");
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string schemaFile(const std::string& name) { return readFile(std::string(SCHEMA_DIR) + "/" + name); }

}  // namespace test_support
