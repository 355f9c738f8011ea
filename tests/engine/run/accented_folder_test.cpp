// Both databases in the desktop folder of a Portuguese-language Linux desktop, "Área de
// Trabalho": connecting, a full run of every table and the e-mail script, from the window's
// file-name boxes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accented_folder.h"
#include "connection_setup.h"
#include "email_script.h"
#include "import_fixture.h"
#include "import_run.h"

namespace {

using engine::CheckBox;
using test_support::ImportFixture;
using Rows = ImportFixture::Rows;

// Every table has rows; product 13 costs the largest NUMERIC(15,4), which no decimal field
// can send, so its row alone is refused.
const std::string kSource =
    "INSERT INTO CLIENTE (CODIGO, NOME, CIDADE, EMAIL) VALUES (1, 'João da Silva', 'São Paulo', 'joao@ex.com');\n"
    "INSERT INTO CLIENTE (CODIGO, NOME, CIDADE) VALUES (2, 'Padaria Pão de Açúcar', 'Curitiba');\n"
    "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (3, 'Maria José');\n"
    "INSERT INTO FORNECEDOR (CODIGO, NOME) VALUES (1, 'Laticínios Serra Azul');\n"
    "INSERT INTO FORNECEDOR (CODIGO, NOME) VALUES (2, 'Bebidas Guará');\n"
    "INSERT INTO GRUPOS (ID, DESCRICAO) VALUES (1, 'Bebidas');\n"
    "INSERT INTO GRUPOS (ID, DESCRICAO) VALUES (2, 'Frios');\n"
    "INSERT INTO ESTOQUE (CODIGO, DESCRICAO, ID_GRUPO, PRECO_CUSTO) VALUES (10, 'Suco de caju', 1, 2.5);\n"
    "INSERT INTO ESTOQUE (CODIGO, DESCRICAO, ID_GRUPO, PRECO_CUSTO) VALUES (13, 'Extremo', 1, 922337203685477.5807);\n"
    "INSERT INTO ESTOQUE (CODIGO, DESCRICAO, ID_GRUPO, PRECO_CUSTO) VALUES (11, 'Queijo minas', 2, 0.007);\n"
    "INSERT INTO ESTOQUE (CODIGO, DESCRICAO, ID_GRUPO) VALUES (12, 'Presunto', 2);\n"
    "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n"
    "INSERT INTO VENDEDOR (ID, NOME) VALUES (2, 'Zé');\n";

class AccentedFolder : public testing::Test {
protected:
    AccentedFolder() {
        fixture.window.origem = folder.add(fixture.source, "tavlo.fdb");
        fixture.window.destino = folder.add(fixture.destination, "merak.fdb");
    }

    ImportFixture fixture{kSource, test_support::schemaFile("merak-sample-data.sql")};
    test_support::AccentedFolder folder;
};

TEST_F(AccentedFolder, ConnectingAnnouncesBothDatabasesConnected) {
    ASSERT_NE(fixture.window.destino.find("/Área de Trabalho/merak.fdb"), std::string::npos);
    EXPECT_TRUE(fixture.connectar(true));
    EXPECT_EQ(fixture.window.boxes,
              std::vector<std::string>{"warning: Base de dados Origem e Destino conectados com sucesso"});
}

TEST_F(AccentedFolder, FullRunImportsEveryTableAndRefusesOnlyTheProductThatCannotBeSent) {
    fixture.window.ticked = {CheckBox::Clientes, CheckBox::Fornec, CheckBox::Produtos, CheckBox::Vendedores};
    fixture.importRun();

    // Only the refused product's log entry and its question; no table ended early.
    EXPECT_EQ(fixture.window.eventsStartingWith("plain: "), std::vector<std::string>{});
    for (const auto& [table, rows] : std::vector<std::pair<std::string, std::string>>{
             {"CLIENTES", "3"}, {"FORNECEDORES", "2"}, {"GRUPO", "2"}, {"PRODUTOS", "3"}, {"VENDEDOR", "2"}})
        EXPECT_EQ(fixture.destinationRows("SELECT COUNT(*) FROM " + table), (Rows{{rows}})) << table;
    EXPECT_EQ(fixture.destinationRows("SELECT CODIGO, PRECOCUSTO FROM PRODUTOS ORDER BY CODIGO"),
              (Rows{{"10", "2,5"}, {"11", "0,01"}, {"12", "0"}}));
    EXPECT_EQ(test_support::nextSequenceValue(fixture.destination, "CODIGO_PRODUTO"), 13);
    // The error log, in the code page, holds that row alone.
    EXPECT_EQ(test_support::readFile(fixture.programFolder + "quorel.log"),
              "Erro na importa\xE7\xE3o de PRODUTO no Registro 13\r\nIBDS_Produtos: Field 'PRECOCUSTO' cannot hold "
              "922337203685478\r\r\n");
}

TEST_F(AccentedFolder, EmailScriptReadsTheSourceAfterConnecting) {
    ASSERT_TRUE(fixture.connectar(false));
    std::vector<std::string> lines;
    engine::readEmailScript(fixture.session.IBQueryOrigem, [&](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "UPDATE CLIENTE SET CLIENTE.CLI_EMAIL='joao@ex.com' WHERE CLIENTE.CLI_CODIGO=1;",
                         "UPDATE CLIENTE SET CLIENTE.CLI_EMAIL='' WHERE CLIENTE.CLI_CODIGO=2;",
                         "UPDATE CLIENTE SET CLIENTE.CLI_EMAIL='' WHERE CLIENTE.CLI_CODIGO=3;"}));
}

}  // namespace
