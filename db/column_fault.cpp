#include "column_fault.h"

#include <string_view>
#include <vector>

#include "server_lines.h"
#include "status_items.h"

namespace db {

namespace {

// A quoted name, "NAME" with "" for a quote inside it; the position moves past it.
std::string quotedName(std::string_view text, std::size_t& at) {
    std::string name;
    for (++at; at < text.size(); ++at) {
        if (text[at] == '"') {
            if (at + 1 < text.size() && text[at + 1] == '"') {
                name += '"';
                ++at;
                continue;
            }
            ++at;
            break;
        }
        name += text[at];
    }
    return name;
}

// The column of a validation error: the last name of "TABLE"."COLUMN".
std::string columnOf(std::string_view qualified) {
    std::string column(qualified);
    for (std::size_t at = 0; at < qualified.size();) {
        if (qualified[at] == '"') {
            column = quotedName(qualified, at);
        } else {
            ++at;
        }
    }
    return column;
}

// A key value as the server gives it: ("A" = 1, "B" = 'text'), into the names and the values,
// each joined by ", ".
void keyValue(std::string_view text, ColumnFault& fault) {
    std::vector<std::string> names;
    std::vector<std::string> values;
    std::size_t at = text.find('"');
    while (at != std::string_view::npos && at < text.size()) {
        names.push_back(quotedName(text, at));
        at = text.find('=', at);
        if (at == std::string_view::npos) break;
        ++at;
        while (at < text.size() && text[at] == ' ') ++at;
        std::string value;
        if (at < text.size() && text[at] == '\'') {
            // A quoted text, '' for a quote inside it.
            for (++at; at < text.size(); ++at) {
                if (text[at] == '\'') {
                    if (at + 1 < text.size() && text[at + 1] == '\'') {
                        value += '\'';
                        ++at;
                        continue;
                    }
                    ++at;
                    break;
                }
                value += text[at];
            }
        } else {
            while (at < text.size() && text[at] != ',' && text[at] != ')') value += text[at++];
        }
        values.push_back(value);
        at = text.find('"', at);
    }
    auto joined = [](const std::vector<std::string>& parts) {
        std::string text;
        for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
        return text;
    };
    fault.column = joined(names);
    fault.value = joined(values);
}

// How a validation error marks a null value.
constexpr std::string_view kNullValue = "*** null ***";

}  // namespace

std::optional<ColumnFault> columnFaultOf(const ISC_STATUS* status) {
    const std::vector<StatusItem> items = itemsOf(status);
    if (const StatusItem* invalid = find(items, isc_not_valid); invalid && invalid->texts.size() >= 2) {
        const bool isNull = invalid->texts[1] == kNullValue;
        return ColumnFault{isNull ? ColumnFault::Kind::Missing : ColumnFault::Kind::NotValid,
                           columnOf(invalid->texts[0]), isNull ? std::string() : invalid->texts[1]};
    }
    const bool duplicate = find(items, isc_unique_key_violation) != nullptr;
    if (duplicate || find(items, isc_foreign_key) != nullptr) {
        ColumnFault fault{duplicate ? ColumnFault::Kind::Duplicate : ColumnFault::Kind::MissingReference, {}, {}};
        if (const StatusItem* key = find(items, isc_idx_key_value); key && !key->texts.empty())
            keyValue(key->texts.front(), fault);
        return fault;
    }
    if (const StatusItem* limits = find(items, isc_trunc_limits); limits && limits->numbers.size() >= 2)
        return ColumnFault{ColumnFault::Kind::TextTooLong,
                           {},
                           {},
                           static_cast<std::size_t>(limits->numbers[1]),
                           static_cast<std::size_t>(limits->numbers[0])};
    return std::nullopt;
}

}  // namespace db
