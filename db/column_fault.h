#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include <ibase.h>

namespace db {

// What a failure tells about the column at fault, when it can be told: the column (or
// parameter) whose value was being bound or checked, and that value as text. It travels
// beside the failure text, which stays as it is.
struct ColumnFault {
    enum class Kind {
        TextTooLong,       // a text longer than its column: length and limit in characters
        Missing,           // no value for a column that requires one
        NotConvertible,    // a value the column's type cannot take
        NotValid,          // a value the column's rules refuse
        Duplicate,         // the key columns of a row already in the table
        MissingReference,  // a foreign key's columns, whose value the referred table lacks
    };
    Kind kind;
    std::string column;  // one name, or the key's names joined by ", "
    std::string value;   // the value as text; the key's values joined by ", "
    std::size_t length = 0;
    std::size_t limit = 0;
};

// The column fault a server's status vector names, decided by its error codes and taken from
// their arguments: a validation error of a column (a null value: Missing), a duplicate key
// or a foreign key with the problematic key value. None for any other status.
std::optional<ColumnFault> columnFaultOf(const ISC_STATUS* status);

}  // namespace db
