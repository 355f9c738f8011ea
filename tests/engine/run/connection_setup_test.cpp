#include "connection_setup.h"

#include <gtest/gtest.h>

#include "import_fixture.h"

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

}  // namespace
