#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "database_error.h"
#include "run_report.h"
#include "statement.h"

namespace engine {

using SourceRow = std::vector<std::pair<std::string, std::string>>;

// The source row's columns, names and values as text, as the cursor holds them now: taken when
// the row is written, since in blocks its refusal is known only after the cursor moved on.
SourceRow sourceRowOf(const db::Statement& cursor);

// A refused row as the technician reads it: the column at fault and the value sent for it, as
// the failure carries them (never guessed from its text), what went wrong and what to change
// in Portuguese, the server's whole text, and the source row's columns.
RefusedRow refusedRowOf(std::string_view table, std::string key, const db::DatabaseError& failure, SourceRow sourceRow);

// What went wrong in Portuguese with the column at fault, the same for every row refused
// alike ("Texto longo demais para NOME (máximo 50)"): the cause of a refused row in the
// outcome view and the report, and the explanation of a row that the comparison finds
// missing because the import refuses it.
std::string refusalCause(const std::optional<db::ColumnFault>& fault);

// The cause and the advice of a refused row whose table, key, column and value are filled,
// from the failure's column fault (none: a refusal the system cannot tell more about).
void explainRefusal(RefusedRow& row, const std::optional<db::ColumnFault>& fault);

}  // namespace engine
