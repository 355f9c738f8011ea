#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "batch_options.h"
#include "destination_count.h"
#include "run_report.h"

namespace batch {

// One table of the run as the summary shows it: what the engine recorded and what the
// destination table held when the run was over.
struct TableSummary {
    engine::TableOutcome outcome;
    RowCount found;
};

// How the run went as a whole, for the summary's head and notes.
struct RunSummary {
    DatabasePaths paths;  // the paths the run used
    // Each database's server and its version, when the run connected them.
    std::string origemServer;
    std::string destinoServer;
    bool preview = false;  // nothing was written: "after" is what the destination would hold
    // The signal that stopped the run ("SIGINT", "SIGTERM"), or empty.
    std::string stopSignalName;
    std::vector<TableSummary> tables;
};

// The two paths used, each database's server when known, then one line per table: rows in the destination before, rows
// read from the source, rows refused, rows in the destination after (in a preview: what it would hold), time taken, the
// value the key sequence was restarted with; and a total line. A line says so when read differs from after plus
// refused, when its table ended with the table-level message, was stopped by a signal, was kept as it was, or could not
// be counted.
void writeRunSummary(std::ostream& out, const RunSummary& summary);

// The exit status of a run that started: 0 when every table ran to its end and the run made
// no log entry, 1 otherwise.
int exitStatusOfRun(const std::vector<engine::TableOutcome>& outcomes, std::size_t logEntries);

}  // namespace batch
