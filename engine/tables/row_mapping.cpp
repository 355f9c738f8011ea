#include "row_mapping.h"

#include "database_error.h"
#include "refused_row.h"

namespace engine {

MappedColumn mappedColumn(const WriterField& field, bool today) {
    // The slot is there once a row was started, which the caller's fill does first.
    return {field.declaration(), [&field]() -> const FieldValue& { return *field.slot(); }, today};
}

std::optional<std::string> writerRefusal(const TableWriter& writer) {
    try {
        writer.checkRow();
        return std::nullopt;
    } catch (const db::DatabaseError& failure) {
        return refusalCause(failure.columnFault());
    }
}

}  // namespace engine
