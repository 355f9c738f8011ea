#pragma once

#include <ostream>
#include <vector>

#include "destination_count.h"
#include "import_context.h"

namespace batch {

// One table of the run as the summary shows it: what the engine recorded and what the
// destination table held when the run was over.
struct TableSummary {
    engine::TableOutcome outcome;
    RowCount found;
};

// One line per table (rows read from the source, rows refused, rows found in the destination,
// time taken) and a total line. A line says so when read differs from found plus refused,
// when its table ended with the table-level message, and when it could not be counted.
void writeRunSummary(std::ostream& out, const std::vector<TableSummary>& tables);

// The exit status of a run that started: 0 when every table ran to its end without a refused
// row, 1 otherwise.
int exitStatusOfRun(const std::vector<engine::TableOutcome>& outcomes);

}  // namespace batch
