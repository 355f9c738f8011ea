#include "table_import.h"

#include <charconv>
#include <chrono>

#include "database_error.h"

namespace engine {

namespace {

// The refusals kept for the window's list; the rest are only counted.
constexpr std::size_t kRefusedRowsKept = 10000;
// Added to the table-level message when the table was put back as it was.
constexpr const char* kKeptAsItWas = "\r\nA tabela foi mantida como estava antes da importação.";

// Closes a statement object and gives it a new text.
void setStatement(db::Statement& statement, std::string_view text) {
    statement.close();
    statement.setText(text);
}

std::string firstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

// A sequence value written in decimal; none for any other text.
std::optional<long long> decimal(const std::string& text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The rows the destination table holds, as the destination transaction sees them; none when
// they cannot be counted (the DELETE then reports why).
std::optional<long long> countRows(ImportContext& context, std::string_view table) {
    try {
        db::Statement count("", context.IBDatabaseDestino, context.IBTransactionFireBird);
        count.setText("SELECT COUNT(*) FROM " + std::string(table));
        count.open();
        return count.column(std::size_t{0}).asStoredInteger();
    } catch (const db::DatabaseError&) {
        return std::nullopt;
    }
}

void recordRefusal(ImportContext& context, const TableImport& table, const std::string& failure) {
    if (context.refusedRows.size() >= kRefusedRowsKept) {
        ++context.refusedRowsLeftOut;
        return;
    }
    context.refusedRows.push_back({std::string(table.destinationTable), table.rowKey(), firstLine(failure)});
}

}  // namespace

void importTable(ImportContext& context, const TableImport& table) {
    WindowSeam& window = context.window;
    db::Statement& origem = context.IBQueryOrigem;
    db::Statement& destino = context.IBQueryFireBird;
    TableOutcome& outcome = context.outcomes.emplace_back();
    outcome.destinationTable = table.destinationTable;
    const TransactionPolicy policy = TransactionPolicy::of(context.options);
    std::optional<TableTransaction> transaction;
    const auto started = std::chrono::steady_clock::now();

    // Puts the table back as it was; says whether it is (before the savepoint nothing was done).
    auto undo = [&]() noexcept {
        try {
            if (transaction) transaction->undoTable();
            return true;
        } catch (const db::DatabaseError&) {
            return false;
        }
    };

    try {
        if (!table.countQuery.empty()) {
            setStatement(origem, table.countQuery);
            origem.open();
            window.setGaugeMaximum(origem.column("QTD").asInteger());
            window.setGaugeMinimum(0);
            window.setGaugePosition(0);
        }
        setStatement(origem, table.sourceQuery);
        origem.open();
        window.setStatus(std::string(table.status));
        window.processMessages();

        outcome.rowsBefore = countRows(context, table.destinationTable);
        transaction.emplace(context, policy);
        setStatement(destino, table.deleteStatement);
        destino.execute();
        try {
            table.prepareWriting();
        } catch (const db::DatabaseError&) {
            outcome.keptAsItWas = undo();
            throw;
        }
        transaction->writingStarted();

        if (!(table.stopWhenSourceEmpty && origem.isEmpty())) {
            for (origem.first(); !origem.eof();) {
                table.fillRow();
                try {
                    table.writeRow();
                    transaction->rowWritten();
                } catch (const db::DatabaseError& failure) {
                    ++outcome.rowsRefused;
                    table.logFailure(failure.text());
                    recordRefusal(context, table, failure.text());
                }
                ++outcome.rowsRead;
                context.flushLogs();
                window.setGaugePosition(window.gaugePosition() + 1);
                switch (table.afterRow) {
                case AfterRow::MessagesThenNext:
                    window.processMessages();
                    origem.next();
                    break;
                case AfterRow::NextOnly:
                    origem.next();
                    break;
                case AfterRow::NextThenMessages:
                    origem.next();
                    window.processMessages();
                    break;
                }
                if (window.stopRequested()) {
                    outcome.interrupted = true;
                    break;
                }
            }
            if (outcome.interrupted && policy.undoUnfinishedTable) {
                outcome.keptAsItWas = undo();
            } else if (const std::optional<SequenceRestart> restart = table.sequenceRestart(outcome.rowsRead > 0)) {
                outcome.sequenceName = restart->sequence;
                outcome.sequenceValue = decimal(restart->value);
                setStatement(destino, "ALTER SEQUENCE " + restart->sequence + " RESTART WITH " + restart->value);
                destino.execute();
                transaction->sequenceRestarted();
            }
        }
        if (!outcome.keptAsItWas) transaction->tableEnded();
    } catch (const db::DatabaseError& failure) {
        outcome.completed = false;
        outcome.failure = failure.text();
        if (policy.undoUnfinishedTable && !outcome.keptAsItWas) outcome.keptAsItWas = undo();
        std::string message = std::string(table.failureMessage) + "\r\n" + failure.text();
        if (outcome.keptAsItWas && policy.undoUnfinishedTable) message += kKeptAsItWas;
        window.showPlainMessage(message);
    }
    outcome.rowsAfter = countRows(context, table.destinationTable);
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

}  // namespace engine
