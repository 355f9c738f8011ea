#include "database_location.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sequence_statement.h"
#include "server_version.h"

namespace {

TEST(DatabaseLocation, TheServerFormIsAHostOfTwoOrMoreCharactersOrABracketedAddressWithAnOptionalPort) {
    struct Case {
        std::string text;
        std::string server;
        std::string host;
        std::string file;
    };
    const std::vector<Case> cases = {
        {"/var/lib/merak/MERAK.FDB", "", "", "/var/lib/merak/MERAK.FDB"},
        {"localhost/3051:/var/lib/merak/MERAK.FDB", "localhost/3051", "localhost", "/var/lib/merak/MERAK.FDB"},
        {"localhost:/var/lib/merak/MERAK.FDB", "localhost", "localhost", "/var/lib/merak/MERAK.FDB"},
        {"localhost/3051:C:\\Merak\\MERAK.FDB", "localhost/3051", "localhost", "C:\\Merak\\MERAK.FDB"},
        {"C:\\Merak\\MERAK.FDB", "", "", "C:\\Merak\\MERAK.FDB"},
        {"[::1]/3051:/m.fdb", "[::1]/3051", "[::1]", "/m.fdb"},
        {"[::1]:/m.fdb", "[::1]", "[::1]", "/m.fdb"},
        {"127.0.0.1/3050:/m.fdb", "127.0.0.1/3050", "127.0.0.1", "/m.fdb"},
        {"servidor.empresa/3050:/m.fdb", "servidor.empresa/3050", "servidor.empresa", "/m.fdb"},
        // Not the server form: kept whole as a plain path.
        {" localhost/3051:/m.fdb", "", "", " localhost/3051:/m.fdb"},
        {"localhost/:/m.fdb", "", "", "localhost/:/m.fdb"},
        {"[]:/m.fdb", "", "", "[]:/m.fdb"},
        {"merak.fdb", "", "", "merak.fdb"},
        {"dados/merak.fdb", "", "", "dados/merak.fdb"},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const db::DatabaseLocation location = db::parseDatabaseLocation(c.text);
        EXPECT_EQ(location.server, c.server);
        EXPECT_EQ(location.host, c.host);
        EXPECT_EQ(location.file, c.file);
    }
}

TEST(DatabaseLocation, ThisMachineIsLocalhostInAnyCaseOrTheLoopbackAddresses) {
    for (const char* host : {"localhost", "LOCALHOST", "127.0.0.1", "[::1]"}) EXPECT_TRUE(db::isThisMachine(host));
    for (const char* host : {"servidor", "127.0.0.2", "[::2]", "localhost.empresa"})
        EXPECT_FALSE(db::isThisMachine(host));
}

TEST(ServerVersion, ReadFromTheServersVersionLine) {
    struct Case {
        std::string line;
        std::string version;
        int major;
    };
    const std::vector<Case> cases = {
        {"LI-V3.0.11.33703 Firebird 3.0", "3.0.11", 3},
        {"LI-V4.0.5.3140 Firebird 4.0", "4.0.5", 4},
        {"WI-V5.0.1.1469 Firebird 5.0", "5.0.1", 5},
        {"LI-T6.0.0.1 Firebird 6.0 Initial", "6.0.0", 6},
        {"Firebird", "", 0},
        {"LI-Vx", "", 0},
        {"", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const db::ServerVersion version = db::parseServerVersion(c.line);
        EXPECT_EQ(version.text(), c.version);
        EXPECT_EQ(version.major, c.major);
    }
}

TEST(SequenceStatement, LeavesTheValueCurrentOnEveryServer) {
    EXPECT_EQ(db::setSequenceStatement({3, 0, 11}, "GEN_CODFOR", "16"), "ALTER SEQUENCE GEN_CODFOR RESTART WITH 16");
    EXPECT_EQ(db::setSequenceStatement({4, 0, 5}, "GEN_CODFOR", "16"), "SET GENERATOR GEN_CODFOR TO 16");
    EXPECT_EQ(db::setSequenceStatement({5, 0, 1}, "CODIGO_PRODUTO", "7"), "SET GENERATOR CODIGO_PRODUTO TO 7");
}

}  // namespace
