// The batch program run as a user runs it, against the local server.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch_program.h"
#include "batch_summary_lines.h"
#include "connection_setup.h"
#include "import_fixture.h"
#include "import_run.h"

namespace {

using engine::CheckBox;
using test_support::BatchProgram;
using test_support::BatchResult;
using test_support::ImportFixture;
using test_support::readFile;
using test_support::schemaFile;
using test_support::SummaryLine;
using test_support::summaryLines;
using test_support::TestDatabase;

const std::string kQuestion =
    "C O N F I R M A Ç Ã O: Atenção os registros das tabelas marcadas serão apagadas e importadas: \n"
    "Confirma ? (s/n) ";
const std::string kAllTables = "clientes,fornecedores,produtos,vendedores";

long long destinationCount(const TestDatabase& database, const std::string& table) {
    return std::stoll(test_support::queryRows(database, "SELECT COUNT(*) FROM " + table).at(0).at(0));
}

// A box of the scripted window as the batch program writes it.
std::string asWritten(const std::string& box) {
    const std::vector<std::pair<std::string, std::string>> captions = {{"warning: ", "A T E N Ç Ã O: "},
                                                                       {"information: ", "A V I S O: "},
                                                                       {"plain: ", "Importação do Tavlo para Merak: "}};
    std::string text = box;
    for (const auto& [kind, caption] : captions)
        if (text.rfind(kind, 0) == 0) text = caption + text.substr(kind.size());
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
    return text + "\n";
}

const std::string kCleanSource =
    "INSERT INTO CLIENTE (CODIGO, NOME, CIDADE) VALUES (1, 'João da Silva', 'São Paulo');\n"
    "INSERT INTO CLIENTE (CODIGO, NOME, CIDADE) VALUES (2, 'Padaria Pão de Açúcar', 'Curitiba');\n"
    "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (3, 'Maria José');\n"
    "INSERT INTO FORNECEDOR (CODIGO, NOME) VALUES (1, 'Laticínios Serra Azul');\n"
    "INSERT INTO FORNECEDOR (CODIGO, NOME) VALUES (2, 'Bebidas Guará');\n"
    "INSERT INTO GRUPOS (ID, DESCRICAO) VALUES (1, 'Bebidas');\n"
    "INSERT INTO GRUPOS (ID, DESCRICAO) VALUES (2, 'Frios');\n"
    "INSERT INTO ESTOQUE (CODIGO, DESCRICAO, ID_GRUPO) VALUES (10, 'Suco de caju', 1);\n"
    "INSERT INTO ESTOQUE (CODIGO, DESCRICAO, ID_GRUPO) VALUES (11, 'Queijo minas', 2);\n"
    "INSERT INTO ESTOQUE (CODIGO, DESCRICAO, ID_GRUPO) VALUES (12, 'Presunto', 2);\n"
    "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n"
    "INSERT INTO VENDEDOR (ID, NOME) VALUES (2, 'Zé');\n";

TEST(BatchRun, CleanRunFromTheSettingsExitsZeroWithEveryRowInTheDestination) {
    const TestDatabase source(schemaFile("tavlo-schema.sql") + "\n" + kCleanSource);
    const TestDatabase destination(schemaFile("merak-schema.sql") + "\n" + schemaFile("merak-sample-data.sql"));
    const BatchProgram program;
    program.writeSettings(source.path(), destination.path());

    const BatchResult result = program.run({"--tabelas", "vendedores,produtos,fornecedores,clientes", "--sim"});

    EXPECT_EQ(result.status, 0) << result.err;
    const std::vector<std::pair<std::string, long long>> expected = {
        {"CLIENTES", 3}, {"FORNECEDORES", 2}, {"GRUPO", 2}, {"PRODUTOS", 3}, {"VENDEDOR", 2}, {"Total", 12}};
    const std::vector<SummaryLine> summary = summaryLines(result.out);
    ASSERT_EQ(summary.size(), expected.size()) << result.out;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& [table, rows] = expected[i];
        SCOPED_TRACE(table);
        EXPECT_EQ(summary[i].table, table);
        EXPECT_EQ(summary[i].read, rows);
        EXPECT_EQ(summary[i].refused, 0);
        EXPECT_EQ(summary[i].found, std::to_string(rows));
        EXPECT_EQ(summary[i].notes, "");
        if (table != "Total") {
            EXPECT_EQ(destinationCount(destination, table), rows);
        }
    }
    EXPECT_EQ(result.err.rfind(kQuestion + "s\nCLIENTES: lidos 3, recusados 0, ", 0), 0u) << result.err;
    for (const char* line : {"\nFORNECEDORES: lidos 2, recusados 0, ", "\nGRUPO: lidos 2, recusados 0, ",
                             "\nPRODUTOS: lidos 3, recusados 0, ", "\nVENDEDOR: lidos 2, recusados 0, "})
        EXPECT_NE(result.err.find(line), std::string::npos) << line;
    const std::string end = "\nA V I S O: Importação finalizada com sucesso\n";
    EXPECT_EQ(result.err.substr(result.err.size() - std::min(result.err.size(), end.size())), end);
    EXPECT_FALSE(std::filesystem::exists(program.folder() + "quorel.log"));
    EXPECT_FALSE(std::filesystem::exists(program.folder() + "quorel2.log"));
}

TEST(BatchRun, RefusedRowsExitOneWithTheWindowsLogsAndMessagesAndCountsThatReconcile) {
    // The window's run first, through the scripted window, on the same two databases.
    ImportFixture window(schemaFile("tavlo-sample-data.sql"), schemaFile("merak-sample-data.sql"));
    window.window.ticked = {CheckBox::Clientes, CheckBox::Fornec, CheckBox::Produtos, CheckBox::Vendedores};
    window.importRun();
    const std::string windowErrors = readFile(window.programFolder + "quorel.log");
    const std::string windowDuplicates = readFile(window.programFolder + "quorel2.log");
    ASSERT_FALSE(windowErrors.empty());
    ASSERT_FALSE(windowDuplicates.empty());

    const BatchProgram program;
    const BatchResult result = program.run(
        {"--origem", window.source.path(), "--destino", window.destination.path(), "--tabelas", kAllTables}, "s\n");

    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_EQ(readFile(program.folder() + "quorel.log"), windowErrors);
    EXPECT_EQ(readFile(program.folder() + "quorel2.log"), windowDuplicates);

    const std::vector<engine::TableOutcome>& outcomes = window.report.tables;
    const std::vector<SummaryLine> summary = summaryLines(result.out);
    ASSERT_EQ(summary.size(), outcomes.size() + 1) << result.out;
    long long refused = 0;
    for (std::size_t i = 0; i < summary.size(); ++i) {
        const SummaryLine& line = summary[i];
        SCOPED_TRACE(line.table);
        if (i < outcomes.size()) {
            EXPECT_EQ(line.table, outcomes[i].destinationTable);
            EXPECT_EQ(line.read, outcomes[i].rowsRead);
            EXPECT_EQ(line.refused, outcomes[i].rowsRefused);
            EXPECT_EQ(line.found, std::to_string(destinationCount(window.destination, line.table)));
            refused += line.refused;
        }
        EXPECT_EQ(std::to_string(line.read - line.refused), line.found);
        EXPECT_EQ(line.notes, "");
    }
    EXPECT_EQ(summary.back().refused, refused);
    EXPECT_GT(refused, 0);

    // Every box the window showed, in its order; the log questions are not written.
    EXPECT_EQ(result.err.rfind(kQuestion + "s\n", 0), 0u) << result.err;
    std::size_t from = 0;
    for (const std::string& box : window.window.boxes) {
        if (box.rfind("confirm: ", 0) == 0) continue;
        const std::size_t at = result.err.find(asWritten(box), from);
        EXPECT_NE(at, std::string::npos) << asWritten(box) << "\nin\n" << result.err;
        if (at != std::string::npos) from = at;
    }
    EXPECT_EQ(result.err.find("Deseja visualiazar"), std::string::npos);
}

TEST(BatchRun, RunThatCannotStartExitsTwoWithTheWindowsMessageAndTouchesNothing) {
    const TestDatabase source(schemaFile("tavlo-schema.sql") + "\n" + kCleanSource);
    const TestDatabase destination(schemaFile("merak-schema.sql") + "\n" + schemaFile("merak-sample-data.sql"));
    const long long clientsBefore = destinationCount(destination, "CLIENTES");
    const BatchProgram program;
    const std::string missing = std::filesystem::path(source.path()).parent_path().string() + "/nao-existe.fdb";

    // The window's own text for a source the server cannot open.
    test_support::ScriptedWindow scripted;
    scripted.origem = missing;
    scripted.destino = destination.path();
    {
        engine::ImportSession session(program.folder());
        EXPECT_FALSE(engine::Connectar(session, scripted.origem, scripted.destino, scripted, false));
    }
    ASSERT_EQ(scripted.boxes.size(), 1u);
    const std::string serverFailure = asWritten(scripted.boxes[0]);
    EXPECT_EQ(serverFailure.rfind("A T E N Ç Ã O: Falha na função: \"Connectar\"\nFalha: ", 0), 0u) << serverFailure;

    struct Case {
        std::string name;
        std::vector<std::string> arguments;
        std::string err;  // the whole of standard error
    };
    const std::vector<Case> cases = {
        {"empty destination",
         {"--origem", source.path(), "--destino", "", "--tabelas", "clientes", "--sim"},
         "A T E N Ç Ã O: Selecione o banco de dados de destino!\n"},
        {"no path given and no settings file",
         {"--tabelas", "clientes", "--sim"},
         "A T E N Ç Ã O: Selecione o banco de dados de origem!\n"},
        {"missing source",
         {"--origem", missing, "--destino", destination.path(), "--tabelas", "clientes", "--sim"},
         serverFailure},
        {"unknown option",
         {"--origem", source.path(), "--destino", destination.path(), "--tabelas", "clientes", "--depressa"},
         "tavlo-merak-batch: opção desconhecida: --depressa\nUse tavlo-merak-batch --help para ver as opções.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BatchResult result = program.run(c.arguments, "s\n");
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, c.err);
        EXPECT_EQ(destinationCount(destination, "CLIENTES"), clientsBefore);
    }
}

TEST(BatchRun, AnswerOtherThanYesEmptiesNothing) {
    const TestDatabase source(schemaFile("tavlo-schema.sql") + "\n" +
                              "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n"
                              "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Bia');\n");
    const TestDatabase destination(schemaFile("merak-schema.sql") + "\n" +
                                   "INSERT INTO VENDEDOR (VEN_CODIGO, VEN_NOME) VALUES (9, 'Antigo');\n");
    const BatchProgram program;
    // Each input and how the question line ends: an answer read from a file is echoed.
    const std::vector<std::pair<std::string, std::string>> answers = {
        {"n\n", "n\n"}, {"", "\n"}, {"talvez\n", "talvez\n"}};
    for (const auto& [input, echoed] : answers) {
        SCOPED_TRACE(input);
        const BatchResult result =
            program.run({"--origem", source.path(), "--destino", destination.path(), "--tabelas", "vendedores"}, input);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, kQuestion + echoed);
        EXPECT_EQ(test_support::queryRows(destination, "SELECT VEN_CODIGO, VEN_NOME FROM VENDEDOR"),
                  (ImportFixture::Rows{{"9", "Antigo"}}));
        EXPECT_FALSE(std::filesystem::exists(program.folder() + "quorel.log"));
    }
    // The same run answered Yes goes ahead.
    const BatchResult yes =
        program.run({"--origem", source.path(), "--destino", destination.path(), "--tabelas", "vendedores"}, " Sim \n");
    EXPECT_EQ(yes.status, 1) << yes.err;
    EXPECT_EQ(test_support::queryRows(destination, "SELECT VEN_CODIGO, VEN_NOME FROM VENDEDOR"),
              (ImportFixture::Rows{{"1", "Ana"}}));
}

TEST(BatchRun, TableFailureAndRowsMissingFromTheDestinationAreNamedOnTheirLines) {
    const TestDatabase source(schemaFile("tavlo-schema.sql") + "\n" +
                              "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (1, 'Ana');\n"
                              "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n"
                              "INSERT INTO VENDEDOR (ID, NOME) VALUES (2, 'Bia');\n"
                              "INSERT INTO VENDEDOR (ID, NOME) VALUES (3, 'Caio');\n");
    // No CLIENTES table, and a trigger that takes seller 2 away again once it is written:
    // only a count in the destination can see that.
    const TestDatabase destination(schemaFile("merak-schema.sql") + "\n" +
                                   "DROP TABLE CLIENTES;\n"
                                   "SET TERM ^ ;\n"
                                   "CREATE TRIGGER VENDEDOR_SOME FOR VENDEDOR AFTER INSERT AS\n"
                                   "BEGIN\n"
                                   "  IF (NEW.VEN_CODIGO = 2) THEN DELETE FROM VENDEDOR WHERE VEN_CODIGO = 2;\n"
                                   "END^\n"
                                   "SET TERM ; ^\n");
    const BatchProgram program;

    const BatchResult result = program.run(
        {"--origem", source.path(), "--destino", destination.path(), "--tabelas", "vendedores,clientes", "--sim"});

    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_NE(result.err.find("Importação do Tavlo para Merak: Falha na importação da tabela de Clientes, Falha: \n"),
              std::string::npos)
        << result.err;
    const std::vector<SummaryLine> summary = summaryLines(result.out);
    ASSERT_EQ(summary.size(), 3u) << result.out;
    EXPECT_EQ(summary[0].table, "CLIENTES");
    EXPECT_EQ(summary[0].found, "?");
    EXPECT_EQ(summary[0].notes.find("  INTERROMPIDA pela falha da tabela  NÃO CONTADA: "), 0u) << summary[0].notes;
    EXPECT_EQ(summary[1].table, "VENDEDOR");
    EXPECT_EQ(summary[1].read, 3);
    EXPECT_EQ(summary[1].refused, 0);
    EXPECT_EQ(summary[1].found, "2");
    EXPECT_EQ(summary[1].notes, "  DIFERENÇA: 3 lidos, mas 2 no destino + 0 recusados");
    EXPECT_EQ(summary[2].table, "Total");
    EXPECT_EQ(summary[2].found, "?");
}

TEST(BatchRun, AnyLogEntryMakesTheExitStatusOneEvenWithNoRowRefused) {
    // Without a CIDADE table every city lookup fails and is logged; the client is written.
    const TestDatabase source(schemaFile("tavlo-schema.sql") + "\n" +
                              "INSERT INTO CLIENTE (CODIGO, NOME, CIDADE) VALUES (1, 'Ana', 'Curitiba');\n");
    const TestDatabase destination(schemaFile("merak-schema.sql") + "\nDROP TABLE CIDADE;\n");
    const BatchProgram program;

    const BatchResult result =
        program.run({"--origem", source.path(), "--destino", destination.path(), "--tabelas", "clientes", "--sim"});

    EXPECT_EQ(result.status, 1) << result.err;
    const std::vector<SummaryLine> summary = summaryLines(result.out);
    ASSERT_EQ(summary.size(), 2u) << result.out;
    EXPECT_EQ(summary[0].refused, 0);
    EXPECT_EQ(summary[0].found, "1");
    EXPECT_EQ(readFile(program.folder() + "quorel.log")
                  .rfind("Erro no retorno do C\xD3"
                         "DIGO DE CIDADE",
                         0),
              0u);
    EXPECT_NE(result.err.find("A T E N Ç Ã O: Importação finalizada com erros\n"), std::string::npos);
}

TEST(BatchRun, PreviewChangesNothingWritesOnlyItsOwnLogsAndShowsWhatWouldBe) {
    const TestDatabase source(schemaFile("tavlo-schema.sql") + "\n" +
                              "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n"
                              "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Bia');\n"
                              "INSERT INTO VENDEDOR (ID, NOME) VALUES (2, 'Caio');\n");
    const TestDatabase destination(schemaFile("merak-schema.sql") + "\n" +
                                   "INSERT INTO VENDEDOR (VEN_CODIGO, VEN_NOME) VALUES (9, 'Antigo');\n");
    const BatchProgram program;
    std::ofstream(program.folder() + "quorel.log") << "an earlier run's log";
    std::ofstream(program.folder() + "quorel-simulacao.log") << "an earlier preview's log, longer than this one's";
    const std::vector<std::string> arguments = {"--origem",  source.path(), "--destino", destination.path(),
                                                "--tabelas", "vendedores",  "--simular"};

    const BatchResult refusing = program.run(arguments);

    EXPECT_EQ(refusing.status, 1) << refusing.err;
    EXPECT_EQ(refusing.err.find("C O N F I R M A"), std::string::npos) << refusing.err;
    const std::vector<SummaryLine> summary = summaryLines(refusing.out);
    ASSERT_EQ(summary.size(), 2u) << refusing.out;
    EXPECT_EQ(summary[0].before, "1");
    EXPECT_EQ(summary[0].read, 3);
    EXPECT_EQ(summary[0].refused, 1);
    EXPECT_EQ(summary[0].found, "2");
    EXPECT_NE(refusing.out.find(" Ficaria "), std::string::npos) << refusing.out;
    EXPECT_EQ(test_support::queryRows(destination, "SELECT VEN_CODIGO, VEN_NOME FROM VENDEDOR"),
              (ImportFixture::Rows{{"9", "Antigo"}}));
    EXPECT_EQ(readFile(program.folder() + "quorel.log"), "an earlier run's log");
    EXPECT_EQ(readFile(program.folder() + "quorel-simulacao.log")
                  .rfind("Erro na importa\xE7\xE3o de VENDEDOR no Registro 1\r\n", 0),
              0u);

    // A preview with nothing to refuse exits 0 and leaves no preview log behind.
    source.run("DELETE FROM VENDEDOR WHERE NOME = 'Bia';");
    const BatchResult clean = program.run(arguments);
    EXPECT_EQ(clean.status, 0) << clean.err;
    EXPECT_FALSE(std::filesystem::exists(program.folder() + "quorel-simulacao.log"));
    EXPECT_EQ(test_support::queryRows(destination, "SELECT VEN_CODIGO, VEN_NOME FROM VENDEDOR"),
              (ImportFixture::Rows{{"9", "Antigo"}}));
}

}  // namespace
