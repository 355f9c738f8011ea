// Each mode's promise under faults, on the test's own databases: a connection cut on either
// side in the middle of a table, a full file system under the destination, a stop request (what
// SIGINT, SIGTERM, SIGHUP and SIGQUIT make of a run) and a failure that is not the database's.
#include <gtest/gtest.h>
#include <unistd.h>

#include <new>
#include <stdexcept>

#include "import_fixture.h"
#include "small_file_system.h"
#include "statement.h"
#include "test_connection.h"

namespace {

using engine::CheckBox;
using test_support::ImportFixture;
using test_support::queryRows;
using test_support::TestDatabase;
using Rows = ImportFixture::Rows;

// Thousands of suppliers, keys 1 to kSuppliers in order, and two sellers after them.
constexpr int kSuppliers = 3000;
// The row after which a fault comes.
constexpr int kFaultRow = 1000;

const std::string kSource =
    "SET TERM ^ ;\n"
    "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN\n"
    "  WHILE (I <= " +
    std::to_string(kSuppliers) +
    ") DO BEGIN\n"
    "    INSERT INTO FORNECEDOR (CODIGO, NOME, ENDERECO, BAIRRO) VALUES (:I, 'Fornecedor ' || :I,\n"
    "      'Rua dos Fornecedores, ' || :I, 'Bairro ' || :I);\n"
    "    I = I + 1;\n"
    "  END\n"
    "END^\n"
    "SET TERM ; ^\n"
    "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n"
    "INSERT INTO VENDEDOR (ID, NOME) VALUES (2, 'Bia');\n";
// Two suppliers and a seller that the run replaces, and the supplier sequence below the keys the
// run writes, so that a table that fails midway holds keys above it.
const std::string kDestination =
    "INSERT INTO FORNECEDORES (CODIGO, FORNECEDOR) VALUES (8001, 'Antigo');\n"
    "INSERT INTO FORNECEDORES (CODIGO, FORNECEDOR) VALUES (8002, 'Antigo 2');\n"
    "INSERT INTO VENDEDOR (VEN_CODIGO, VEN_NOME) VALUES (9, 'Antigo');\n"
    "SET GENERATOR GEN_CODFOR TO 5;\n";
constexpr long long kOldSequence = 5;

const std::string kSupplierMessage = "Falha na importação da tabela de Fornecedores, Falha: \r\n";
const std::string kSellerMessage = "Falha na importação da tabela de Vendedores, Falha: \r\n";
const std::string kKept = "\r\nA tabela foi mantida como estava antes da importação.";

enum class Fault { SourceCut, DestinationCut, FullDisk, Stop, NotADatabaseFailure };

std::string describe(Fault fault) {
    switch (fault) {
    case Fault::SourceCut:
        return "source connection cut";
    case Fault::DestinationCut:
        return "destination connection cut";
    case Fault::FullDisk:
        return "full file system under the destination";
    case Fault::Stop:
        return "stop request";
    case Fault::NotADatabaseFailure:
        return "a failure that is not the database's";
    }
    return "";
}

// What a lost network or a server-side kill does: the server drops this process's
// attachments to the database, from an attachment of the test's own.
void cutOwnAttachments(const TestDatabase& database) {
    test_support::TestConnection killer(database.connectionString(), test_support::kDestinationParams, "Corte");
    {
        db::Statement cut("Corte", killer.attachment, killer.transaction);
        cut.setText("DELETE FROM MON$ATTACHMENTS WHERE MON$REMOTE_PID = " + std::to_string(::getpid()) +
                    " AND MON$ATTACHMENT_ID <> CURRENT_CONNECTION");
        cut.execute();
    }
    killer.transaction.commit();
    killer.attachment.close();
}

long long supplierSequence(const TestDatabase& database) {
    return std::stoll(queryRows(database, "SELECT GEN_ID(GEN_CODFOR, 0) FROM RDB$DATABASE").at(0).at(0));
}

// The destination's two tables and the supplier sequence, as committed.
struct Committed {
    Rows suppliers;  // count, lowest and highest key
    Rows sellers;
    long long sequence = 0;
    bool operator==(const Committed&) const = default;
};

Committed committed(const TestDatabase& database) {
    return {queryRows(database, "SELECT COUNT(*), MIN(CODIGO), MAX(CODIGO) FROM FORNECEDORES"),
            queryRows(database, "SELECT VEN_CODIGO, VEN_NOME FROM VENDEDOR ORDER BY VEN_CODIGO"),
            supplierSequence(database)};
}

const Committed kAsItWas{{{"2", "8001", "8002"}}, {{"9", "Antigo"}}, kOldSequence};
const Rows kNewSellers{{"1", "Ana"}, {"2", "Bia"}};

Rows suppliersUpTo(long long last) { return {{std::to_string(last), "1", std::to_string(last)}}; }

// One run of suppliers and sellers in a mode, with a fault in the middle of the suppliers (a
// full file system: from the start).
struct FaultyRun {
    FaultyRun(Fault fault, test_support::RunOptions options, const std::string& destinationParent = "",
              const test_support::SmallFileSystem* disk = nullptr)
        : fixture(kSource, kDestination, destinationParent) {
        before = committed(fixture.destination);
        // Only a few kilobytes left: the table's rows cannot all be written.
        if (disk != nullptr) disk->fillLeaving(256 * 1024);
        fixture.window.ticked = {CheckBox::Fornec, CheckBox::Vendedores};
        fixture.options = options;
        bool done = false;
        fixture.window.onProcessMessages = [&] {
            if (done || fixture.window.eventsStartingWith("status: Importando Fornecedores").empty() ||
                fixture.window.gauge.position() != kFaultRow)
                return;
            done = true;
            switch (fault) {
            case Fault::SourceCut:
                cutOwnAttachments(fixture.source);
                break;
            case Fault::DestinationCut:
                cutOwnAttachments(fixture.destination);
                break;
            case Fault::Stop:
                fixture.window.stop = true;
                break;
            case Fault::NotADatabaseFailure:
                throw std::runtime_error("falha simulada");
            case Fault::FullDisk:
                break;
            }
        };
        fixture.importRun();
        after = committed(fixture.destination);
    }

    const engine::TableOutcome& suppliers() const { return fixture.report.tables.at(0); }

    ImportFixture fixture;
    Committed before;
    Committed after;
};

bool startsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

// The boxes of the run that are not its end message: the table-level messages.
std::vector<std::string> tableMessages(const ImportFixture& fixture) {
    std::vector<std::string> messages;
    for (const std::string& box : fixture.window.boxes)
        if (startsWith(box, "plain: ")) messages.push_back(box.substr(7));
    return messages;
}

// The promise every mode keeps under every fault: no failure that is not a row's is logged as
// a refused row, and the end message never announces success.
void expectNoRowBlamed(const FaultyRun& run) {
    EXPECT_EQ(run.fixture.report.logEntries(), 0u);
    EXPECT_TRUE(run.fixture.report.refusedRows.empty());
    for (const engine::TableOutcome& outcome : run.fixture.report.tables)
        EXPECT_EQ(outcome.rowsRefused, 0) << outcome.destinationTable;
    EXPECT_TRUE(run.fixture.window.eventsStartingWith("information: Importação finalizada com sucesso").empty());
}

// The table after the fault: whole, on the connections as they stand or on fresh ones, or
// ended by its own message with nothing changed.
void expectLaterTableWholeOrFailedAlone(const FaultyRun& run, Fault fault) {
    ASSERT_EQ(run.fixture.report.tables.size(), 2u);
    const engine::TableOutcome& sellers = run.fixture.report.tables[1];
    const std::vector<std::string> messages = tableMessages(run.fixture);
    if (fault == Fault::NotADatabaseFailure) EXPECT_TRUE(sellers.completed);
    if (sellers.completed) {
        EXPECT_EQ(messages.size(), 1u);
        EXPECT_EQ(run.after.sellers, kNewSellers);
    } else {
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_TRUE(startsWith(messages[1], kSellerMessage)) << messages[1];
        EXPECT_EQ(run.after.sellers, run.before.sellers);
    }
}

const Fault kFaults[] = {Fault::SourceCut, Fault::DestinationCut, Fault::Stop, Fault::NotADatabaseFailure};

// The default run: every row in the table is committed and none is logged; a table-level
// failure leaves the sequence alone, a stop restarts it from the last row handled.
TEST(RunFaults, DefaultRunCommitsEveryRowHandledAndLogsNone) {
    for (Fault fault : kFaults) {
        SCOPED_TRACE(describe(fault));
        const FaultyRun run(fault, {.preview = false, .allOrNothing = false, .safetyCopy = false});
        expectNoRowBlamed(run);
        const engine::TableOutcome& suppliers = run.suppliers();
        const std::vector<std::string> messages = tableMessages(run.fixture);
        // Every row handled is in the table and none other: the row in flight when a connection
        // went is counted when its commit took effect.
        EXPECT_EQ(run.after.suppliers, suppliersUpTo(suppliers.rowsRead));
        if (fault == Fault::Stop) {
            EXPECT_TRUE(suppliers.completed);
            EXPECT_TRUE(suppliers.interrupted);
            EXPECT_EQ(suppliers.rowsRead, kFaultRow);
            EXPECT_EQ(run.after.sequence, kFaultRow);
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(run.fixture.report.tables.size(), 1u);
            EXPECT_EQ(run.after.sellers, run.before.sellers);
            continue;
        }
        EXPECT_FALSE(suppliers.completed);
        EXPECT_FALSE(suppliers.keptAsItWas);
        EXPECT_FALSE(suppliers.lastRowUnknown.has_value());
        // A source cut is seen when the cursor has used up the rows it fetched ahead.
        if (fault == Fault::SourceCut) {
            EXPECT_GE(suppliers.rowsRead, kFaultRow);
            EXPECT_LT(suppliers.rowsRead, kSuppliers);
        } else {
            EXPECT_EQ(suppliers.rowsRead, kFaultRow);
        }
        // A table-level failure leaves the sequence as it was, and the keys above it are named.
        EXPECT_EQ(run.after.sequence, kOldSequence);
        ASSERT_FALSE(messages.empty());
        EXPECT_TRUE(startsWith(messages[0], kSupplierMessage)) << messages[0];
        EXPECT_EQ(messages[0].find(kKept), std::string::npos);
        EXPECT_EQ(suppliers.highestKeyAboveSequence, suppliers.rowsRead);
        EXPECT_EQ(suppliers.sequenceLeftAt, kOldSequence);
        const std::string above = "\r\nA tabela tem códigos até " + std::to_string(suppliers.rowsRead) +
                                  ", acima do valor 5 da sequência GEN_CODFOR: o próximo cadastro no Merak "
                                  "repetiria um código.";
        EXPECT_NE(messages[0].find(above), std::string::npos) << messages[0];
        ASSERT_EQ(run.fixture.report.tables.size(), 2u);
        expectLaterTableWholeOrFailedAlone(run, fault);
    }
}

// All-or-nothing: the suppliers are exactly as they were, and the message says so; the
// sellers are whole or as they were.
TEST(RunFaults, AllOrNothingLeavesAnUnfinishedTableExactlyAsItWas) {
    for (Fault fault : kFaults) {
        SCOPED_TRACE(describe(fault));
        const FaultyRun run(fault, {.preview = false, .allOrNothing = true, .safetyCopy = false});
        expectNoRowBlamed(run);
        EXPECT_EQ(run.after.suppliers, kAsItWas.suppliers);
        EXPECT_EQ(run.after.sequence, kOldSequence);
        EXPECT_TRUE(run.suppliers().keptAsItWas);
        // Counted when the run's transaction still stands.
        if (run.suppliers().rowsAfter) EXPECT_EQ(*run.suppliers().rowsAfter, 2);
        const std::vector<std::string> messages = tableMessages(run.fixture);
        if (fault == Fault::Stop) {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(run.after.sellers, run.before.sellers);
            continue;
        }
        ASSERT_FALSE(messages.empty());
        EXPECT_TRUE(startsWith(messages[0], kSupplierMessage)) << messages[0];
        EXPECT_NE(messages[0].find(kKept), std::string::npos) << messages[0];
        expectLaterTableWholeOrFailedAlone(run, fault);
    }
}

// A preview, with or without all-or-nothing: nothing of the destination changes, whatever the
// fault.
TEST(RunFaults, PreviewChangesNothingUnderAnyFault) {
    for (bool allOrNothing : {false, true}) {
        for (Fault fault : kFaults) {
            SCOPED_TRACE(describe(fault) + (allOrNothing ? ", preview of all-or-nothing" : ", preview"));
            const FaultyRun run(fault, {.preview = true, .allOrNothing = allOrNothing, .safetyCopy = false});
            expectNoRowBlamed(run);
            EXPECT_EQ(run.after, kAsItWas);
            EXPECT_EQ(run.suppliers().completed, fault == Fault::Stop);
        }
    }
}

// A full file system under the destination: the server's I/O failure ends the table at once
// instead of refusing every row after it, in every mode with that mode's promise.
TEST(RunFaults, FullFileSystemEndsTheTableInEachMode) {
    const struct {
        const char* name;
        test_support::RunOptions options;
    } modes[] = {{"default", {.preview = false, .allOrNothing = false, .safetyCopy = false}},
                 {"all-or-nothing", {.preview = false, .allOrNothing = true, .safetyCopy = false}},
                 {"preview", {.preview = true, .allOrNothing = false, .safetyCopy = false}},
                 {"preview of all-or-nothing", {.preview = true, .allOrNothing = true, .safetyCopy = false}}};
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.name);
        const test_support::SmallFileSystem disk(16 * 1024 * 1024);
        if (!disk.mounted()) GTEST_SKIP() << "no full file system can be made here: " << disk.why();
        const FaultyRun run(Fault::FullDisk, mode.options, disk.folder(), &disk);
        expectNoRowBlamed(run);
        const engine::TableOutcome& suppliers = run.suppliers();
        if (mode.options.preview) {
            // Nothing is committed: the space may never be needed, and nothing changes.
            EXPECT_EQ(run.after, kAsItWas);
            continue;
        }
        EXPECT_FALSE(suppliers.completed);
        EXPECT_LT(suppliers.rowsRead, kSuppliers);
        EXPECT_EQ(run.after.sequence, kOldSequence);
        const std::vector<std::string> messages = tableMessages(run.fixture);
        ASSERT_FALSE(messages.empty());
        EXPECT_TRUE(startsWith(messages[0], kSupplierMessage)) << messages[0];
        if (mode.options.allOrNothing) {
            EXPECT_EQ(run.after.suppliers, kAsItWas.suppliers);
            EXPECT_TRUE(suppliers.keptAsItWas);
            EXPECT_NE(messages[0].find(kKept), std::string::npos) << messages[0];
        } else {
            // The rows committed before the disk filled stay, each of them handled and none refused.
            const long long inTable = std::stoll(run.after.suppliers.at(0).at(0));
            EXPECT_LE(inTable, suppliers.rowsRead);
            EXPECT_GE(inTable, suppliers.rowsRead - 1);
        }
    }
}

}  // namespace
