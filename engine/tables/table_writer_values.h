#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "statement.h"
#include "table_writer.h"
#include "values.h"

namespace engine {

// One slot of a writer's row: a null flag and the value that the field's kind holds.
struct FieldValue {
    bool isNull = true;
    std::int64_t integer = 0;  // 32- and 64-bit integers; decimals in ten-thousandths
    double real = 0;           // double precision; a decimal's value when it does not fit
    // False for a decimal whose value has no count of ten-thousandths in 64 bits (too large,
    // infinite or not a number): setting it tests nothing, the post refuses it.
    bool fits = true;
    db::DateTime dateTime;  // dates (time of day 0) and timestamps
    std::string text;       // texts and blobs
    // A text's characters as the import gave it, before the writer's or the import's own cut
    // (text holds at most one character more than the column): what the source holds.
    std::size_t sourceLength = 0;

    // Back to null; the text keeps its buffer for the next row.
    void clear() {
        isNull = true;
        fits = true;
        text.clear();
    }
};

// A value set into a field, converted by the field's kind. A combination that the kind does
// not take fails with a text that starts with the owner's (the writer's) name.
void assignInteger(FieldValue& slot, const FieldDeclaration& field, std::int32_t value, std::string_view owner);
void assignDouble(FieldValue& slot, const FieldDeclaration& field, double value, std::string_view owner);
void assignText(FieldValue& slot, const FieldDeclaration& field, const std::string& value, std::string_view owner);
void assignDateTime(FieldValue& slot, const FieldDeclaration& field, const db::DateTime& value, std::string_view owner);

// A double rounded to ten-thousandths from its exact binary value, a value exactly halfway
// going to the even neighbour; none when the count does not fit in 64 bits.
std::optional<std::int64_t> tenThousandthsOf(double value);

// The failure of a post whose decimal value cannot be sent.
[[noreturn]] void throwCannotHold(const FieldValue& slot, const FieldDeclaration& field, std::string_view owner);

// A value that is not null, read as an integer or as a text.
std::int32_t integerOf(const FieldValue& slot, const FieldDeclaration& field, std::string_view owner);
std::string textOf(const FieldValue& slot, const FieldDeclaration& field);

// Sends a slot through a parameter: null as NULL, a decimal as ten-thousandths (scale -4).
void bindValue(db::Parameter& parameter, const FieldValue& slot, FieldKind kind);

// Takes a column of a row read back from the table into the slot.
void readValue(FieldValue& slot, const db::Column& column, FieldKind kind);

}  // namespace engine
