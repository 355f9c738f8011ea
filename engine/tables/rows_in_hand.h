#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "block_insert.h"
#include "database_error.h"
#include "refused_row.h"
#include "run_report.h"
#include "run_state.h"
#include "table_import.h"
#include "table_transaction.h"

namespace engine {

// The rows of a table read from the source and not yet settled: written one at a time, each row
// is settled as soon as it is written; in blocks, the rows queued since the last block. Settling
// sends the queued block (row by row when the server refuses it) and then, in the order of the
// rows, makes each row's log entries: those its filling made (a failed lookup) and, when it was
// refused, its refusal, in the run's logs, recusadas.csv, its count and the list of refusals.
class RowsInHand {
public:
    // `blocks` is the queue writeRow fills, or none when each row is sent as it is written. A
    // failure that is not the row's (a lost connection, the server's I/O failure) is raised at
    // once, the key of the row whose write met it in inFlightKey.
    RowsInHand(RunState& run, const TableImport& table, TableTransaction& transaction, TableOutcome& outcome,
               BlockInsert* blocks, std::optional<std::string>& inFlightKey);

    // Writes the row just filled (queues it, in blocks); a refusal by the writer or the server
    // is kept for the row's place.
    void write();
    // Whether the rows in hand make a block.
    bool full() const;
    // Sends the rows in hand and makes their log entries.
    void settle();

private:
    struct Row {
        RowRefusal refusal;
        // The refusal, with its column fault, and the source row as it was when written.
        std::optional<db::DatabaseError> failure;
        SourceRow sourceRow;
        bool queued = false;
        // The entries of the two logs made up to the row's end, counted from the first row in hand.
        std::size_t errosMade = 0;
        std::size_t repetidosMade = 0;
    };

    void sendQueued();
    void logInOrder();
    // inRepetidos: the row's entry went to quorel2.log rather than quorel.log.
    void recordRefusal(Row& row, bool inRepetidos);
    // Raises a failure that is not the row's, noting the key of the row it met.
    void raiseWhenNotTheRows(const db::DatabaseError& failure, const Row& row);

    RunState& run_;
    const TableImport& table_;
    TableTransaction& transaction_;
    TableOutcome& outcome_;
    BlockInsert* blocks_;
    std::optional<std::string>& inFlightKey_;
    std::vector<Row> rows_;
    // The two logs' lengths before the first row in hand.
    std::size_t errosStart_ = 0;
    std::size_t repetidosStart_ = 0;
};

}  // namespace engine
