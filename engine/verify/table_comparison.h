#pragma once

#include "conference_file.h"
#include "logged_refusals.h"
#include "row_mapping.h"
#include "run_state.h"
#include "verification_report.h"

namespace engine {

// The findings of each kind that a table's check keeps for the summary.
inline constexpr std::size_t kFindingsKept = 20;

// Compares one destination table with what its import makes of the source rows. Both sides
// are read in key order and walked together, one row of each at a time; the source's ties in
// the order the import meets them (RDB$DB_KEY), so that of two source rows with one key the
// first that the import would write is the one compared. Each source row is filled through
// the table's mapping, exactly as the import fills it, and checked as the import checks it,
// with nothing prepared that writes (the right to SELECT is enough); only the columns the
// mapping sets are compared. A source row without its destination row is explained by what
// the import refuses in the current row before the server (its writer's checks, a key the
// source repeats, a null key) or by what the destination refused in the last run from this
// source into this destination (logged); a key is found missing once. Every finding goes to
// the file; the check keeps the first few of each kind. "Today" columns match a moment from
// earliestTodayDay to the comparison's day. A sequence that the user may not read is told in
// the check. Raises nothing: a failure or a stop request ends the table's check with why.
TableCheck compareTable(RunState& run, const RowMapping& mapping, const LoggedRefusals& logged, ConferenceFile& file,
                        int earliestTodayDay);

}  // namespace engine
