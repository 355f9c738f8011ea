#include "table_import.h"

#include <charconv>
#include <chrono>
#include <exception>

#include "database_error.h"
#include "fresh_destination_reads.h"
#include "rows_in_hand.h"
#include "sequence_statement.h"
#include "table_transaction.h"

namespace engine {

namespace {

// Added to the table-level message when the table was put back as it was.
constexpr const char* kKeptAsItWas = "\r\nA tabela foi mantida como estava antes da importação.";

// Closes a statement object and gives it a new text.
void setStatement(db::Statement& statement, std::string_view text) {
    statement.close();
    statement.setText(text);
}

// What a table-level message says before the text of a failure that is the program's own.
constexpr const char* kInternalFault = "Falha interna do programa (não dos dados nem do banco): ";

// A sequence value written in decimal; none for any other text.
std::optional<long long> decimal(const std::string& text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// A number that a query reads from the destination, as the destination transaction sees it;
// none when it is null or cannot be read.
std::optional<long long> readNumber(ImportSession& session, const std::string& sql) {
    try {
        return readDestinationNumber(session, sql);
    } catch (const db::DatabaseError&) {
        return std::nullopt;
    }
}

// The rows the destination table holds; none when they cannot be counted (the DELETE then
// reports why).
std::optional<long long> countRows(ImportSession& session, std::string_view table) {
    return readNumber(session, "SELECT COUNT(*) FROM " + std::string(table));
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
    // The key of the row whose write or commit met a lost connection or an I/O failure.
    std::optional<std::string> inFlightKey;
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
        BlockInsert* blocks = nullptr;
        try {
            blocks = table.prepareWriting(transaction->sendsRowsInBlocks() ? run.mostRowsPerBlock : 0);
        } catch (const std::exception&) {
            outcome.keptAsItWas = undo();
            throw;
        }
        transaction->writingStarted();

        if (!(table.stopWhenSourceEmpty && origem.isEmpty())) {
            RowsInHand rows(run, table, *transaction, outcome, blocks, inFlightKey);
            for (origem.first(); !origem.eof();) {
                try {
                    table.fillRow();
                } catch (...) {
                    // The rows read before it are sent and logged before the table ends.
                    rows.settle();
                    throw;
                }
                rows.write();
                ++outcome.rowsRead;
                if (rows.full()) rows.settle();
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
            rows.settle();
            if (outcome.interrupted && undoesUnfinished) {
                outcome.keptAsItWas = undo();
            } else if (const std::optional<SequenceRestart> restart = table.sequenceRestart(outcome.rowsRead > 0)) {
                outcome.sequenceName = restart->sequence;
                outcome.sequenceValue = decimal(restart->value);
                setStatement(destino, db::setSequenceStatement(session.IBDatabaseDestino.serverVersion(),
                                                               restart->sequence, restart->value));
                destino.execute();
                transaction->sequenceRestarted();
            }
        }
        if (!outcome.keptAsItWas) transaction->tableEnded();
    } catch (const std::exception& failure) {
        // A database's failure or any other (a log that cannot be written, an allocation that
        // fails, the program's own misuse of the access layer): the table ends here, with the
        // mode's promise.
        const auto* database = dynamic_cast<const db::DatabaseError*>(&failure);
        const std::string text = database != nullptr && database->kind() == db::FailureKind::Internal
                                     ? std::string(kInternalFault) + failure.what()
                                     : std::string(failure.what());
        outcome.completed = false;
        outcome.failure = text;
        if (undoesUnfinished && !outcome.keptAsItWas) outcome.keptAsItWas = undo();
        std::string message = std::string(table.failureMessage) + "\r\n" + text;
        if (outcome.keptAsItWas && undoesUnfinished) message += kKeptAsItWas;
        if (run.mode == RunMode::Default && inFlightKey && !table.keyColumn.empty()) {
            // Its commit may have reached the server before the connection went: what the
            // table holds decides whether it was handled.
            const std::optional<bool> inTable = rowIsInTable(session.IBDatabaseDestino, session.login,
                                                             table.destinationTable, table.keyColumn, *inFlightKey);
            if (inTable.value_or(false)) ++outcome.rowsRead;
            if (!inTable) outcome.lastRowUnknown = *inFlightKey;
        }
        if (run.mode == RunMode::Default && !outcome.keptAsItWas && !table.sequence.empty()) {
            if (const std::optional<KeysAboveSequence> above =
                    keysAboveSequence(session.IBDatabaseDestino, session.login, table.destinationTable, table.keyColumn,
                                      table.sequence)) {
                outcome.highestKeyAboveSequence = above->highestKey;
                outcome.sequenceLeftAt = above->sequenceValue;
                message += "\r\nA tabela tem códigos até " + std::to_string(above->highestKey) + ", acima do valor " +
                           std::to_string(above->sequenceValue) + " da sequência " + std::string(table.sequence) +
                           ": o próximo cadastro no Merak repetiria um código.";
            }
        }
        run.prompter.tell(MessageKind::Plain, message);
    }
    outcome.rowsAfter = countRows(session, table.destinationTable);
    // The highest key the table now holds (in a preview: would hold), against which the value
    // the sequence was restarted with is judged.
    if (outcome.sequenceValue && !table.keyColumn.empty())
        outcome.highestKey = readNumber(
            session, "SELECT MAX(" + std::string(table.keyColumn) + ") FROM " + std::string(table.destinationTable));
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    progress.observer().tableEnded(outcome);
}

}  // namespace engine
