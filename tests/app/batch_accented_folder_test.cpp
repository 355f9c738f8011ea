// The batch program on a source and a destination in the desktop folder of a Portuguese-
// language Linux desktop, "Área de Trabalho", named on its command line and in its settings.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "accented_folder.h"
#include "codepage.h"
#include "import_fixture.h"

namespace {

using test_support::readFile;
using test_support::schemaFile;
using test_support::TestDatabase;

const std::string kSource =
    "INSERT INTO CLIENTE (CODIGO, NOME, CIDADE) VALUES (1, 'João da Silva', 'São Paulo');\n"
    "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (2, 'Maria José');\n"
    "INSERT INTO FORNECEDOR (CODIGO, NOME) VALUES (1, 'Laticínios Serra Azul');\n"
    "INSERT INTO GRUPOS (ID, DESCRICAO) VALUES (1, 'Bebidas');\n"
    "INSERT INTO ESTOQUE (CODIGO, DESCRICAO, ID_GRUPO) VALUES (10, 'Suco de caju', 1);\n"
    "INSERT INTO ESTOQUE (CODIGO, DESCRICAO, ID_GRUPO) VALUES (11, 'Água de coco', 1);\n"
    "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n";

std::string quotedForShell(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

long long rowCount(const TestDatabase& database, const std::string& table) {
    return std::stoll(test_support::queryRows(database, "SELECT COUNT(*) FROM " + table).at(0).at(0));
}

TEST(BatchAccentedFolder, FullRunFromTheCommandLineAndFromTheSettings) {
    const test_support::AccentedFolder folder;
    // The program itself lies in the accented folder too, where it writes its settings and logs.
    const std::filesystem::path program = std::filesystem::path(folder.path()) / "tavlo-merak-batch";
    std::filesystem::copy_file(BATCH_PROGRAM, program);
    for (const bool fromSettings : {false, true}) {
        SCOPED_TRACE(fromSettings ? "settings" : "command line");
        const TestDatabase source(schemaFile("tavlo-schema.sql") + "\n" + kSource);
        const TestDatabase destination(schemaFile("merak-schema.sql") + "\n" + schemaFile("merak-sample-data.sql"));
        const std::string origem = folder.add(source, fromSettings ? "tavlo 2.fdb" : "tavlo.fdb");
        const std::string destino = folder.add(destination, fromSettings ? "merak 2.fdb" : "merak.fdb");
        std::string command =
            quotedForShell(program.string()) + " --tabelas clientes,fornecedores,produtos,vendedores --sim";
        if (fromSettings) {
            // The settings file is kept in the code page, as the window writes it.
            std::ofstream(program.parent_path() / "Config.ini", std::ios::binary)
                << db::toCodePage("[Bancos]\r\nOrigem=" + origem + "\r\nDestino=" + destino + "\r\n");
        } else {
            command += " --origem " + quotedForShell(origem) + " --destino " + quotedForShell(destino);
        }
        const std::string err = (program.parent_path() / "erros").string();
        const int status = std::system((command + " </dev/null >/dev/null 2>" + quotedForShell(err)).c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << readFile(err);
        EXPECT_NE(readFile(err).find("Importação finalizada com sucesso"), std::string::npos) << readFile(err);
        for (const auto& [table, rows] : std::vector<std::pair<std::string, long long>>{
                 {"CLIENTES", 2}, {"FORNECEDORES", 1}, {"GRUPO", 1}, {"PRODUTOS", 2}, {"VENDEDOR", 1}})
            EXPECT_EQ(rowCount(destination, table), rows) << table;
    }
}

}  // namespace
