// The checks an import run makes, with both databases connected, before it asks or empties
// anything: through the window's Import command.
#include <gtest/gtest.h>

#include <filesystem>

#include "database_identity.h"
#include "import_fixture.h"
#include "import_run.h"
#include "run_lock.h"
#include "test_connection.h"
#include "verification_run.h"

namespace {

using engine::CheckBox;
using test_support::ImportFixture;
using Rows = ImportFixture::Rows;

const std::string kConfirm =
    "confirm: Atenção os registros das tabelas marcadas serão apagadas e importadas: \r\nConfirma ?";

// The server's name of a database, asked through an attachment of the test's own.
std::string serverName(const test_support::TestDatabase& database) {
    test_support::TestConnection connection(database.connectionString());
    connection.attachment.open();
    return db::serverFileName(connection.attachment, connection.transaction);
}

TEST(RunAdmission, SourceGivenAsTheDestinationUnderAnotherNameIsRefusedWithoutAQuestion) {
    ImportFixture fixture("INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');", "");
    const std::string link = std::filesystem::path(fixture.source.path()).parent_path().string() + "/atalho.fdb";
    std::filesystem::create_symlink(fixture.source.path(), link);
    fixture.window.destino = link;
    fixture.window.ticked = {CheckBox::Vendedores};

    fixture.importRun();

    EXPECT_EQ(fixture.window.boxes,
              std::vector<std::string>{"warning: Origem e destino são o mesmo banco de dados:\r\n" +
                                       fixture.source.path() + "\r\nNada foi apagado nem importado."});
    EXPECT_FALSE(fixture.window.importando);
    EXPECT_EQ(fixture.sourceRows("SELECT ID, NOME FROM VENDEDOR"), (Rows{{"1", "Ana"}}));
}

TEST(RunAdmission, DestinationThatAnotherRunImportsIntoIsRefusedUntilThatRunEnds) {
    ImportFixture fixture("INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');",
                          "INSERT INTO VENDEDOR (VEN_CODIGO, VEN_NOME) VALUES (9, 'Antigo');");
    fixture.window.ticked = {CheckBox::Vendedores};
    const std::string name = serverName(fixture.destination);
    {
        // Another run holds the destination.
        const platform::DestinationLock otherRun(name);
        ASSERT_TRUE(otherRun.held());
        fixture.importRun();
        EXPECT_EQ(
            fixture.window.boxes,
            std::vector<std::string>{"warning: Outra importação está gravando neste banco de destino:\r\n" + name +
                                     "\r\nNada foi apagado nem importado. Tente de novo quando ela terminar."});
        EXPECT_EQ(fixture.destinationRows("SELECT VEN_CODIGO, VEN_NOME FROM VENDEDOR"), (Rows{{"9", "Antigo"}}));
    }
    // Once it has ended, the run goes ahead, and holds the destination while it runs.
    fixture.window.boxes.clear();
    bool heldDuringRun = false;
    fixture.window.onProcessMessages = [&] { heldDuringRun = !platform::DestinationLock(name).held(); };
    fixture.importRun();
    EXPECT_EQ(fixture.window.boxes,
              (std::vector<std::string>{kConfirm, "information: Importação finalizada com sucesso"}));
    EXPECT_TRUE(heldDuringRun);
    EXPECT_TRUE(platform::DestinationLock(name).held());
    EXPECT_EQ(fixture.destinationRows("SELECT VEN_CODIGO, VEN_NOME FROM VENDEDOR"), (Rows{{"1", "Ana"}}));
}

// Two runs from one program folder would write the same logs: while one runs, another run,
// preview or comparison from that folder is refused before it attaches anything, whatever its
// databases; once it has ended, the next goes ahead.
TEST(RunAdmission, ASecondRunFromTheSameProgramFolderIsRefusedWhileTheFirstRuns) {
    ImportFixture first("INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');", "");
    first.window.ticked = {CheckBox::Vendedores};
    ImportFixture other("INSERT INTO VENDEDOR (ID, NOME) VALUES (2, 'Bia');",
                        "INSERT INTO VENDEDOR (VEN_CODIGO, VEN_NOME) VALUES (9, 'Antigo');");
    const engine::RunRequest secondRun{other.source.path(), other.destination.path(),
                                       [](CheckBox box) { return box == CheckBox::Vendedores; },
                                       engine::RunMode::Default, false};
    const engine::RunRequest secondPreview{secondRun.origem, secondRun.destino, secondRun.tables,
                                           engine::RunMode::Preview, false};
    test_support::ScriptedWindow second;
    std::vector<engine::RunEnd> ends;
    engine::VerificationReport comparison;
    first.window.onProcessMessages = [&] {
        if (!ends.empty()) return;
        for (const engine::RunRequest* request : {&secondRun, &secondPreview}) {
            engine::ImportSession session(first.programFolder);
            ends.push_back(engine::runImport(session, *request, second, second).end);
        }
        engine::ServerLogin login;
        comparison = engine::verifyDestination(first.programFolder, login,
                                               {secondRun.origem, secondRun.destino, secondRun.tables}, second, second);
    };
    first.importRun();

    EXPECT_EQ(ends, (std::vector<engine::RunEnd>{engine::RunEnd::NotStarted, engine::RunEnd::NotStarted}));
    EXPECT_FALSE(comparison.started);
    const std::string refusal =
        "warning: Outra importação, simulação ou conferência deste programa está em andamento "
        "e usa os logs da pasta\r\n" +
        first.programFolder + "\r\nEspere ela terminar. Nada foi apagado nem importado.";
    EXPECT_EQ(second.boxes, std::vector<std::string>(3, refusal));
    EXPECT_EQ(other.destinationRows("SELECT VEN_CODIGO, VEN_NOME FROM VENDEDOR"), (Rows{{"9", "Antigo"}}));
    EXPECT_EQ(first.destinationRows("SELECT VEN_CODIGO, VEN_NOME FROM VENDEDOR"), (Rows{{"1", "Ana"}}));

    // The first has ended: the folder is free again.
    second.boxes.clear();
    engine::ImportSession session(first.programFolder);
    EXPECT_EQ(engine::runImport(session, secondRun, second, second).end, engine::RunEnd::Finished)
        << testing::PrintToString(second.boxes);
    EXPECT_EQ(other.destinationRows("SELECT VEN_CODIGO, VEN_NOME FROM VENDEDOR"), (Rows{{"2", "Bia"}}));
}

}  // namespace
