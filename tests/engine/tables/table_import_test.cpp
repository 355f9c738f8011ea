#include "table_import.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>

#include "database_error.h"
#include "import_fixture.h"
#include "table_transaction.h"

namespace {

using test_support::ImportFixture;
using Rows = ImportFixture::Rows;

// A small table of the destination with a key sequence, filled from a small source table: two
// of its five rows are refused (a repeated key, a text too long for its column).
const std::string kSource =
    "CREATE TABLE S (K INTEGER, V VARCHAR(20));\n"
    "INSERT INTO S VALUES (1, 'a');\n"
    "INSERT INTO S VALUES (2, 'bb');\n"
    "INSERT INTO S VALUES (2, 'dup');\n"
    "INSERT INTO S VALUES (3, 'longo demais');\n"
    "INSERT INTO S VALUES (4, 'd');\n";
const std::string kDestination =
    "CREATE TABLE T (K INTEGER NOT NULL PRIMARY KEY, V VARCHAR(5));\n"
    "CREATE SEQUENCE GEN_T;\n"
    "SET GENERATOR GEN_T TO 100;\n"
    "INSERT INTO T VALUES (10, 'old');\n"
    "INSERT INTO T VALUES (11, 'old2');\n";
const Rows kOldRows{{"10", "old"}, {"11", "old2"}};
const std::string kTableMessage = "plain: Falha na importação da tabela de Teste, Falha: \r\n";
const std::string kKept = "\r\nA tabela foi mantida como estava antes da importação.";

enum class Fault {
    None,
    TableLevelInLoop,
    NotADatabaseFailureInLoop,
    MisuseWhileWriting,
    WriterCannotOpen,
    DeleteFails,
    StopAfterTwoRows
};

long long sequenceValue(const test_support::TestDatabase& database) {
    return std::stoll(test_support::queryRows(database, "SELECT GEN_ID(GEN_T, 0) FROM RDB$DATABASE").at(0).at(0));
}

// Runs the procedure on the synthetic table with the fault and options given, then ends the
// run's transaction as the run would. In the modes that send rows in blocks, blocks of at most
// mostRowsPerBlock rows.
struct SyntheticRun {
    explicit SyntheticRun(Fault fault, test_support::RunOptions options,
                          engine::AfterRow afterRow = engine::AfterRow::MessagesThenNext,
                          std::size_t mostRowsPerBlock = 50)
        : fixture(kSource, kDestination) {
        fixture.connect();
        engine::RunState& run = fixture.tables(engine::runMode(options.preview, options.allOrNothing));
        run.mostRowsPerBlock = mostRowsPerBlock;
        std::unique_ptr<engine::BlockInsert> blocks;
        engine::RunTransaction runTransaction(fixture.session, run.mode);
        db::Statement insert("", fixture.session.IBDatabaseDestino, fixture.session.IBTransactionFireBird);
        db::Statement& origem = fixture.session.IBQueryOrigem;
        int lastKey = 0;

        engine::TableImport table;
        table.destinationTable = "T";
        table.countQuery = "SELECT COUNT(*) AS QTD FROM S";
        table.sourceQuery = "SELECT * FROM S";
        table.status = "Importando Teste";
        table.deleteStatement = fault == Fault::DeleteFails ? " DELETE FROM NAO_HA " : " DELETE FROM T ";
        table.failureMessage = "Falha na importação da tabela de Teste, Falha: ";
        table.afterRow = afterRow;
        table.prepareWriting = [&](std::size_t mostRows) {
            insert.setText(fault == Fault::WriterCannotOpen ? "INSERT INTO T (K, V, NAO_HA) VALUES (:K, :V, 1)"
                                                            : "INSERT INTO T (K, V) VALUES (:K, :V)");
            insert.prepare();
            if (mostRows > 0) blocks = std::make_unique<engine::BlockInsert>(insert, "T", mostRows);
            return blocks.get();
        };
        table.fillRow = [&] {
            lastKey = origem.column("K").asInteger();
            order.push_back("row " + std::to_string(lastKey));
            if (fault == Fault::TableLevelInLoop && lastKey == 4) throw db::DatabaseError("falha simulada");
            if (fault == Fault::NotADatabaseFailureInLoop && lastKey == 4) throw std::bad_alloc();
            insert.param("K").setInteger(lastKey);
            insert.param("V").setText(origem.column("V").asText());
        };
        table.writeRow = [&] {
            // A parameter the statement's text does not have: the program's fault, not the row's.
            if (fault == Fault::MisuseWhileWriting && lastKey == 4) insert.param("NAO_HA").setInteger(1);
            if (blocks) {
                blocks->queue();
            } else {
                insert.execute();
            }
        };
        table.refusal = [&] {
            const std::string key = std::to_string(lastKey);
            return engine::RowRefusal{
                key, [&run, key](const std::string& failure) {
                    run.LogErros.push_back("Erro em T no Registro " + key + "\r\n" + failure + "\r\n");
                }};
        };
        table.sequenceRestart = [&](bool) -> std::optional<engine::SequenceRestart> {
            return engine::SequenceRestart{"GEN_T", std::to_string(lastKey)};
        };
        fixture.window.onProcessMessages = [&] {
            order.push_back(origem.eof() ? "messages at end" : "messages at " + origem.column("K").asText());
            if (fault == Fault::StopAfterTwoRows && fixture.window.gauge.position() == 2) fixture.window.stop = true;
        };
        engine::importTable(run, table);
        // What the run's own transaction sees, before the run ends it.
        seenByTheRun = rowsInRunTransaction();
        runTransaction.end();
        outcome = run.outcomes.at(0);
    }

    Rows rowsInRunTransaction() {
        Rows rows;
        db::Statement query("", fixture.session.IBDatabaseDestino, fixture.session.IBTransactionFireBird);
        query.setText("SELECT K, V FROM T ORDER BY K");
        query.open();
        for (; !query.eof(); query.next()) rows.push_back({query.column("K").asText(), query.column("V").asText()});
        return rows;
    }
    Rows committedRows() const { return fixture.destinationRows("SELECT K, V FROM T ORDER BY K"); }

    ImportFixture fixture;
    std::vector<std::string> order;
    Rows seenByTheRun;
    engine::TableOutcome outcome;
};

// One row at a time through a block, a block whose third row the server refuses (rows 1, 2 and
// the repeated 2) followed by one the statement refuses before the server (the text too long),
// and the whole table in one block.
const std::vector<std::size_t> kBlockSizes = {1, 3, 50};

std::vector<std::string> refusedKeys(SyntheticRun& run) {
    std::vector<std::string> keys;
    for (const engine::RefusedRow& row : run.fixture.tables().refusedRows) keys.push_back(row.key + ": " + row.reason);
    return keys;
}

// The whole of each refusal, its source row included: in blocks a refusal is known after the
// cursor moved on, and still shows the row it refused.
std::vector<std::string> refusalDetails(SyntheticRun& run) {
    std::vector<std::string> details;
    for (const engine::RefusedRow& row : run.fixture.tables().refusedRows) {
        std::string line = row.key + " " + row.column + "=" + row.value + " " + row.cause + " |";
        for (const auto& [name, value] : row.sourceRow) line += " " + name + "=" + value;
        details.push_back(line);
    }
    return details;
}

test_support::RunOptions defaultRun() { return {}; }
test_support::RunOptions preview() { return {.preview = true, .allOrNothing = false, .safetyCopy = false}; }
test_support::RunOptions allOrNothing() { return {.preview = false, .allOrNothing = true, .safetyCopy = true}; }

const std::vector<std::string> kRefusalLog = {
    "Erro em T no Registro 2\r\nviolation of PRIMARY or UNIQUE KEY constraint \"INTEG_",  // the rest is the server's
    "Erro em T no Registro 3\r\nTrying to store a string of length 12 into a field that can only contain 5\r\n"};

struct Expected {
    Fault fault;
    Rows rowsOfDefaultRun;  // committed once the default run's table ended
    long long sequenceOfDefaultRun;
    int rowsRead;
    bool completed;
    bool interrupted;
    std::string message;  // the start of the table-level message, or empty
};

const Rows kAllWritten{{"1", "a"}, {"2", "bb"}, {"4", "d"}};

const std::vector<Expected> kCases = {
    {Fault::None, kAllWritten, 4, 5, true, false, ""},
    {Fault::TableLevelInLoop, {{"1", "a"}, {"2", "bb"}}, 100, 4, false, false, kTableMessage + "falha simulada"},
    {Fault::NotADatabaseFailureInLoop,
     {{"1", "a"}, {"2", "bb"}},
     100,
     4,
     false,
     false,
     kTableMessage + "std::bad_alloc"},
    {Fault::MisuseWhileWriting,
     {{"1", "a"}, {"2", "bb"}},
     100,
     4,
     false,
     false,
     kTableMessage + "Falha interna do programa (não dos dados nem do banco): : Parameter 'NAO_HA' not found"},
    {Fault::WriterCannotOpen, kOldRows, 100, 0, false, false, kTableMessage + "Dynamic SQL Error"},
    {Fault::DeleteFails, kOldRows, 100, 0, false, false, kTableMessage + "Dynamic SQL Error"},
    {Fault::StopAfterTwoRows, {{"1", "a"}, {"2", "bb"}}, 2, 2, true, true, ""},
};

std::string describe(Fault fault) {
    switch (fault) {
    case Fault::None:
        return "no fault";
    case Fault::TableLevelInLoop:
        return "table-level failure in the loop";
    case Fault::NotADatabaseFailureInLoop:
        return "a failure that is not the database's in the loop";
    case Fault::MisuseWhileWriting:
        return "the program's misuse while writing a row";
    case Fault::WriterCannotOpen:
        return "writer cannot open";
    case Fault::DeleteFails:
        return "DELETE fails";
    case Fault::StopAfterTwoRows:
        return "stop after two rows";
    }
    return "";
}

// Each fault under each policy: the default run commits as it goes and undoes only a DELETE
// whose writer cannot start; all-or-nothing leaves an unfinished table as it was; a preview
// sees what the default run writes and leaves everything as it was.
TEST(ImportTable, EachFaultUnderEachPolicy) {
    for (const Expected& expected : kCases) {
        SCOPED_TRACE(describe(expected.fault));
        const bool finished = expected.completed && !expected.interrupted;
        const bool stopped = expected.interrupted;
        {
            SyntheticRun run(expected.fault, defaultRun());
            EXPECT_EQ(run.committedRows(), expected.rowsOfDefaultRun);
            EXPECT_EQ(sequenceValue(run.fixture.destination), expected.sequenceOfDefaultRun);
            EXPECT_EQ(run.outcome.rowsRead, expected.rowsRead);
            EXPECT_EQ(run.outcome.completed, expected.completed);
            EXPECT_EQ(run.outcome.interrupted, expected.interrupted);
            EXPECT_EQ(run.outcome.rowsBefore, 2);
            EXPECT_EQ(run.outcome.rowsAfter, static_cast<long long>(expected.rowsOfDefaultRun.size()));
            EXPECT_EQ(run.outcome.keptAsItWas, expected.fault == Fault::WriterCannotOpen);
            if (expected.message.empty()) {
                EXPECT_TRUE(run.fixture.window.boxes.empty());
            } else {
                ASSERT_EQ(run.fixture.window.boxes.size(), 1u);
                EXPECT_EQ(run.fixture.window.boxes[0].rfind(expected.message, 0), 0u) << run.fixture.window.boxes[0];
                EXPECT_EQ(run.fixture.window.boxes[0].find(kKept), std::string::npos);
                EXPECT_EQ(run.outcome.failure.empty(), false);
            }
            // Row 4's fault is the program's: never logged as that row's refusal.
            for (const engine::RefusedRow& row : run.fixture.tables().refusedRows) EXPECT_NE(row.key, "4");
            for (const std::string& entry : run.fixture.tables().LogErros)
                EXPECT_EQ(entry.find("Registro 4"), std::string::npos) << entry;
            if (expected.rowsRead == 5) {
                ASSERT_EQ(run.fixture.tables().LogErros.size(), 2u);
                EXPECT_EQ(run.fixture.tables().LogErros[0].rfind(kRefusalLog[0], 0), 0u);
                EXPECT_EQ(run.fixture.tables().LogErros[1], kRefusalLog[1]);
                ASSERT_EQ(run.fixture.tables().refusedRows.size(), 2u);
                EXPECT_EQ(run.fixture.tables().refusedRows[1].table, "T");
                EXPECT_EQ(run.fixture.tables().refusedRows[1].key, "3");
                EXPECT_EQ(run.fixture.tables().refusedRows[1].reason,
                          "Trying to store a string of length 12 into a field that can only contain 5");
                using SourceRow = std::vector<std::pair<std::string, std::string>>;
                EXPECT_EQ(run.fixture.tables().refusedRows[0].sourceRow, (SourceRow{{"K", "2"}, {"V", "dup"}}));
                EXPECT_EQ(run.fixture.tables().refusedRows[1].sourceRow,
                          (SourceRow{{"K", "3"}, {"V", "longo demais"}}));
                EXPECT_EQ(run.fixture.tables().refusedRows[1].column, "V");
                EXPECT_EQ(run.outcome.rowsRefused, 2);
                EXPECT_EQ(run.outcome.sequenceName, "GEN_T");
                EXPECT_EQ(run.outcome.sequenceValue, 4);
            }

            for (std::size_t blockRows : kBlockSizes) {
                SCOPED_TRACE("preview, blocks of " + std::to_string(blockRows));
                SyntheticRun previewRun(expected.fault, preview(), engine::AfterRow::MessagesThenNext, blockRows);
                EXPECT_EQ(previewRun.seenByTheRun, expected.rowsOfDefaultRun);
                EXPECT_EQ(previewRun.committedRows(), kOldRows);
                EXPECT_EQ(sequenceValue(previewRun.fixture.destination), 100);
                EXPECT_EQ(previewRun.fixture.tables().LogErros, run.fixture.tables().LogErros);
                EXPECT_EQ(previewRun.fixture.window.boxes, run.fixture.window.boxes);
                EXPECT_EQ(previewRun.order, run.order);
                EXPECT_EQ(previewRun.outcome.rowsBefore, run.outcome.rowsBefore);
                EXPECT_EQ(previewRun.outcome.rowsRead, run.outcome.rowsRead);
                EXPECT_EQ(previewRun.outcome.rowsRefused, run.outcome.rowsRefused);
                EXPECT_EQ(previewRun.outcome.rowsAfter, run.outcome.rowsAfter);
                EXPECT_EQ(previewRun.outcome.sequenceValue, run.outcome.sequenceValue);
                EXPECT_EQ(refusedKeys(previewRun), refusedKeys(run));
                EXPECT_EQ(refusalDetails(previewRun), refusalDetails(run));
            }
            for (std::size_t blockRows : kBlockSizes) {
                SCOPED_TRACE("all-or-nothing, blocks of " + std::to_string(blockRows));
                SyntheticRun atomicRun(expected.fault, allOrNothing(), engine::AfterRow::MessagesThenNext, blockRows);
                EXPECT_EQ(atomicRun.fixture.tables().LogErros, run.fixture.tables().LogErros);
                EXPECT_EQ(atomicRun.order, run.order);
                EXPECT_EQ(refusedKeys(atomicRun), refusedKeys(run));
                EXPECT_EQ(refusalDetails(atomicRun), refusalDetails(run));
                EXPECT_EQ(atomicRun.outcome.rowsRefused, run.outcome.rowsRefused);
                EXPECT_EQ(atomicRun.committedRows(), finished ? kAllWritten : kOldRows);
                EXPECT_EQ(sequenceValue(atomicRun.fixture.destination), finished ? 4 : 100);
                EXPECT_EQ(atomicRun.outcome.keptAsItWas, !finished);
                EXPECT_EQ(atomicRun.outcome.rowsAfter, finished ? 3 : 2);
                EXPECT_EQ(atomicRun.outcome.interrupted, stopped);
                if (expected.message.empty()) {
                    EXPECT_TRUE(atomicRun.fixture.window.boxes.empty());
                } else {
                    ASSERT_EQ(atomicRun.fixture.window.boxes.size(), 1u);
                    EXPECT_EQ(atomicRun.fixture.window.boxes[0].rfind(expected.message, 0), 0u)
                        << atomicRun.fixture.window.boxes[0];
                    EXPECT_NE(atomicRun.fixture.window.boxes[0].find(kKept), std::string::npos)
                        << atomicRun.fixture.window.boxes[0];
                }
                if (expected.rowsRead == 5) {
                    EXPECT_EQ(atomicRun.fixture.tables().LogErros.size(), 2u);
                }
            }
        }
    }
}

// After each row the gauge advances, then the table's order of window messages and cursor
// moves follows; a stop request is seen after the row has been fully handled.
TEST(ImportTable, AfterRowOrders) {
    const std::vector<std::pair<engine::AfterRow, std::vector<std::string>>> cases = {
        {engine::AfterRow::MessagesThenNext,
         {"messages at 1", "row 1", "messages at 1", "row 2", "messages at 2", "row 2", "messages at 2", "row 3",
          "messages at 3", "row 4", "messages at 4"}},
        {engine::AfterRow::NextOnly, {"messages at 1", "row 1", "row 2", "row 2", "row 3", "row 4"}},
        {engine::AfterRow::NextThenMessages,
         {"messages at 1", "row 1", "messages at 2", "row 2", "messages at 2", "row 2", "messages at 3", "row 3",
          "messages at 4", "row 4", "messages at end"}},
    };
    for (const auto& [afterRow, order] : cases) {
        SyntheticRun run(Fault::None, defaultRun(), afterRow);
        EXPECT_EQ(run.order, order);
        EXPECT_EQ(run.fixture.window.gauge.position(), 5);
    }
}

}  // namespace
