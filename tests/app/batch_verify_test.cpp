// The batch program's --conferir after runs on databases of the test's own: its summary on
// standard output, conferencia.csv in the program folder and its exit status.
#include <gtest/gtest.h>

#include "batch_program.h"
#include "database_identity.h"
#include "import_fixture.h"
#include "run_lock.h"
#include "statement.h"
#include "test_connection.h"

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
             "  ausente    chave 16: Trying to store a string of length 51 into a field that can only contain 50\n",
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

}  // namespace
