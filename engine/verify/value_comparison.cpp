#include "value_comparison.h"

#include <cstdint>

#include "codepage.h"
#include "table_writer_columns.h"

namespace engine {

namespace {

// Decimals are sent in ten-thousandths.
constexpr int kSentPlaces = 4;

// A count of ten-thousandths at a column with fewer places, rounded half away from zero,
// and back in ten-thousandths.
std::int64_t atColumnScale(std::int64_t tenThousandths, int places) {
    std::int64_t unit = 1;
    for (int p = places; p < kSentPlaces; ++p) unit *= 10;
    if (unit == 1) return tenThousandths;
    const std::int64_t whole = tenThousandths / unit;
    const std::int64_t rest = tenThousandths % unit;
    std::int64_t rounded = whole;
    if (2 * rest >= unit) ++rounded;
    if (2 * rest <= -unit) --rounded;
    return rounded * unit;
}

void dropTrailingBlanks(std::string& text) {
    const std::size_t end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
}

}  // namespace

FieldValue storedValue(const FieldValue& sent, const FieldDeclaration& field, const db::FieldDescription& column) {
    FieldValue stored = sent;
    if (sent.isNull) return stored;
    switch (field.kind) {
    case FieldKind::Decimal:
        stored.integer = atColumnScale(sent.integer, -column.scale);
        break;
    case FieldKind::Double:
        if (column.type == SQL_FLOAT) stored.real = static_cast<float>(sent.real);
        break;
    case FieldKind::Text:
    case FieldKind::FixedText:
        stored.text = db::fromCodePage(db::toCodePage(sent.text));
        dropTrailingBlanks(stored.text);
        break;
    default:
        break;
    }
    return stored;
}

FieldValue destinationValue(const db::Column& column, FieldKind kind) {
    FieldValue value;
    readValue(value, column, kind);
    if (!value.isNull && (kind == FieldKind::Text || kind == FieldKind::FixedText)) dropTrailingBlanks(value.text);
    return value;
}

bool sameValue(const FieldValue& expected, const FieldValue& actual, FieldKind kind,
               const db::FieldDescription& column) {
    if (expected.isNull || actual.isNull) return expected.isNull == actual.isNull;
    switch (kind) {
    case FieldKind::Integer:
    case FieldKind::BigInteger:
    case FieldKind::Decimal:
        return expected.integer == actual.integer;
    case FieldKind::Double:
        if (column.type == SQL_FLOAT) return static_cast<float>(expected.real) == static_cast<float>(actual.real);
        return expected.real == actual.real;
    case FieldKind::Date:
    case FieldKind::DateTime:
        return expected.dateTime.day == actual.dateTime.day && expected.dateTime.time == actual.dateTime.time;
    default:
        return expected.text == actual.text;
    }
}

bool sameDayOrLater(const FieldValue& expected, const FieldValue& actual, int earliestDay) {
    if (expected.isNull || actual.isNull) return expected.isNull == actual.isNull;
    return actual.dateTime.day >= earliestDay && actual.dateTime.day <= expected.dateTime.day;
}

std::string shownValue(const FieldValue& value, const FieldDeclaration& field) {
    if (value.isNull) return "(nulo)";
    return textOf(value, field);
}

}  // namespace engine
