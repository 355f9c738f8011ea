#pragma once

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "run_mode.h"

namespace engine {

// How one table import of a run went.
struct TableOutcome {
    std::string destinationTable;
    std::optional<long long> rowsBefore;  // rows the destination table held before its DELETE
    int rowsRead = 0;                     // source rows the loop handled
    int rowsRefused = 0;                  // rows whose write or commit failed (each logged)
    std::optional<long long> rowsAfter;   // rows the destination table held at the table's end
    // The sequence restart that ran (or, in a preview, would run): its name and value.
    std::optional<std::string> sequenceName;
    std::optional<long long> sequenceValue;
    // The highest key in the destination table after the restart (in a preview: the highest it
    // would hold); none when the table is empty or has no sequence.
    std::optional<long long> highestKey;
    bool rowsCounted = false;  // the table counted its source rows first (the gauge's maximum)
    bool completed = true;     // false when the table ended with its table-level message
    bool interrupted = false;  // a stop request ended the table after a whole row
    bool keptAsItWas = false;  // all-or-nothing: the table's work was undone
    std::string failure;       // the table-level failure text, when it did not complete
    // A table that ended by a failure and kept keys above its sequence's value (Merak's next
    // insert would take a key that is there): the highest key and the sequence's value.
    std::optional<long long> highestKeyAboveSequence;
    std::optional<long long> sequenceLeftAt;
    // The key of the row in flight when the connection was lost, when the server could not be
    // reached to tell whether its commit took effect.
    std::optional<std::string> lastRowUnknown;
    double seconds = 0;

    // The sequence was left below a key the table holds: Merak's next new record would draw a
    // key that is already there.
    bool sequenceBehind() const { return sequenceValue && highestKey && *sequenceValue < *highestKey; }
};

// One row that the destination refused, for the window's list of refusals and recusadas.csv.
struct RefusedRow {
    std::string table;   // "CLIENTES"
    std::string key;     // the source key as the table's log entry writes it
    std::string reason;  // the first line of the failure text
    // The destination column at fault when the failure names it (the key's columns for a
    // duplicate or a foreign key, joined by ", "), and the value that was sent for it.
    std::string column;
    std::string value;
    // What went wrong in Portuguese, the same for every row refused alike
    // ("Texto longo demais para NOME (máximo 50)"), and what to change for this row
    // ("NOME tem 51 caracteres; o Merak aceita 50 — encurte esse texto no cliente 16 no Tavlo").
    std::string cause;
    std::string advice;
    std::string serverText;  // the whole failure text
    // The source row's columns as read, name and value, in the source's order.
    std::vector<std::pair<std::string, std::string>> sourceRow;
};

// How many of a run's refused rows share a table and a cause.
struct RefusalCount {
    std::string table;
    std::string cause;  // RefusedRow::cause
    long long rows = 0;
};

// Adds one refused row to its count, a new count at the end for a table and cause not met
// before. The causes of a table are few (a kind of fault per column), so the list stays short
// however many rows are refused.
inline void countRefusal(std::vector<RefusalCount>& counts, const RefusedRow& row) {
    for (RefusalCount& count : counts)
        if (count.table == row.table && count.cause == row.cause) {
            ++count.rows;
            return;
        }
    counts.push_back({row.table, row.cause, 1});
}

// A server backup of the destination, made by a run before it emptied anything.
struct SafetyCopy {
    std::string path;  // the copy file, written by this program beside the destination
    long long bytes = 0;
    std::string database;  // the destination's file name as the server sees it
};

// One of the run's two logs.
struct LogReport {
    std::string folder;  // where its entries are: the program folder or the user's data folder
    std::string fileName;
    std::size_t entries = 0;
    // Why the program folder could not take the log; empty when it did.
    std::string programFolderFailure;
    // Entries that no folder could take: they are written nowhere.
    std::size_t lostEntries = 0;
};

// How a run ended.
enum class RunEnd {
    // Before anything was emptied: no table ticked, a connection failure, the same database
    // twice, a destination another run imports into, or No at the confirmation.
    NotStarted,
    // The safety copy failed and importing without one was not accepted: nothing emptied.
    StoppedWithoutCopy,
    // Every ticked table was reached (each may have failed on its own).
    Finished,
    // A stop request ended the run at a row boundary.
    Stopped,
    // A failure that the run does not handle (a log that no folder could take) ended it.
    Failed,
};

// What a front end gets back from an import run.
struct RunReport {
    RunEnd end = RunEnd::NotStarted;
    RunMode mode = RunMode::Default;
    std::time_t startedAt = 0;  // when the run was asked for
    // The server of each database and its version ("Firebird 4.0.5, localhost/3051"), once
    // both were connected; empty before.
    std::string origemServer;
    std::string destinoServer;
    // The table imports, in the order they ran.
    std::vector<TableOutcome> tables;
    // The rows refused, in order; bounded, so that memory does not grow with the refusals
    // (refusedRowsLeftOut counts the rest).
    std::vector<RefusedRow> refusedRows;
    long long refusedRowsLeftOut = 0;
    // Every refused row, listed or not, counted by table and cause in the order first met.
    std::vector<RefusalCount> refusalCounts;
    std::optional<SafetyCopy> copy;
    // quorel.log and quorel2.log (or the preview's), once the run got past its confirmation.
    std::vector<LogReport> logs;
    // recusadas.csv (or the preview's): one line per refused row, all of them.
    std::optional<LogReport> refusals;
    // The text of the failure that ended a Failed run.
    std::string failure;

    // True once the run got past its confirmation (and its safety copy).
    bool started() const { return end != RunEnd::NotStarted && end != RunEnd::StoppedWithoutCopy; }
    // Entries of both logs together.
    std::size_t logEntries() const {
        std::size_t entries = 0;
        for (const LogReport& log : logs) entries += log.entries;
        return entries;
    }
};

}  // namespace engine
