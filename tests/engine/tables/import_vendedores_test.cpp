#include <gtest/gtest.h>

#include <cstdlib>

#include "import_fixture.h"
#include "import_run.h"
#include "table_imports.h"

namespace {

using test_support::ImportFixture;
using Rows = ImportFixture::Rows;

std::string sellers(const std::vector<std::pair<std::string, std::string>>& rows) {
    std::string script;
    for (const auto& [id, nome] : rows)
        script += "INSERT INTO VENDEDOR (ID, NOME) VALUES (" + id + ", " + nome + ");\n";
    return script;
}

TEST(ImportaVendedores, RefusedRowsAreLoggedAndTheRowsAfterThemWritten) {
    ImportFixture fixture(sellers({{"1", "'Ana'"},
                                   {"2", "'" + std::string(60, 'x') + "'"},
                                   {"1", "'Ana de novo'"},
                                   {"NULL", "NULL"},
                                   {"4", "'Zé'"}}),
                          "INSERT INTO VENDEDOR (VEN_CODIGO, VEN_NOME) VALUES (99, 'antigo');");
    fixture.connect();
    engine::ImportaVendedores(fixture.tables());

    EXPECT_EQ(fixture.destinationRows("SELECT VEN_CODIGO, VEN_NOME, SUP_CODIGO, VEN_EXPORTATABLET FROM VENDEDOR "
                                      "ORDER BY VEN_CODIGO"),
              (Rows{{"0", "", "1", "S"}, {"1", "Ana", "1", "S"}, {"4", "Zé", "1", "S"}}));
    ASSERT_EQ(fixture.tables().LogErros.size(), 2u);
    EXPECT_EQ(fixture.tables().LogErros[0],
              "Erro na importação de VENDEDOR no Registro 2\r\n"
              "Trying to store a string of length 60 into a field that can only contain 50\r\n");
    EXPECT_EQ(fixture.tables().LogErros[1],
              "Erro na importação de VENDEDOR no Registro 1\r\n"
              "violation of PRIMARY or UNIQUE KEY constraint \"PK_VENDEDOR\" on table \"VENDEDOR\"\r\n"
              "Problematic key value is (\"VEN_CODIGO\" = 1)\r\n");
    EXPECT_TRUE(fixture.window.boxes.empty());
    EXPECT_EQ(fixture.window.eventsStartingWith("status: "), std::vector<std::string>{"status: Importando Vendedores"});
    // Messages once after the status and once after each row.
    EXPECT_EQ(fixture.window.messagesProcessed, 6);
}

TEST(ImportaVendedores, MissingDestinationTableEndsTheTableWithItsMessage) {
    ImportFixture fixture(sellers({{"1", "'Ana'"}}), "DROP TABLE VENDEDOR;");
    fixture.connect();
    engine::ImportaVendedores(fixture.tables());
    ASSERT_EQ(fixture.window.boxes.size(), 1u);
    const std::string prefix = "plain: Falha na importação da tabela de Vendedores, Falha: \r\n";
    EXPECT_EQ(fixture.window.boxes[0].rfind(prefix, 0), 0u) << fixture.window.boxes[0];
    EXPECT_NE(fixture.window.boxes[0].find("Table unknown\r\nVENDEDOR"), std::string::npos) << fixture.window.boxes[0];
    EXPECT_TRUE(fixture.tables().LogErros.empty());
    ASSERT_EQ(fixture.tables().outcomes.size(), 1u);
    EXPECT_FALSE(fixture.tables().outcomes[0].completed);
}

TEST(ImportaVendedores, GaugeOfAFreshProgramHasMaximum100AndStopsThere) {
    for (int count : {40, 250}) {
        std::string script;
        for (int id = 1; id <= count; ++id)
            script += "INSERT INTO VENDEDOR (ID, NOME) VALUES (" + std::to_string(id) + ", 'V');\n";
        ImportFixture fixture(script, "");
        std::vector<int> positions;
        fixture.window.onProcessMessages = [&] { positions.push_back(fixture.window.gauge.position()); };
        fixture.connect();
        fixture.window.gauge.setPosition(0);
        engine::ImportaVendedores(fixture.tables());
        ASSERT_EQ(positions.size(), static_cast<std::size_t>(count) + 1);
        EXPECT_EQ(fixture.window.gauge.maximum(), 100);
        EXPECT_EQ(positions.back(), count < 100 ? count : 100);
        if (count > 100) {
            EXPECT_EQ(positions[100], 100);
            EXPECT_EQ(fixture.window.gauge.percent(), 100);
        } else {
            EXPECT_EQ(fixture.window.gauge.percent(), 40);
        }
    }
}

// Every row is committed before the next is read: with the destination taken down in the
// middle of the table, every row written before stays and the table ends there.
TEST(ImportaVendedores, DestinationTakenDownMidTableKeepsEveryRowWrittenBefore) {
    std::string script;
    for (int id = 1; id <= 20; ++id)
        script += "INSERT INTO VENDEDOR (ID, NOME) VALUES (" + std::to_string(id) + ", 'V');\n";
    ImportFixture fixture(script, "");
    const std::string gfix = "gfix -user SYSDBA -password pinewheel ";
    fixture.window.onProcessMessages = [&] {
        // The first call follows the status text; call 6 follows the fifth row.
        if (fixture.window.messagesProcessed == 6) {
            ASSERT_EQ(std::system((gfix + "-shut full -force 0 " + fixture.destination.connectionString()).c_str()), 0);
        }
    };
    fixture.connect();
    engine::ImportaVendedores(fixture.tables());
    ASSERT_EQ(std::system((gfix + "-online " + fixture.destination.connectionString()).c_str()), 0);

    const Rows written = fixture.destinationRows("SELECT VEN_CODIGO FROM VENDEDOR ORDER BY VEN_CODIGO");
    ASSERT_GE(written.size(), 5u);
    for (std::size_t i = 0; i < written.size(); ++i) EXPECT_EQ(written[i][0], std::to_string(i + 1));
    // The shut-down database is no row's refusal: the table ends with its own message instead
    // of one log entry per remaining row.
    EXPECT_TRUE(fixture.tables().LogErros.empty());
    ASSERT_EQ(fixture.window.boxes.size(), 1u);
    EXPECT_EQ(fixture.window.boxes[0].rfind("plain: Falha na importação da tabela de Vendedores, Falha: \r\n", 0), 0u);
}

}  // namespace
