#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run_state.h"
#include "table_writer.h"
#include "table_writer_values.h"

namespace engine {

// A destination column that a table's import writes, and where the filled row holds its value.
struct MappedColumn {
    FieldDeclaration declaration;  // the column's name, the kind of value sent and its scale
    // The value in the row just filled, as it is sent.
    std::function<const FieldValue&()> value;
    // Set to the moment the row was filled rather than from the source.
    bool today = false;
};

// How one table's import turns the source cursor's current row into the row it sends. The
// import and the comparison with the destination fill their rows through the same mapping,
// so that the comparison expects exactly what the import writes.
struct RowMapping {
    std::string_view sourceTable;       // "CLIENTE"
    std::string_view sourceKey;         // "CODIGO"
    std::string_view destinationTable;  // "CLIENTES"
    std::string_view sequence;          // restarted after the table; empty for none
    // Makes rows ready to be filled: opens the writer, or prepares the sellers' INSERT on the
    // destination command.
    std::function<void()> prepare;
    // Makes rows ready to be filled and checked (refusal) but not written, preparing nothing
    // that writes: what a comparison needs, with no right but SELECT.
    std::function<void()> prepareChecks;
    // Starts the row and fills it from the source cursor's (IBQueryOrigem's) current row.
    std::function<void()> fill;
    // Why the import refuses the row just filled before the server sees it, in Portuguese with
    // the column at fault (refusalCause); none when it does not.
    std::function<std::optional<std::string>()> refusal;
    // The columns that the import sets, the key first.
    std::vector<MappedColumn> columns;
};

// The five mappings, bound to the run's session (its source cursor, writers, destination
// command) and lookups.
RowMapping clientesMapping(RunState& run);
RowMapping fornecedoresMapping(RunState& run);
RowMapping gruposMapping(RunState& run);
RowMapping produtosMapping(RunState& run);
RowMapping vendedoresMapping(RunState& run);

// The mapped column of a writer's field; helpers for the mappings above.
MappedColumn mappedColumn(const WriterField& field, bool today = false);
// A writer's own refusal of its current row (TableWriter::checkRow), as its cause.
std::optional<std::string> writerRefusal(const TableWriter& writer);

}  // namespace engine
