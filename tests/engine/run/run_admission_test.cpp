// The checks an import run makes, with both databases connected, before it asks or empties
// anything: through the window's Import command.
#include <gtest/gtest.h>

#include <filesystem>

#include "database_identity.h"
#include "import_fixture.h"
#include "import_run.h"
#include "run_lock.h"
#include "test_connection.h"

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

}  // namespace
