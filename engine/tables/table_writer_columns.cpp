#include "table_writer_columns.h"

#include <ibase.h>

namespace engine {

namespace {

bool isExactNumeric(const db::FieldDescription& column) {
    return column.type == SQL_SHORT || column.type == SQL_LONG || column.type == SQL_INT64;
}

// An exact numeric declared as NUMERIC or DECIMAL rather than SMALLINT, INTEGER or BIGINT.
bool isScaledNumeric(const db::FieldDescription& column) {
    return isExactNumeric(column) && (column.scale < 0 || column.subType != 0);
}

}  // namespace

bool isTextColumn(const db::FieldDescription& column) { return column.type == SQL_TEXT || column.type == SQL_VARYING; }

bool suitsKind(const db::FieldDescription& column, FieldKind kind) {
    switch (kind) {
    case FieldKind::Integer:
        return column.type == SQL_LONG && !isScaledNumeric(column);
    case FieldKind::BigInteger:
        return column.type == SQL_INT64 && !isScaledNumeric(column);
    case FieldKind::Decimal:
        return isScaledNumeric(column);
    case FieldKind::Double:
        return column.type == SQL_DOUBLE || column.type == SQL_FLOAT || column.type == SQL_D_FLOAT;
    case FieldKind::Text:
    case FieldKind::FixedText:
        return isTextColumn(column);
    case FieldKind::Date:
        return column.type == SQL_TYPE_DATE;
    case FieldKind::DateTime:
        return column.type == SQL_TIMESTAMP;
    case FieldKind::TextBlob:
    case FieldKind::Blob:
        return column.type == SQL_BLOB;
    }
    return false;
}

std::string typeName(FieldKind kind) {
    switch (kind) {
    case FieldKind::Integer:
        return "INTEGER";
    case FieldKind::BigInteger:
        return "BIGINT";
    case FieldKind::Decimal:
        return "NUMERIC";
    case FieldKind::Double:
        return "DOUBLE PRECISION";
    case FieldKind::Text:
        return "VARCHAR";
    case FieldKind::FixedText:
        return "CHAR";
    case FieldKind::Date:
        return "DATE";
    case FieldKind::DateTime:
        return "TIMESTAMP";
    case FieldKind::TextBlob:
    case FieldKind::Blob:
        return "BLOB";
    }
    return "UNKNOWN";
}

std::string typeName(const db::FieldDescription& column) {
    if (isScaledNumeric(column)) return column.subType == 2 ? "DECIMAL" : "NUMERIC";
    switch (column.type) {
    case SQL_SHORT:
        return "SMALLINT";
    case SQL_LONG:
        return "INTEGER";
    case SQL_INT64:
        return "BIGINT";
    case SQL_FLOAT:
        return "FLOAT";
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return "DOUBLE PRECISION";
    case SQL_TEXT:
        return "CHAR";
    case SQL_VARYING:
        return "VARCHAR";
    case SQL_TYPE_DATE:
        return "DATE";
    case SQL_TYPE_TIME:
        return "TIME";
    case SQL_TIMESTAMP:
        return "TIMESTAMP";
    case SQL_BLOB:
        return "BLOB";
    case SQL_BOOLEAN:
        return "BOOLEAN";
    default:
        return "SQL type " + std::to_string(column.type);
    }
}

}  // namespace engine
