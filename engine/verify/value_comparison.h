#pragma once

#include <string>

#include "statement.h"
#include "table_writer.h"
#include "table_writer_values.h"

namespace engine {

// How a value that the import sends compares with what the destination column holds.

// The value the column holds once the server has stored the sent value: decimals at the
// column's scale (rounded half away from zero, as the server does), texts through the
// destination's code page, CHAR and VARCHAR texts without trailing blanks.
FieldValue storedValue(const FieldValue& sent, const FieldDeclaration& field, const db::FieldDescription& column);

// The column's value read back the same way: texts without trailing blanks.
FieldValue destinationValue(const db::Column& column, FieldKind kind);

// Whether two stored values are the same. A value set to the moment of the row ("today")
// matches any moment of the given earliest day or later, up to the day of the expected value.
bool sameValue(const FieldValue& expected, const FieldValue& actual, FieldKind kind,
               const db::FieldDescription& column);
bool sameDayOrLater(const FieldValue& expected, const FieldValue& actual, int earliestDay);

// A value as shown in the comparison's reports; "(nulo)" for null.
std::string shownValue(const FieldValue& value, const FieldDeclaration& field);

}  // namespace engine
