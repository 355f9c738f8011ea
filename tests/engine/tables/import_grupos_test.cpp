#include <gtest/gtest.h>

#include "import_fixture.h"
#include "table_imports.h"

namespace {

using test_support::ImportFixture;
using Rows = ImportFixture::Rows;

std::string groups(const std::vector<std::pair<std::string, std::string>>& rows) {
    std::string script;
    for (const auto& [id, descricao] : rows)
        script += "INSERT INTO GRUPOS (ID, DESCRICAO) VALUES (" + id + ", " + descricao + ");\n";
    return script;
}

std::string duplicateEntry(int id) {
    return "Erro na importação de GRUPO no Registro " + std::to_string(id) +
           "\r\nviolation of PRIMARY or UNIQUE KEY constraint \"PK_GRUPO\" on table \"GRUPO\"\r\n"
           "Problematic key value is (\"ID_GRUPO\" = " +
           std::to_string(id) + ")\r\n";
}

TEST(ImportaGrupos, CopiesRowsLogsRefusedOnesAndRestartsFromTheLastHandled) {
    ImportFixture fixture(
        groups({{"1", "'Bebidas'"}, {"7", "'" + std::string(45, 'a') + "'"}, {"1", "'Bebidas de novo'"}, {"3", "''"}}),
        "INSERT INTO GRUPO (ID_GRUPO, NOME_GRUPO) VALUES (50, 'antigo');");
    fixture.connect();
    engine::ImportaGrupos(fixture.tables());

    EXPECT_EQ(fixture.destinationRows("SELECT ID_GRUPO, NOME_GRUPO, USA_MARGEM, MARGEM FROM GRUPO ORDER BY 1"),
              (Rows{{"1", "Bebidas", "N", "0"}, {"3", "<null>", "N", "0"}, {"7", std::string(30, 'a'), "N", "0"}}));
    EXPECT_EQ(fixture.tables().LogErros, std::vector<std::string>{duplicateEntry(1)});
    // Out of key order: the restart takes the last row handled, 3, not the highest, 7.
    EXPECT_EQ(test_support::nextSequenceValue(fixture.destination, "GEN_ID_GRUPO"), 4);
    EXPECT_TRUE(fixture.window.boxes.empty());
    // No window messages between group rows: only the one after the status text.
    EXPECT_EQ(fixture.window.messagesProcessed, 1);
}

TEST(ImportaGrupos, LastRowRefusedStillDrivesTheRestart) {
    ImportFixture fixture(groups({{"1", "'A'"}, {"9", "'B'"}, {"9", "'C'"}}), "");
    fixture.connect();
    engine::ImportaGrupos(fixture.tables());
    EXPECT_EQ(fixture.tables().LogErros, std::vector<std::string>{duplicateEntry(9)});
    EXPECT_EQ(test_support::nextSequenceValue(fixture.destination, "GEN_ID_GRUPO"), 10);
}

TEST(ImportaGrupos, EmptySourceEmptiesTheTableAndMakesNoRestart) {
    ImportFixture fixture("", "INSERT INTO GRUPO (ID_GRUPO) VALUES (5);\nSET GENERATOR GEN_ID_GRUPO TO 41;");
    fixture.connect();
    engine::ImportaGrupos(fixture.tables());
    EXPECT_TRUE(fixture.destinationRows("SELECT * FROM GRUPO").empty());
    EXPECT_EQ(test_support::nextSequenceValue(fixture.destination, "GEN_ID_GRUPO"), 42);
    EXPECT_TRUE(fixture.window.boxes.empty());
    EXPECT_TRUE(fixture.tables().LogErros.empty());
}

TEST(ImportaGrupos, RefusedDeleteGivesTheTableMessageAndWritesNothing) {
    ImportFixture fixture(groups({{"2", "'Novo'"}}),
                          "CREATE TABLE USA_GRUPO (ID INTEGER REFERENCES GRUPO (ID_GRUPO));\n"
                          "INSERT INTO GRUPO (ID_GRUPO, NOME_GRUPO) VALUES (1, 'Usado');\n"
                          "INSERT INTO USA_GRUPO VALUES (1);");
    fixture.connect();
    engine::ImportaGrupos(fixture.tables());
    ASSERT_EQ(fixture.window.boxes.size(), 1u);
    const std::string& box = fixture.window.boxes[0];
    EXPECT_EQ(box.rfind("plain: Falha na importação da tabela de Grupos , Falha: \r\n", 0), 0u) << box;
    EXPECT_NE(box.find("FOREIGN KEY"), std::string::npos) << box;
    fixture.session.IBDatabaseDestino.close();
    EXPECT_EQ(fixture.destinationRows("SELECT ID_GRUPO, NOME_GRUPO FROM GRUPO"), (Rows{{"1", "Usado"}}));
}

}  // namespace
