#pragma once

#include <string>
#include <string_view>

#include "database_error.h"
#include "run_report.h"
#include "statement.h"

namespace engine {

// A refused row as the technician reads it: the column at fault and the value sent for it, as
// the failure carries them (never guessed from its text), what went wrong and what to change
// in Portuguese, the server's whole text, and the source row's columns as the cursor holds them.
RefusedRow refusedRowOf(std::string_view table, std::string key, const db::DatabaseError& failure,
                        const db::Statement& sourceRow);

// The cause and the advice of a refused row whose table, key, column and value are filled,
// from the failure's column fault (none: a refusal the system cannot tell more about).
void explainRefusal(RefusedRow& row, const std::optional<db::ColumnFault>& fault);

}  // namespace engine
