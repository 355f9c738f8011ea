// Whole import runs in each mode on the sample databases, compared with each other and with
// the destination as it was before.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "connection_setup.h"
#include "import_fixture.h"
#include "import_run.h"
#include "table_imports.h"

namespace {

using engine::CheckBox;
using test_support::ImportFixture;
using test_support::queryRows;
using test_support::readFile;
using test_support::schemaFile;
using test_support::TestDatabase;
using Rows = ImportFixture::Rows;

// Every row of the five written tables and the value of every key sequence, by name.
using Snapshot = std::map<std::string, Rows>;

struct WrittenTable {
    const char* name;
    const char* key;
    const char* writtenAtRunTime;  // a column set to the moment of writing, or ""
};
constexpr WrittenTable kWrittenTables[] = {{"CLIENTES", "CODIGO", ""},
                                           {"FORNECEDORES", "CODIGO", "DTCADASTRO"},
                                           {"GRUPO", "ID_GRUPO", ""},
                                           {"PRODUTOS", "CODIGO", "DATAALTERACAO"},
                                           {"VENDEDOR", "VEN_CODIGO", ""}};

// withRunTimes false leaves out the columns that hold the moment a row was written, so that
// two runs can be compared.
Snapshot merakSnapshot(const TestDatabase& merak, bool withRunTimes = true) {
    Snapshot snapshot;
    for (const WrittenTable& table : kWrittenTables) {
        std::string columns;
        for (const auto& field :
             queryRows(merak,
                       std::string("SELECT TRIM(RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = '") +
                           table.name + "' ORDER BY RDB$FIELD_POSITION")) {
            if (!withRunTimes && field[0] == table.writtenAtRunTime) continue;
            columns += (columns.empty() ? "" : ", ") + field[0];
        }
        snapshot[table.name] = queryRows(merak, "SELECT " + columns + " FROM " + table.name + " ORDER BY " + table.key);
    }
    snapshot["sequences"] = queryRows(merak,
                                      "SELECT GEN_ID(GEN_CODCLI, 0), GEN_ID(GEN_CODFOR, 0), GEN_ID(GEN_ID_GRUPO, 0), "
                                      "GEN_ID(CODIGO_PRODUTO, 0) FROM RDB$DATABASE");
    return snapshot;
}

void runAllTables(ImportFixture& fixture, test_support::RunOptions options) {
    fixture.window.ticked = {CheckBox::Clientes, CheckBox::Fornec, CheckBox::Produtos, CheckBox::Vendedores};
    fixture.options = options;
    fixture.importRun();
}

test_support::RunOptions previewOptions() { return {.preview = true, .allOrNothing = false, .safetyCopy = false}; }
test_support::RunOptions allOrNothingOptions() { return {.preview = false, .allOrNothing = true, .safetyCopy = false}; }
// The default run without its safety copy, for comparisons with the modes that make none: the
// copy's own progress would stand among the events compared.
test_support::RunOptions defaultWithoutCopy() { return {.preview = false, .allOrNothing = false, .safetyCopy = false}; }

std::string logFile(const ImportFixture& fixture, const std::string& name) {
    const std::string path = fixture.programFolder + name;
    return std::filesystem::exists(path) ? readFile(path) : "<none>";
}

// The figures of a table's outcome that a preview foresees, as text for a readable failure.
std::vector<std::string> foreseen(const std::vector<engine::TableOutcome>& outcomes) {
    std::vector<std::string> lines;
    for (const engine::TableOutcome& outcome : outcomes)
        lines.push_back(
            outcome.destinationTable + " before " + std::to_string(outcome.rowsBefore.value_or(-1)) + " read " +
            std::to_string(outcome.rowsRead) + " refused " + std::to_string(outcome.rowsRefused) + " after " +
            std::to_string(outcome.rowsAfter.value_or(-1)) + " sequence " + outcome.sequenceName.value_or("-") + " " +
            std::to_string(outcome.sequenceValue.value_or(-1)) + (outcome.completed ? "" : " failed"));
    return lines;
}

// What the run showed through the window, with the fixture's own program folder left out.
std::vector<std::string> eventsOf(const ImportFixture& fixture) {
    std::vector<std::string> events = fixture.window.events;
    for (std::string& event : events)
        if (const auto at = event.find(fixture.programFolder); at != std::string::npos)
            event.replace(at, fixture.programFolder.size(), "<program folder>");
    return events;
}

std::vector<std::string> refusals(const engine::RunReport& report) {
    std::vector<std::string> lines;
    for (const engine::RefusedRow& row : report.refusedRows)
        lines.push_back(row.table + " " + row.key + ": " + row.reason);
    return lines;
}

TEST(RunModes, PreviewChangesNothingAndForeseesTheRunThatFollows) {
    ImportFixture fixture(schemaFile("tavlo-sample-data.sql"), schemaFile("merak-sample-data.sql"));
    const Snapshot before = merakSnapshot(fixture.destination);

    runAllTables(fixture, previewOptions());
    EXPECT_EQ(merakSnapshot(fixture.destination), before);
    EXPECT_TRUE(fixture.window.eventsStartingWith("confirm: Atenção").empty());
    EXPECT_FALSE(fixture.session.IBDatabaseDestino.isOpen());
    const std::vector<std::string> previewOutcomes = foreseen(fixture.report.tables);
    const std::vector<std::string> previewRefusals = refusals(fixture.report);
    EXPECT_FALSE(previewRefusals.empty());
    // Its end says it was a preview, never that an import finished.
    EXPECT_EQ(fixture.window.eventsStartingWith("warning: Simulação finalizada com recusas").size(), 1u);
    EXPECT_EQ(fixture.window.eventsStartingWith("status: Simulação finalizada com recusas").size(), 1u);
    EXPECT_TRUE(fixture.window.eventsStartingWith("warning: Importação finalizada").empty());
    // The preview's logs are its own files; the run's files are not touched.
    EXPECT_EQ(logFile(fixture, "quorel.log"), "<none>");
    EXPECT_EQ(logFile(fixture, "quorel2.log"), "<none>");
    const std::string previewErros = logFile(fixture, "quorel-simulacao.log");
    const std::string previewRepetidos = logFile(fixture, "quorel2-simulacao.log");

    runAllTables(fixture, {});
    EXPECT_EQ(logFile(fixture, "quorel.log"), previewErros);
    EXPECT_EQ(logFile(fixture, "quorel2.log"), previewRepetidos);
    EXPECT_NE(previewErros, "<none>");
    EXPECT_NE(previewRepetidos, "<none>");
    EXPECT_NE(merakSnapshot(fixture.destination), before);
    EXPECT_EQ(previewOutcomes, foreseen(fixture.report.tables));
    EXPECT_EQ(previewRefusals, refusals(fixture.report));
    // What the run reports as left in each table is what the destination holds.
    for (const engine::TableOutcome& outcome : fixture.report.tables)
        EXPECT_EQ(fixture.destinationRows("SELECT COUNT(*) FROM " + outcome.destinationTable),
                  (Rows{{std::to_string(outcome.rowsAfter.value_or(-1))}}))
            << outcome.destinationTable;
}

TEST(RunModes, AllOrNothingGivesTheRowsLogsAndSequencesOfTheDefaultRun) {
    ImportFixture byDefault(schemaFile("tavlo-sample-data.sql"), schemaFile("merak-sample-data.sql"));
    ImportFixture allOrNothing(schemaFile("tavlo-sample-data.sql"), schemaFile("merak-sample-data.sql"));
    runAllTables(byDefault, defaultWithoutCopy());
    runAllTables(allOrNothing, allOrNothingOptions());

    EXPECT_EQ(merakSnapshot(allOrNothing.destination, false), merakSnapshot(byDefault.destination, false));
    for (const char* log : {"quorel.log", "quorel2.log"}) {
        EXPECT_NE(logFile(byDefault, log), "<none>");
        EXPECT_EQ(logFile(allOrNothing, log), logFile(byDefault, log)) << log;
    }
    EXPECT_EQ(eventsOf(allOrNothing), eventsOf(byDefault));
    EXPECT_EQ(refusals(allOrNothing.report), refusals(byDefault.report));
}

// Three products, the third with a CEST code, and no CEST table: the product import fails on
// its third row, after two rows were written.
const std::string kCestMissing =
    "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (1, 'Ana');\n"
    "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (2, 'Bruno');\n"
    "INSERT INTO GRUPOS (ID, DESCRICAO) VALUES (5, 'Bebidas');\n"
    "INSERT INTO ESTOQUE (CODIGO, DESCRICAO, ID_GRUPO) VALUES (10, 'Água', 5);\n"
    "INSERT INTO ESTOQUE (CODIGO, DESCRICAO, ID_GRUPO) VALUES (11, 'Suco', 5);\n"
    "INSERT INTO ESTOQUE (CODIGO, DESCRICAO, ID_GRUPO, COD_CEST) VALUES (12, 'Refrigerante', 5, '03.010.00');\n"
    "INSERT INTO VENDEDOR (ID, NOME) VALUES (7, 'Carla');\n"
    "DROP TABLE CEST;\n";

TEST(RunModes, AllOrNothingTableFailureKeepsThatTableAndCommitsTheOthers) {
    ImportFixture fixture(kCestMissing, schemaFile("merak-sample-data.sql"));
    const Snapshot before = merakSnapshot(fixture.destination);
    runAllTables(fixture, allOrNothingOptions());

    const Snapshot after = merakSnapshot(fixture.destination);
    EXPECT_EQ(after.at("PRODUTOS"), before.at("PRODUTOS"));
    EXPECT_EQ(fixture.destinationRows("SELECT CODIGO, NOME FROM CLIENTES ORDER BY CODIGO"),
              (Rows{{"1", "Ana"}, {"2", "Bruno"}}));
    EXPECT_EQ(fixture.destinationRows("SELECT ID_GRUPO FROM GRUPO"), (Rows{{"5"}}));
    EXPECT_EQ(fixture.destinationRows("SELECT VEN_CODIGO FROM VENDEDOR"), (Rows{{"7"}}));
    // GEN_CODCLI and GEN_ID_GRUPO restarted; GEN_CODFOR (no supplier to import) and
    // CODIGO_PRODUTO as they were.
    EXPECT_EQ(after.at("sequences"), (Rows{{"3", "1", "5", before.at("sequences")[0][3]}}));

    ASSERT_EQ(fixture.report.tables.size(), 5u);
    const engine::TableOutcome& produtos = fixture.report.tables[3];
    EXPECT_EQ(produtos.destinationTable, "PRODUTOS");
    EXPECT_FALSE(produtos.completed);
    EXPECT_TRUE(produtos.keptAsItWas);
    EXPECT_EQ(produtos.rowsRead, 2);
    EXPECT_EQ(produtos.rowsAfter, 1);
    const std::vector<std::string> failures = fixture.window.eventsStartingWith("plain: ");
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].rfind("plain: Falha na importação da tabela de Produtos, Falha: \r\nDynamic SQL Error", 0),
              0u);
    EXPECT_NE(failures[0].find("\r\nA tabela foi mantida como estava antes da importação."), std::string::npos);

    // The default run keeps the two products written before the failure.
    ImportFixture byDefault(kCestMissing, schemaFile("merak-sample-data.sql"));
    runAllTables(byDefault, {});
    EXPECT_EQ(byDefault.destinationRows("SELECT CODIGO FROM PRODUTOS ORDER BY CODIGO"), (Rows{{"10"}, {"11"}}));
}

// A stop request ends the table at a row boundary and no later table is reached; the default
// run restarts the sequence from the last row handled, all-or-nothing keeps the table as it was.
TEST(RunModes, StopRequestEndsTheTableAndTheRun) {
    for (const bool atomic : {false, true}) {
        SCOPED_TRACE(atomic ? "all-or-nothing" : "default run");
        ImportFixture fixture(schemaFile("tavlo-sample-data.sql"), schemaFile("merak-sample-data.sql"));
        const Snapshot before = merakSnapshot(fixture.destination);
        fixture.window.onProcessMessages = [&] {
            if (fixture.window.gauge.position() == 3) fixture.window.stop = true;
        };
        runAllTables(fixture, atomic ? allOrNothingOptions() : defaultWithoutCopy());

        ASSERT_EQ(fixture.report.tables.size(), 1u);
        EXPECT_TRUE(fixture.report.tables[0].interrupted);
        EXPECT_EQ(fixture.report.tables[0].rowsRead, 3);
        EXPECT_EQ(fixture.report.tables[0].keptAsItWas, atomic);
        const Snapshot after = merakSnapshot(fixture.destination);
        for (const char* untouched : {"FORNECEDORES", "GRUPO", "PRODUTOS", "VENDEDOR"})
            EXPECT_EQ(after.at(untouched), before.at(untouched)) << untouched;
        if (atomic) {
            EXPECT_EQ(after, before);
        } else {
            EXPECT_EQ(fixture.destinationRows("SELECT CODIGO FROM CLIENTES ORDER BY CODIGO"),
                      (Rows{{"1"}, {"2"}, {"3"}}));
            EXPECT_EQ(after.at("sequences")[0][0], "4");
        }
        EXPECT_EQ(fixture.window.eventsStartingWith("information: "), std::vector<std::string>{});
    }
}

// A destination table whose writer cannot open (a column missing or of another type; for
// sellers, an INSERT that cannot be prepared) keeps every row: its DELETE never takes effect.
TEST(RunModes, TableThatCannotBeWrittenKeepsItsRows) {
    struct Case {
        const char* table;
        void (*import)(engine::RunState&);
        const char* change;
        const char* message;
    };
    const Case cases[] = {
        {"CLIENTES", engine::ImportaClientes, "ALTER TABLE CLIENTES DROP EMAIL;",
         "plain: Falha na importação da tabela de Clientes, Falha: \r\n"},
        {"FORNECEDORES", engine::ImportaFornecedores,
         "ALTER TABLE FORNECEDORES DROP UF;\nALTER TABLE FORNECEDORES ADD UF INTEGER;",
         "plain: Falha na importação da tabela de Fornecedores, Falha: \r\n"},
        {"GRUPO", engine::ImportaGrupos, "ALTER TABLE GRUPO DROP MARGEM;\nALTER TABLE GRUPO ADD MARGEM VARCHAR(10);",
         "plain: Falha na importação da tabela de Grupos , Falha: \r\n"},
        {"PRODUTOS", engine::ImportaProdutos, "ALTER TABLE PRODUTOS DROP CEST;",
         "plain: Falha na importação da tabela de Produtos, Falha: \r\n"},
        {"VENDEDOR", engine::ImportaVendedores, "ALTER TABLE VENDEDOR DROP VEN_EXPORTATABLET;",
         "plain: Falha na importação da tabela de Vendedores, Falha: \r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        ImportFixture fixture(schemaFile("tavlo-sample-data.sql"), schemaFile("merak-sample-data.sql") + c.change);
        const Rows before = fixture.destinationRows(std::string("SELECT * FROM ") + c.table);
        ASSERT_FALSE(before.empty());
        fixture.connect();
        c.import(fixture.tables());
        // The run's end commits whatever the transaction still holds.
        fixture.session.IBDatabaseDestino.close();
        EXPECT_EQ(fixture.destinationRows(std::string("SELECT * FROM ") + c.table), before);
        ASSERT_EQ(fixture.window.boxes.size(), 1u);
        EXPECT_EQ(fixture.window.boxes[0].rfind(c.message, 0), 0u) << fixture.window.boxes[0];
        EXPECT_TRUE(fixture.tables().outcomes.at(0).keptAsItWas);
    }
}

// With the two paths swapped, the Tavlo file is the destination: every table import fails
// before its DELETE takes effect, and both files keep every row.
TEST(RunModes, SwappedPathsEmptyNothing) {
    ImportFixture fixture(schemaFile("tavlo-sample-data.sql"), schemaFile("merak-sample-data.sql"));
    std::swap(fixture.window.origem, fixture.window.destino);
    const std::string tavloTables[] = {"CLIENTE", "FORNECEDOR", "GRUPOS", "ESTOQUE", "VENDEDOR", "CEST"};
    auto tavloRows = [&] {
        std::map<std::string, Rows> rows;
        for (const std::string& table : tavloTables) rows[table] = queryRows(fixture.source, "SELECT * FROM " + table);
        return rows;
    };
    const auto tavloBefore = tavloRows();
    const Snapshot merakBefore = merakSnapshot(fixture.destination);

    fixture.connect();
    engine::ImportaClientes(fixture.tables());
    engine::ImportaFornecedores(fixture.tables());
    engine::ImportaGrupos(fixture.tables());
    engine::ImportaProdutos(fixture.tables());
    engine::ImportaVendedores(fixture.tables());
    fixture.session.IBDatabaseDestino.close();

    EXPECT_EQ(tavloRows(), tavloBefore);
    EXPECT_EQ(merakSnapshot(fixture.destination), merakBefore);
    EXPECT_EQ(fixture.window.boxes.size(), 5u);
    for (const engine::TableOutcome& outcome : fixture.tables().outcomes) EXPECT_FALSE(outcome.completed);
}

}  // namespace
