#pragma once

#include <string>
#include <vector>

#include "import_session.h"
#include "lookup_cache.h"
#include "progress.h"
#include "run_log_file.h"
#include "run_mode.h"
#include "run_prompter.h"
#include "run_report.h"

namespace engine {

// What the five table imports of one run share: the window's database objects, the run's
// mode, the progress it shows, the prompter of its message boxes, its two logs, the answers of its lookups and what it
// records of each table. Made for one run (or, in tests, for table imports called on their own).
class RunState {
public:
    RunState(ImportSession& session, RunMode mode, RunObserver& observer, RunPrompter& prompter);

    ImportSession& session;
    const RunMode mode;
    const Progress progress;
    RunPrompter& prompter;

    // The run's error log and duplicate-client log: entries in the order they were made. While
    // the run's log files are open, flushLogs() moves the entries made so far to them after
    // each row: a run that is killed leaves every entry it made, and the lists stay short.
    // Otherwise the lists keep their entries.
    std::vector<std::string> LogErros;
    std::vector<std::string> LogClienteRepetido;
    RunLogs runLogs;
    void flushLogs() { runLogs.drain(LogErros, LogClienteRepetido); }

    // The most rows sent to the server in one block, in the modes that send rows in blocks; a
    // table with wide rows sends fewer.
    std::size_t mostRowsPerBlock = 50;

    // The answers of the city and CEST lookups in this run.
    LookupCache lookups;
    // The table imports in the order they ran, and the rows they refused.
    std::vector<TableOutcome> outcomes;
    std::vector<RefusedRow> refusedRows;
    long long refusedRowsLeftOut = 0;
    std::vector<RefusalCount> refusalCounts;
};

}  // namespace engine
