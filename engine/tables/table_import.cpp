#include "table_import.h"

#include <charconv>
#include <chrono>
#include <exception>
#include <utility>

#include "database_error.h"
#include "refusal_csv.h"
#include "refused_row.h"
#include "table_transaction.h"
#include "text.h"

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

// A sequence value written in decimal; none for any other text.
std::optional<long long> decimal(const std::string& text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The rows the destination table holds, as the destination transaction sees them; none when
// they cannot be counted (the DELETE then reports why).
std::optional<long long> countRows(ImportSession& session, std::string_view table) {
    try {
        db::Statement count("", session.IBDatabaseDestino, session.IBTransactionFireBird);
        count.setText("SELECT COUNT(*) FROM " + std::string(table));
        count.open();
        return count.column(std::size_t{0}).asStoredInteger();
    } catch (const db::DatabaseError&) {
        return std::nullopt;
    }
}

// Every refused row is a line of the run's list of refusals, on disk at once; the window's
// list keeps the first ones.
void recordRefusal(RunState& run, const TableImport& table, const db::DatabaseError& failure) {
    RefusedRow row = refusedRowOf(table.destinationTable, table.rowKey(), failure, run.session.IBQueryOrigem);
    if (run.runLogs.active()) run.runLogs.recusadas().append(csvLine(row));
    if (run.refusedRows.size() >= kRefusedRowsKept) {
        ++run.refusedRowsLeftOut;
        return;
    }
    run.refusedRows.push_back(std::move(row));
}

}  // namespace

void importTable(RunState& run, const TableImport& table) {
    const Progress& progress = run.progress;
    ImportSession& session = run.session;
    db::Statement& origem = session.IBQueryOrigem;
    db::Statement& destino = session.IBQueryFireBird;
    TableOutcome& outcome = run.outcomes.emplace_back();
    outcome.destinationTable = table.destinationTable;
    outcome.rowsCounted = !table.countQuery.empty();
    progress.observer().tableStarted(outcome);
    const bool undoesUnfinished = undoesUnfinishedTables(run.mode);
    std::optional<TableTransaction> transaction;
    const auto started = std::chrono::steady_clock::now();

    // Puts the table back as it was; says whether it is (before the savepoint nothing was done).
    auto undo = [&]() noexcept {
        try {
            if (transaction) transaction->undoTable();
            return true;
        } catch (const std::exception&) {
            return false;
        }
    };

    try {
        if (!table.countQuery.empty()) {
            setStatement(origem, table.countQuery);
            origem.open();
            progress.setGaugeMaximum(origem.column("QTD").asInteger());
            progress.setGaugeMinimum(0);
            progress.setGaugePosition(0);
        }
        setStatement(origem, table.sourceQuery);
        origem.open();
        progress.setStatus(std::string(table.status));
        progress.processMessages();

        outcome.rowsBefore = countRows(session, table.destinationTable);
        transaction.emplace(session, run.mode);
        setStatement(destino, table.deleteStatement);
        destino.execute();
        try {
            table.prepareWriting();
        } catch (const std::exception&) {
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
                    recordRefusal(run, table, failure);
                }
                ++outcome.rowsRead;
                run.flushLogs();
                progress.setGaugePosition(progress.gaugePosition() + 1);
                progress.observer().rowDone(outcome);
                switch (table.afterRow) {
                case AfterRow::MessagesThenNext:
                    progress.processMessages();
                    origem.next();
                    break;
                case AfterRow::NextOnly:
                    origem.next();
                    break;
                case AfterRow::NextThenMessages:
                    origem.next();
                    progress.processMessages();
                    break;
                }
                if (progress.stopRequested()) {
                    outcome.interrupted = true;
                    break;
                }
            }
            if (outcome.interrupted && undoesUnfinished) {
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
    } catch (const std::exception& failure) {
        // A database's failure or any other (a log that cannot be written, an allocation that
        // fails): the table ends here, with the mode's promise.
        const std::string text = failure.what();
        outcome.completed = false;
        outcome.failure = text;
        if (undoesUnfinished && !outcome.keptAsItWas) outcome.keptAsItWas = undo();
        std::string message = std::string(table.failureMessage) + "\r\n" + text;
        if (outcome.keptAsItWas && undoesUnfinished) message += kKeptAsItWas;
        run.prompter.tell(MessageKind::Plain, message);
    }
    outcome.rowsAfter = countRows(session, table.destinationTable);
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    progress.observer().tableEnded(outcome);
}

}  // namespace engine
