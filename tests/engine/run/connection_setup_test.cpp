#include "connection_setup.h"

#include <gtest/gtest.h>

#include "database_server.h"
#include "import_fixture.h"
#include "test_database.h"

namespace {

using test_support::ImportFixture;

const std::string kFailurePrefix = "warning: Falha na função: \"Connectar\"\r\nFalha: ";

class ConnectionSetup : public testing::Test {
protected:
    ImportFixture fixture{"", ""};
    engine::ImportSession& session = fixture.session;
    test_support::ScriptedWindow& window = fixture.window;
};

TEST_F(ConnectionSetup, EmptyOrBlankBoxesAreReportedSourceFirstAndNothingIsTouched) {
    struct Case {
        std::string origem, destino, message;
    };
    for (const Case& c : std::vector<Case>{
             {"", "", "warning: Selecione o banco de dados de origem!"},
             {" \t ", fixture.destination.path(), "warning: Selecione o banco de dados de origem!"},
             {fixture.source.path(), "  ", "warning: Selecione o banco de dados de destino!"},
         }) {
        window.origem = c.origem;
        window.destino = c.destino;
        window.boxes.clear();
        EXPECT_FALSE(fixture.connectar(true));
        EXPECT_EQ(window.boxes, std::vector<std::string>{c.message});
        EXPECT_FALSE(session.IBDBOrigem.isOpen());
        EXPECT_FALSE(session.IBDatabaseDestino.isOpen());
    }
}

TEST_F(ConnectionSetup, SuccessTwiceInARowReconnectsAndAnnouncesEachTime) {
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(fixture.connectar(true));
        EXPECT_TRUE(session.IBDBOrigem.isOpen());
        EXPECT_TRUE(session.IBDatabaseDestino.isOpen());
        EXPECT_TRUE(session.IBTransactionFireBird.isActive());
        EXPECT_FALSE(session.IBTransOrigem.isActive());
    }
    EXPECT_EQ(window.boxes,
              std::vector<std::string>(2, "warning: Base de dados Origem e Destino conectados com sucesso"));
    // The destination transaction spans both attachments, destination first.
    EXPECT_EQ(session.IBTransactionFireBird.attachments(),
              (std::vector<db::Attachment*>{&session.IBDatabaseDestino, &session.IBDBOrigem}));
    EXPECT_EQ(session.IBDBOrigem.transactions(),
              (std::vector<db::Transaction*>{&session.IBTransOrigem, &session.IBTransactionFireBird}));

    window.boxes.clear();
    EXPECT_TRUE(fixture.connectar(false));  // the Import command's call is silent
    EXPECT_TRUE(window.boxes.empty());
}

TEST_F(ConnectionSetup, MissingSourceLeavesTheDestinationOpenAndShowsTheServerText) {
    window.origem = fixture.source.path() + ".missing";
    EXPECT_FALSE(fixture.connectar(true));
    EXPECT_TRUE(session.IBDatabaseDestino.isOpen());
    EXPECT_FALSE(session.IBDBOrigem.isOpen());
    EXPECT_FALSE(session.IBTransactionFireBird.isActive());
    ASSERT_EQ(window.boxes.size(), 1u);
    const std::string& box = window.boxes.front();
    EXPECT_EQ(box.rfind(kFailurePrefix, 0), 0u) << box;
    EXPECT_NE(box.find("I/O error"), std::string::npos) << box;
    EXPECT_NE(box.find(fixture.source.path() + ".missing"), std::string::npos) << box;
}

TEST_F(ConnectionSetup, MissingDestinationLeavesBothClosed) {
    EXPECT_TRUE(fixture.connectar(false));
    window.destino = "/nonexistent/merak.fdb";
    EXPECT_FALSE(fixture.connectar(false));
    EXPECT_FALSE(session.IBDatabaseDestino.isOpen());
    EXPECT_FALSE(session.IBDBOrigem.isOpen());
    EXPECT_FALSE(session.IBTransactionFireBird.isActive());
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes.front().rfind(kFailurePrefix, 0), 0u);
}

TEST_F(ConnectionSetup, PathWithSurroundingBlanksIsUsedAsItIs) {
    window.origem = " " + fixture.source.path() + " ";
    fixture.connectar(false);
    EXPECT_EQ(session.IBDBOrigem.connectionString(), "localhost: " + fixture.source.path() + " ");
}

TEST_F(ConnectionSetup, AServerOnAnotherMachineIsRefusedBeforeAnythingIsClosedOrAttached) {
    ASSERT_TRUE(fixture.connectar(false));
    const std::string path = fixture.destination.path();
    struct Case {
        std::string origem, destino, named;
    };
    for (const Case& c : std::vector<Case>{
             {"servidor/3050:" + path, path, "servidor/3050:" + path},
             {fixture.source.path(), "10.0.0.5:" + path, "10.0.0.5:" + path},
             {fixture.source.path(), "[::2]/3051:" + path, "[::2]/3051:" + path},
         }) {
        SCOPED_TRACE(c.named);
        window.origem = c.origem;
        window.destino = c.destino;
        window.boxes.clear();
        EXPECT_FALSE(fixture.connectar(true));
        ASSERT_EQ(window.boxes.size(), 1u);
        EXPECT_EQ(window.boxes.front().rfind(
                      "warning: O banco de dados precisa estar neste computador:\r\n" + c.named + "\r\n", 0),
                  0u)
            << window.boxes.front();
        // The earlier connection was left as it was.
        EXPECT_TRUE(session.IBDatabaseDestino.isOpen());
        EXPECT_TRUE(session.IBTransactionFireBird.isActive());
    }
    // A path longer than the server names a database file.
    window.origem = fixture.source.path();
    window.destino = "/" + std::string(200, 'a') + "/" + std::string(60, 'b') + ".fdb";
    window.boxes.clear();
    EXPECT_FALSE(fixture.connectar(true));
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes.front().rfind(
                  "warning: O caminho do banco de dados tem 266 bytes; o servidor Firebird aceita até 255:\r\n" +
                      window.destino,
                  0),
              0u)
        << window.boxes.front();
    EXPECT_TRUE(session.IBDatabaseDestino.isOpen());
}

// The two servers of the tests: Firebird 3.0 on port 3050 and Firebird 4.0 on port 3051.
TEST(ConnectionSetupServers, EachDatabaseMayNameItsServerAndTheRunKnowsItsVersion) {
    using test_support::TestDatabase;
    const TestDatabase source(test_support::schemaFile("tavlo-schema.sql"), 3, "ISO8859_1", "", "localhost/3050");
    const TestDatabase destination(test_support::schemaFile("merak-schema.sql"), 3, "ISO8859_1", "", "localhost/3051");
    ImportFixture fixture("", "");
    fixture.window.origem = source.boxText();
    fixture.window.destino = destination.boxText();
    ASSERT_TRUE(fixture.connectar(false)) << testing::PrintToString(fixture.window.boxes);
    EXPECT_EQ(fixture.session.IBDBOrigem.connectionString(), "localhost/3050:" + source.path());
    EXPECT_EQ(fixture.session.IBDatabaseDestino.connectionString(), "localhost/3051:" + destination.path());
    EXPECT_EQ(fixture.session.IBDBOrigem.serverVersion().major, 3);
    EXPECT_EQ(fixture.session.IBDatabaseDestino.serverVersion().major, 4);
    EXPECT_EQ(engine::serverDescription(fixture.session.IBDatabaseDestino.serverVersion(), destination.boxText()),
              "Firebird " + fixture.session.IBDatabaseDestino.serverVersion().text() + ", localhost/3051");
    EXPECT_EQ(
        engine::serverDescription(fixture.session.IBDBOrigem.serverVersion(), source.path()).rfind("Firebird 3.0.", 0),
        0u);
}

TEST(ConnectionSetupServers, AFileOfAnotherOnDiskStructureIsExplainedAfterTheServersText) {
    using test_support::TestDatabase;
    // Made by Firebird 3.0, offered to Firebird 4.0.
    const TestDatabase old(test_support::schemaFile("merak-schema.sql"), 3, "ISO8859_1", "", "localhost/3050");
    ImportFixture fixture("", "");
    fixture.window.destino = "localhost/3051:" + old.path();
    EXPECT_FALSE(fixture.connectar(true));
    EXPECT_FALSE(fixture.session.IBDatabaseDestino.isOpen());
    ASSERT_EQ(fixture.window.boxes.size(), 1u);
    const std::string& box = fixture.window.boxes.front();
    EXPECT_EQ(box.rfind(kFailurePrefix + "unsupported on-disk structure for file " + old.path() +
                            "; found 12.0, support 13.0\r\n\r\nO servidor Firebird de localhost/3051 não abre este "
                            "arquivo",
                        0),
              0u)
        << box;
    for (const std::string& part : std::vector<std::string>{
             "Estrutura do arquivo (ODS): 12.0 (Firebird 3.0); este servidor abre a 13.0 (Firebird 4.0).",
             "gbak -b -user SYSDBA -password SENHA -se localhost/PORTA:service_mgr \"" + old.path() + "\" \"" +
                 old.path() + ".fbk\"",
             "gbak -c -user SYSDBA -password SENHA -se localhost/3051:service_mgr \"" + old.path() + ".fbk\" \"" +
                 old.path().substr(0, old.path().size() - 4) + "-convertido.fdb\""})
        EXPECT_NE(box.find(part), std::string::npos) << part << "\n" << box;
}

}  // namespace
