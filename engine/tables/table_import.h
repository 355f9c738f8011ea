#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "block_insert.h"
#include "run_state.h"

namespace engine {

// What the window processes after each row, and when, relative to moving the source cursor.
enum class AfterRow {
    MessagesThenNext,  // clients, suppliers, sellers
    NextOnly,          // product groups: no messages between rows
    NextThenMessages,  // products
};

// A key sequence restart: the sequence and the value it restarts with, in decimal.
struct SequenceRestart {
    std::string sequence;
    std::string value;
};

// What a refused row leaves: its key as the table's log entry writes it, for the list of
// refusals, and its log entry made from the failure's text. Taken while the source cursor is on
// the row: a row sent in a block is known refused only once the cursor is further on.
struct RowRefusal {
    std::string key;
    std::function<void(const std::string& failureText)> log;
};

// The values in which the five table imports differ; the procedure is importTable.
struct TableImport {
    std::string_view destinationTable;  // "CLIENTES": counted before and after, and named in the outcome
    std::string_view countQuery;        // empty: the gauge is left as it is
    std::string_view sourceQuery;       // "SELECT * FROM ..."
    std::string_view status;            // "Importando ..."
    std::string_view deleteStatement;   // " DELETE FROM ... "
    std::string_view failureMessage;    // "Falha na importação da tabela de ..., Falha: "
    // The destination's key column, in which the row in flight is looked for after a lost
    // connection, and its sequence, checked when the table ends by a failure with its rows
    // kept (empty for a table without one).
    std::string_view keyColumn;
    std::string_view sequence;
    bool stopWhenSourceEmpty = false;
    AfterRow afterRow = AfterRow::MessagesThenNext;

    // Opens the writer, or (sellers) prepares the INSERT on the destination command. Until it
    // has succeeded the table's DELETE has not taken effect. Given 0, each row is sent as it is
    // written; otherwise rows go in blocks of at most that many rows, and it returns the queue
    // that writeRow then fills and the procedure sends.
    std::function<BlockInsert*(std::size_t mostRowsPerBlock)> prepareWriting;
    // Starts the row and fills it from the source cursor's current row. A failure here ends
    // the table.
    std::function<void()> fillRow;
    // Posts the row (or executes the INSERT), or queues it in a block. A failure here, in
    // sending its block, or in what the mode does after a written row, is the row's: its entry
    // is logged and the loop goes on.
    std::function<void()> writeRow;
    // What the row in hand logs when it is refused, taken after fillRow from the source cursor.
    std::function<RowRefusal()> refusal;
    // The sequence restart after the loop, or none. Told whether the loop handled any row.
    std::function<std::optional<SequenceRestart>(bool anyRowHandled)> sequenceRestart;
};

// Imports one table under the run's mode and records its outcome in the run:
// - sets the gauge from the count query, opens the source rows, shows the status;
// - counts the destination rows, then runs the DELETE; it takes effect only once the writer
//   is open, and a writer that cannot open leaves the destination table as it was;
// - copies every source row: a row the destination refuses is logged and the loop goes on; a
//   lost connection or the server's I/O failure while writing a row is not the row's and ends
//   the table as any other failure does (in the default mode the row is then looked for in
//   the table on an attachment of its own, and counted as handled when its commit took effect); after each row the
//   gauge advances, the window's messages are processed in the table's order, and a stop
//   request ends the loop. In the modes that send rows in blocks the rows read are sent at each
//   full block, at a stop, at the end and before a failure ends the table; a block the server
//   refuses is sent again row by row, and the log entries keep the order of the rows;
// - restarts the key sequence from the last row handled, and ends the table as the mode says;
// - any other failure, a database's or not (a log that cannot be written, an allocation that
//   fails), ends the table with its message box (and, in a mode that undoes unfinished tables,
//   puts the table back as it was). When the rows written stay and the table holds keys above
//   its sequence's value, the message and the outcome say so with both values.
// Raises nothing.
void importTable(RunState& run, const TableImport& table);

}  // namespace engine
