#include "table_writer_values.h"

#include <cmath>
#include <limits>

#include "database_error.h"
#include "regional_format.h"
#include "text.h"

namespace engine {

namespace {

// A decimal field holds its value as a count of ten-thousandths.
constexpr int kDecimalScale = -4;
constexpr std::int64_t kTenThousand = 10'000;

// Wide enough for a 53-bit mantissa times ten thousand, shifted.
__extension__ typedef unsigned __int128 Wide;

[[noreturn]] void fieldFailure(std::string_view owner, const FieldDeclaration& field, const std::string& what) {
    throw db::DatabaseError(std::string(owner) + ": Field '" + std::string(field.name) + "' " + what);
}

// A stored exact number (stored × 10^scale) as ten-thousandths; a column with more places
// is rounded, a half going to the even neighbour.
std::int64_t tenThousandths(std::int64_t stored, int scale) {
    for (; scale > kDecimalScale; --scale) stored *= 10;
    std::int64_t divisor = 1;
    for (; scale < kDecimalScale; ++scale) divisor *= 10;
    return db::divideRoundingHalfToEven(stored, divisor);
}

}  // namespace

std::optional<std::int64_t> tenThousandthsOf(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    // value = mantissa × 2^exponent exactly, the mantissa a 53-bit integer; the count is
    // mantissa × 10000 × 2^exponent, rounded once.
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);
    const auto mantissa = static_cast<std::int64_t>(std::ldexp(fraction, 53));
    exponent -= 53;
    const Wide product = static_cast<Wide>(mantissa) * kTenThousand;  // below 2^67
    Wide magnitude = 0;
    if (exponent >= 0) {
        if (exponent > 63) return std::nullopt;
        magnitude = product << exponent;
        if ((magnitude >> exponent) != product) return std::nullopt;
    } else if (exponent > -68) {
        const int shift = -exponent;
        magnitude = product >> shift;
        const Wide remainder = product - (magnitude << shift);
        const Wide half = static_cast<Wide>(1) << (shift - 1);
        if (remainder > half || (remainder == half && (magnitude & 1) != 0)) ++magnitude;
    }
    // Far below one ten-thousandth (the product is under 2^67) the count is 0.
    constexpr auto kLargest = static_cast<Wide>(std::numeric_limits<std::int64_t>::max());
    if (magnitude > kLargest) return std::nullopt;
    const auto count = static_cast<std::int64_t>(magnitude);
    return value < 0 ? -count : count;
}

void throwCannotHold(const FieldValue& slot, const FieldDeclaration& field, std::string_view owner) {
    const std::string value = db::formatDouble(slot.real, kRegionalFormat);
    throw db::DatabaseError(std::string(owner) + ": Field '" + std::string(field.name) + "' cannot hold " + value)
        .withColumnFault({db::ColumnFault::Kind::NotConvertible, std::string(field.name), value});
}

void assignInteger(FieldValue& slot, const FieldDeclaration& field, std::int32_t value, std::string_view owner) {
    switch (field.kind) {
    case FieldKind::Integer:
    case FieldKind::BigInteger:
        slot.integer = value;
        break;
    case FieldKind::Decimal:
        slot.integer = value * kTenThousand;
        break;
    case FieldKind::Double:
        slot.real = value;
        break;
    case FieldKind::Text:
    case FieldKind::FixedText:
        // Its decimal text: "-" before a negative value, no leading zeros, no separators.
        assignText(slot, field, std::to_string(value), owner);
        return;
    default:
        fieldFailure(owner, field, "cannot be set as an integer");
    }
    slot.isNull = false;
}

void assignDouble(FieldValue& slot, const FieldDeclaration& field, double value, std::string_view owner) {
    switch (field.kind) {
    case FieldKind::Decimal: {
        const std::optional<std::int64_t> count = tenThousandthsOf(value);
        slot.fits = count.has_value();
        slot.integer = count.value_or(0);
        slot.real = value;
        break;
    }
    case FieldKind::Double:
        slot.real = value;
        break;
    default:
        fieldFailure(owner, field, "cannot be set as a floating-point number");
    }
    slot.isNull = false;
}

void assignText(FieldValue& slot, const FieldDeclaration& field, const std::string& value, std::string_view owner) {
    if (field.kind != FieldKind::Text && field.kind != FieldKind::FixedText)
        fieldFailure(owner, field, "cannot be set as a text");
    if (value.empty()) {
        slot.clear();
        return;
    }
    // One character more than the field takes, so that the post can tell a text too long.
    slot.text = db::firstCharacters(value, static_cast<std::size_t>(field.length) + 1);
    slot.sourceLength = db::characterCount(value);
    slot.isNull = false;
}

void assignDateTime(FieldValue& slot, const FieldDeclaration& field, const db::DateTime& value,
                    std::string_view owner) {
    switch (field.kind) {
    case FieldKind::Date:
        slot.dateTime = db::DateTime{value.day, 0};
        break;
    case FieldKind::DateTime:
        slot.dateTime = value;
        break;
    default:
        fieldFailure(owner, field, "cannot be set as a date");
    }
    slot.isNull = false;
}

std::int32_t integerOf(const FieldValue& slot, const FieldDeclaration& field, std::string_view owner) {
    switch (field.kind) {
    case FieldKind::Integer:
    case FieldKind::BigInteger:
        return db::roundScaled(slot.integer, 0, kRegionalFormat);
    case FieldKind::Decimal:
        return slot.fits ? db::roundScaled(slot.integer, kDecimalScale, kRegionalFormat)
                         : db::roundDouble(slot.real, kRegionalFormat);
    case FieldKind::Double:
        return db::roundDouble(slot.real, kRegionalFormat);
    case FieldKind::Date:
    case FieldKind::DateTime:
        fieldFailure(owner, field, "cannot be read as an integer");
    default: {
        const std::optional<std::int32_t> value = db::parseInteger(slot.text);
        if (!value) db::throwNotAnInteger(slot.text);
        return *value;
    }
    }
}

std::string textOf(const FieldValue& slot, const FieldDeclaration& field) {
    switch (field.kind) {
    case FieldKind::Integer:
    case FieldKind::BigInteger:
        return std::to_string(slot.integer);
    case FieldKind::Decimal:
        return slot.fits ? db::formatScaled(slot.integer, kDecimalScale, kRegionalFormat)
                         : db::formatDouble(slot.real, kRegionalFormat);
    case FieldKind::Double:
        return db::formatDouble(slot.real, kRegionalFormat);
    case FieldKind::Date:
        return db::formatDate(slot.dateTime, kRegionalFormat);
    case FieldKind::DateTime:
        return db::formatTimestamp(slot.dateTime, kRegionalFormat);
    default:
        return slot.text;
    }
}

void bindValue(db::Parameter& parameter, const FieldValue& slot, FieldKind kind) {
    if (slot.isNull) {
        parameter.setNull();
        return;
    }
    switch (kind) {
    case FieldKind::Integer:
        parameter.setInteger(static_cast<std::int32_t>(slot.integer));
        break;
    case FieldKind::BigInteger:
        parameter.setBigInteger(slot.integer);
        break;
    case FieldKind::Decimal:
        parameter.setScaled(slot.integer, kDecimalScale);
        break;
    case FieldKind::Double:
        parameter.setDouble(slot.real);
        break;
    case FieldKind::Date:
        parameter.setDate(slot.dateTime);
        break;
    case FieldKind::DateTime:
        parameter.setTimestamp(slot.dateTime);
        break;
    default:
        parameter.setText(slot.text);
        break;
    }
}

void readValue(FieldValue& slot, const db::Column& column, FieldKind kind) {
    if (column.isNull()) {
        slot.clear();
        return;
    }
    switch (kind) {
    case FieldKind::Integer:
    case FieldKind::BigInteger:
        slot.integer = column.asStoredInteger();
        break;
    case FieldKind::Decimal:
        slot.integer = tenThousandths(column.asStoredInteger(), column.description().scale);
        break;
    case FieldKind::Double:
        slot.real = column.asDouble();
        break;
    case FieldKind::Date:
    case FieldKind::DateTime:
        slot.dateTime = column.asDateTime();
        break;
    default:
        slot.text = column.asText();
        break;
    }
    slot.isNull = false;
}

}  // namespace engine
