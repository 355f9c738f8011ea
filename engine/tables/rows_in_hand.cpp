#include "rows_in_hand.h"

#include <iterator>
#include <utility>

#include "database_error.h"
#include "refusal_csv.h"

namespace engine {

namespace {

// The refusals kept for the window's list; the rest are only counted.
constexpr std::size_t kRefusedRowsKept = 10000;

// Takes the entries of a log from `start` on out of it.
std::vector<std::string> takeFrom(std::vector<std::string>& log, std::size_t start) {
    std::vector<std::string> taken(std::make_move_iterator(log.begin() + static_cast<std::ptrdiff_t>(start)),
                                   std::make_move_iterator(log.end()));
    log.resize(start);
    return taken;
}

// Gives back the taken entries [from, to) to the log; `from` moves on to `to`.
void giveBack(std::vector<std::string>& log, std::vector<std::string>& taken, std::size_t& from, std::size_t to) {
    for (; from < to && from < taken.size(); ++from) log.push_back(std::move(taken[from]));
}

}  // namespace

RowsInHand::RowsInHand(RunState& run, const TableImport& table, TableTransaction& transaction, TableOutcome& outcome,
                       BlockInsert* blocks, std::optional<std::string>& inFlightKey)
    : run_(run),
      table_(table),
      transaction_(transaction),
      outcome_(outcome),
      blocks_(blocks),
      inFlightKey_(inFlightKey),
      errosStart_(run.LogErros.size()),
      repetidosStart_(run.LogClienteRepetido.size()) {
    rows_.reserve(blocks_ ? blocks_->rowsPerBlock() : 1);
}

void RowsInHand::write() {
    Row& row = rows_.emplace_back();
    row.refusal = table_.refusal();
    try {
        table_.writeRow();
        if (blocks_) {
            // The block's refusal comes after the cursor moved on: the row is taken now.
            row.queued = true;
            row.sourceRow = sourceRowOf(run_.session.IBQueryOrigem);
        } else {
            transaction_.rowWritten();
        }
    } catch (const db::DatabaseError& failure) {
        if (failure.kind() == db::FailureKind::Internal) {
            // The program's own fault, not the row's, which was never sent: the rows before it
            // are sent and logged as they would be, then the table ends.
            rows_.pop_back();
            settle();
            throw;
        }
        raiseWhenNotTheRows(failure, row);
        row.failure = failure;
        if (row.sourceRow.empty()) row.sourceRow = sourceRowOf(run_.session.IBQueryOrigem);
    }
    row.errosMade = run_.LogErros.size() - errosStart_;
    row.repetidosMade = run_.LogClienteRepetido.size() - repetidosStart_;
}

bool RowsInHand::full() const { return rows_.size() >= (blocks_ ? blocks_->rowsPerBlock() : 1); }

void RowsInHand::settle() {
    if (rows_.empty()) return;
    sendQueued();
    logInOrder();
    rows_.clear();
    errosStart_ = run_.LogErros.size();
    repetidosStart_ = run_.LogClienteRepetido.size();
}

void RowsInHand::raiseWhenNotTheRows(const db::DatabaseError& failure, const Row& row) {
    // A lost connection, the server's I/O failure (a full disk) or the program's own misuse of
    // the access layer is not the row's: every row after it would fail the same way, so the
    // table ends.
    if (failure.kind() == db::FailureKind::Statement) return;
    inFlightKey_ = row.refusal.key;
    throw failure;
}

void RowsInHand::sendQueued() {
    if (!blocks_ || blocks_->queued() == 0) return;
    try {
        blocks_->send();
        for (Row& row : rows_) {
            if (!row.queued) continue;
            try {
                transaction_.rowWritten();
            } catch (const db::DatabaseError& failure) {
                raiseWhenNotTheRows(failure, row);
                row.failure = failure;
            }
        }
        return;
    } catch (const db::DatabaseError& failure) {
        // A block refused by a lost connection or an I/O failure ends the table; any other
        // refusal undid the whole block: each row goes again on its own, for its own failure.
        if (failure.kind() != db::FailureKind::Statement) throw;
    }
    std::size_t queued = 0;
    for (Row& row : rows_) {
        if (!row.queued) continue;
        try {
            blocks_->sendAlone(queued++);
            transaction_.rowWritten();
        } catch (const db::DatabaseError& failure) {
            raiseWhenNotTheRows(failure, row);
            row.failure = failure;
        }
    }
    blocks_->clear();
}

void RowsInHand::recordRefusal(Row& row, bool inRepetidos) {
    // Every refused row is a line of recusadas.csv, on disk at once; the window's list keeps
    // the first ones.
    RefusedRow refused = refusedRowOf(table_.destinationTable, row.refusal.key, *row.failure, std::move(row.sourceRow));
    if (run_.runLogs.active()) {
        run_.runLogs.recusadas().append(csvLine(refused));
        // The server's refusal (it carries the server's codes), not the import's own: a
        // comparison cannot see it again without writing, so the record of the log that has
        // the row keeps it.
        RunLogFile& log = inRepetidos ? run_.runLogs.repetidos() : run_.runLogs.erros();
        if (row.failure->errorCode() != 0)
            log.appendRecord(logRecordLine(table_.destinationTable, refused.key, row.failure->columnFault()));
    }
    countRefusal(run_.refusalCounts, refused);
    if (run_.refusedRows.size() < kRefusedRowsKept) {
        run_.refusedRows.push_back(std::move(refused));
    } else {
        ++run_.refusedRowsLeftOut;
    }
}

void RowsInHand::logInOrder() {
    std::vector<std::string> erros = takeFrom(run_.LogErros, errosStart_);
    std::vector<std::string> repetidos = takeFrom(run_.LogClienteRepetido, repetidosStart_);
    std::size_t errosGiven = 0;
    std::size_t repetidosGiven = 0;
    for (Row& row : rows_) {
        giveBack(run_.LogErros, erros, errosGiven, row.errosMade);
        giveBack(run_.LogClienteRepetido, repetidos, repetidosGiven, row.repetidosMade);
        if (row.failure) {
            ++outcome_.rowsRefused;
            const std::size_t repetidosBefore = run_.LogClienteRepetido.size();
            row.refusal.log(row.failure->text());
            const bool inRepetidos = run_.LogClienteRepetido.size() > repetidosBefore;
            recordRefusal(row, inRepetidos);
        }
        run_.flushLogs();
    }
    // Entries made after the last row in hand: by a row whose filling failed.
    giveBack(run_.LogErros, erros, errosGiven, erros.size());
    giveBack(run_.LogClienteRepetido, repetidos, repetidosGiven, repetidos.size());
}

}  // namespace engine
