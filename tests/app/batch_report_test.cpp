// --relatorio: the run's report as a PDF, read back through pdftotext and pdfinfo.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "batch_program.h"
#include "batch_summary_lines.h"
#include "test_database.h"

namespace {

using test_support::BatchProgram;
using test_support::BatchResult;
using test_support::schemaFile;
using test_support::SummaryLine;
using test_support::summaryLines;
using test_support::TestDatabase;

const std::string kAllTables = "clientes,fornecedores,produtos,vendedores";

// What a command prints on its standard output.
std::string outputOf(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr) << command;
    if (pipe == nullptr) return output;
    char buffer[4096];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, read);
    EXPECT_EQ(::pclose(pipe), 0) << command;
    return output;
}

std::string pdfText(const std::string& path) { return outputOf("pdftotext -layout '" + path + "' -"); }

int pdfPages(const std::string& path) {
    std::smatch match;
    const std::string info = outputOf("pdfinfo '" + path + "'");
    return std::regex_search(info, match, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(match[1]) : -1;
}

// The report's line of a table: its name, then the rows before, read, refused and after.
void expectTableLine(const std::string& text, const SummaryLine& line) {
    const std::regex counts("(^|\\n)\\s*" + line.table + "\\s+" + line.before + "\\s+" + std::to_string(line.read) +
                            "\\s+" + std::to_string(line.refused) + "\\s+" + line.found + "\\s");
    EXPECT_TRUE(std::regex_search(text, counts)) << line.table << " in\n" << text;
}

TEST(BatchReport, ARunsReportHoldsEveryTablesCountsAndTheRefusedRowsByReason) {
    const TestDatabase source(schemaFile("tavlo-schema.sql") + "\n" + schemaFile("tavlo-sample-data.sql"));
    const TestDatabase destination(schemaFile("merak-schema.sql") + "\n" + schemaFile("merak-sample-data.sql"));
    const BatchProgram program;
    const std::string report = program.folder() + "relatório.pdf";
    const BatchResult result = program.run({"--origem", source.path(), "--destino", destination.path(), "--tabelas",
                                            kAllTables, "--sim", "--sem-copia", "--relatorio", report});
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_NE(result.out.find("Relatório: " + report), std::string::npos) << result.out;
    // Qt's own warnings stay off the terminal.
    EXPECT_EQ(result.err.find("QStandardPaths"), std::string::npos) << result.err;

    const std::string text = pdfText(report);
    EXPECT_EQ(text.find("Simulação"), std::string::npos);
    EXPECT_NE(text.find("Relatório da importação do Tavlo para o Merak"), std::string::npos) << text;
    EXPECT_NE(text.find(destination.path()), std::string::npos);
    EXPECT_NE(text.find("Cópia de segurança: nenhuma"), std::string::npos);
    // Each database's server, as the summary names it.
    const std::size_t server = result.out.find("Servidor do destino: Firebird ");
    ASSERT_NE(server, std::string::npos) << result.out;
    const std::string destinoServer = result.out.substr(server + 21, result.out.find('\n', server) - server - 21);
    EXPECT_NE(text.find("; destino " + destinoServer), std::string::npos) << destinoServer << "\n" << text;
    const std::vector<SummaryLine> summary = summaryLines(result.out);
    ASSERT_GT(summary.size(), 1u);
    long long refused = 0;
    for (std::size_t i = 0; i + 1 < summary.size(); ++i) {
        expectTableLine(text, summary[i]);
        refused += summary[i].refused;
    }
    ASSERT_GT(refused, 0);
    EXPECT_NE(text.find("Linhas recusadas: " + std::to_string(refused)), std::string::npos) << text;
    EXPECT_NE(text.find("CLIENTES: Texto longo demais para"), std::string::npos) << text;
    EXPECT_NE(text.find("Chaves: "), std::string::npos);
}

TEST(BatchReport, EachReasonCountsAllItsRefusedRowsAndTheLastLineNamesTheFileThatListsThemAll) {
    // More refused rows than the report lists, all for one reason.
    constexpr int kRefused = 205;
    std::string sellers = schemaFile("tavlo-schema.sql") + "\nINSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n";
    for (int id = 2; id < 2 + kRefused; ++id)
        sellers +=
            "INSERT INTO VENDEDOR (ID, NOME) VALUES (" + std::to_string(id) + ", '" + std::string(60, 'x') + "');\n";
    const TestDatabase source(sellers);
    const TestDatabase destination(schemaFile("merak-schema.sql"));
    const BatchProgram program;
    const std::string report = program.folder() + "relatorio.pdf";
    const BatchResult result = program.run({"--origem", source.path(), "--destino", destination.path(), "--tabelas",
                                            "vendedores", "--sim", "--sem-copia", "--relatorio", report});
    EXPECT_EQ(result.status, 1) << result.err;

    const std::string text = pdfText(report);
    EXPECT_NE(text.find("Linhas recusadas: " + std::to_string(kRefused)), std::string::npos) << text;
    EXPECT_NE(text.find("VENDEDOR: Texto longo demais para VEN_NOME (máximo 50) — " + std::to_string(kRefused)),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("E mais 5 linhas recusadas: veja o arquivo"), std::string::npos) << text;
    EXPECT_NE(text.find(program.folder() + "recusadas.csv"), std::string::npos) << text;
}

TEST(BatchReport, ASequenceLeftBehindItsTablesHighestKeyIsListedWithBothNumbers) {
    // The first product read gets the highest key: the run restarts the sequence after the last.
    const TestDatabase source(schemaFile("tavlo-schema.sql") + "\n" + schemaFile("tavlo-sample-data.sql") +
                              "\nUPDATE ESTOQUE SET CODIGO = 904 WHERE CODIGO = 1;");
    const TestDatabase destination(schemaFile("merak-schema.sql") + "\n" + schemaFile("merak-sample-data.sql"));
    const BatchProgram program;
    const std::string report = program.folder() + "relatorio.pdf";
    const BatchResult result = program.run({"--origem", source.path(), "--destino", destination.path(), "--tabelas",
                                            "produtos", "--sim", "--sem-copia", "--relatorio", report});
    EXPECT_EQ(result.status, 1) << result.err;
    const std::string text = pdfText(report);
    EXPECT_NE(text.find("Sequência atrasada: CODIGO_PRODUTO = 32, maior código em PRODUTOS: 904"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("Sequência atrasada: GEN_ID_GRUPO"), std::string::npos) << text;
}

TEST(BatchReport, APreviewSaysSoOnItsFirstLineAndACleanRunTakesOnePage) {
    const TestDatabase source(schemaFile("tavlo-schema.sql") + "\n" +
                              "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n"
                              "INSERT INTO VENDEDOR (ID, NOME) VALUES (2, 'Zé');\n");
    const TestDatabase destination(schemaFile("merak-schema.sql"));
    const BatchProgram program;
    const std::string report = program.folder() + "simulacao.pdf";
    const BatchResult result = program.run({"--origem", source.path(), "--destino", destination.path(), "--tabelas",
                                            "vendedores", "--simular", "--relatorio", report});
    EXPECT_EQ(result.status, 0) << result.err;
    const std::string text = pdfText(report);
    std::istringstream lines(text);
    std::string first;
    while (std::getline(lines, first) && first.find_first_not_of(" \f") == std::string::npos) {
    }
    EXPECT_NE(first.find("Simulação: nada foi gravado no destino."), std::string::npos) << text;
    expectTableLine(text, summaryLines(result.out).at(0));
    EXPECT_EQ(pdfPages(report), 1);
}

// A report path that would replace a database, a copy or a file already there, or that its
// folder cannot take, is refused before anything is attached or emptied.
TEST(BatchReport, APathThatWouldDestroyOrCannotTakeTheReportIsRefusedBeforeTheRun) {
    const TestDatabase source(schemaFile("tavlo-schema.sql") + "\n" + schemaFile("tavlo-sample-data.sql"));
    const TestDatabase destination(schemaFile("merak-schema.sql") + "\n" + schemaFile("merak-sample-data.sql"));
    const BatchProgram program;
    const std::string folder = program.folder();
    const std::string destinationBytes = test_support::readFile(destination.path());
    // Another name of the destination, a file that begins as a database, a server backup and
    // a copy's record.
    std::filesystem::create_symlink(destination.path(), folder + "ligacao.fdb");
    std::ofstream(folder + "copia-do-banco.fdb", std::ios::binary) << destinationBytes.substr(0, 4096);
    const std::string backup = std::filesystem::path(destination.path()).parent_path().string() + "/copia.fbk";
    ASSERT_EQ(std::system(("gbak -b -user SYSDBA -password pinewheel -se localhost:service_mgr '" + destination.path() +
                           "' '" + backup + "' >/dev/null 2>&1")
                              .c_str()),
              0);
    std::ofstream(folder + "merak.fdb-20261210-034923-517.fbk.txt") << "registro";
    std::ofstream(folder + "antigo.pdf") << "antigo";
    struct Case {
        std::string path;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {destination.path(), "É o arquivo do banco de dados " + destination.path() + "."},
        {source.path(), "É o arquivo do banco de dados " + source.path() + "."},
        {folder + "ligacao.fdb", "É o arquivo do banco de dados " + destination.path() + "."},
        {folder + "copia-do-banco.fdb", "O arquivo é um banco de dados do Firebird."},
        {backup, "O arquivo é uma cópia de segurança do Firebird."},
        {folder + "merak.fdb-20261210-034923-517.fbk.txt", "O arquivo é o registro de uma cópia de segurança."},
        {folder, "É uma pasta."},
        {folder + "nao-existe/r.pdf", "No such file or directory"},
    };
    auto clients = [&] {
        return test_support::runIsql("SET LIST ON;\nCONNECT '" + destination.connectionString() +
                                     "' USER 'SYSDBA' PASSWORD 'pinewheel';\nSELECT COUNT(*) FROM "
                                     "CLIENTES;\n");
    };
    const std::string clientsBefore = clients();
    const std::string backupBytes = test_support::readFile(backup);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const BatchResult refused =
            program.run({"--origem", source.path(), "--destino", destination.path(), "--tabelas", "clientes", "--sim",
                         "--sem-copia", "--relatorio", c.path});
        EXPECT_EQ(refused.status, 2);
        EXPECT_EQ(refused.out, "");
        EXPECT_NE(refused.err.find("A T E N Ç Ã O: O relatório não pode ser gravado em\n" + c.path + "\n" + c.reason),
                  std::string::npos)
            << refused.err;
    }
    EXPECT_EQ(clients(), clientsBefore);
    EXPECT_EQ(test_support::readFile(backup), backupBytes);

    // A file already there is replaced only with --sim.
    const BatchResult kept = program.run({"--origem", source.path(), "--destino", destination.path(), "--tabelas",
                                          "clientes", "--relatorio", folder + "antigo.pdf"});
    EXPECT_EQ(kept.status, 2);
    EXPECT_NE(kept.err.find("O relatório " + folder + "antigo.pdf já existe; --sim o substitui."), std::string::npos)
        << kept.err;
    EXPECT_EQ(kept.err.find("C O N F I R M A Ç Ã O"), std::string::npos) << kept.err;
    EXPECT_EQ(test_support::readFile(folder + "antigo.pdf"), "antigo");
    EXPECT_EQ(clients(), clientsBefore);
    const BatchResult replaced =
        program.run({"--origem", source.path(), "--destino", destination.path(), "--tabelas", "clientes", "--sim",
                     "--sem-copia", "--relatorio", folder + "antigo.pdf"});
    EXPECT_EQ(replaced.status, 1) << replaced.err;
    EXPECT_EQ(test_support::readFile(folder + "antigo.pdf").substr(0, 5), "%PDF-");
    EXPECT_NE(replaced.out.find("\nRelatório: " + folder + "antigo.pdf\n"), std::string::npos) << replaced.out;
}

TEST(BatchReport, TheBatchProgramLinksNoQtWidgets) {
    const std::string libraries = outputOf("ldd '" BATCH_PROGRAM "'");
    EXPECT_NE(libraries.find("libQt6Gui"), std::string::npos) << libraries;
    EXPECT_EQ(libraries.find("Widgets"), std::string::npos) << libraries;
}

}  // namespace
