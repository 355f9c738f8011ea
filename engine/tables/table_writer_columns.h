#pragma once

#include <string>

#include "statement.h"
#include "table_writer.h"

namespace engine {

// How the declared fields of a writer meet the columns of its table.

// Whether a column can hold what a field of the kind holds. The two text kinds take CHAR and
// VARCHAR columns alike; a decimal takes any exact numeric column with a scale or a NUMERIC
// or DECIMAL subtype, whatever its scale (compared apart).
bool suitsKind(const db::FieldDescription& column, FieldKind kind);

// The SQL type names shown in the type-mismatch failure: the type a kind stands for, and
// the type of a described column.
std::string typeName(FieldKind kind);
std::string typeName(const db::FieldDescription& column);

// A CHAR or VARCHAR column or parameter.
bool isTextColumn(const db::FieldDescription& column);

}  // namespace engine
