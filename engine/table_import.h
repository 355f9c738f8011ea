#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "import_context.h"

namespace engine {

// What the window processes after each row, and when, relative to moving the source cursor.
enum class AfterRow {
    MessagesThenNext,  // clients, suppliers, sellers
    NextOnly,          // product groups: no messages between rows
    NextThenMessages,  // products
};

// The values in which the five table imports differ; the procedure is importTable.
struct TableImport {
    std::string_view destinationTable;  // "CLIENTES", for the run's record of outcomes
    std::string_view countQuery;       // empty: the gauge is left as it is
    std::string_view sourceQuery;      // "SELECT * FROM ..."
    std::string_view status;           // "Importando ..."
    std::string_view deleteStatement;  // " DELETE FROM ... "
    std::string_view failureMessage;   // "Falha na importação da tabela de ..., Falha: "
    bool stopWhenSourceEmpty = false;
    AfterRow afterRow = AfterRow::MessagesThenNext;

    // Step 5: opens the writer, or (sellers) sets the INSERT text on the destination command.
    std::function<void()> prepareWriting;
    // Step 7.1 and 7.2: starts the row and fills it from the source cursor's current row.
    // A failure here ends the table.
    std::function<void()> fillRow;
    // Step 7.3: posts the row (or executes the INSERT) and commits with retention. A failure
    // here is the row's: logFailure is called with its text and the loop goes on.
    std::function<void()> writeRow;
    std::function<void(const std::string& failureText)> logFailure;
    // Step 8: the full restart statement, or none. Told whether the loop handled any row.
    std::function<std::optional<std::string>(bool anyRowHandled)> restartStatement;
};

// Empties the destination table, copies every source row, restarts the key sequence; a
// failure of a row is logged and the loop goes on, any other failure ends the table with its
// message. Records the table's outcome in the context. Raises no database failure.
void importTable(ImportContext& context, const TableImport& table);

}  // namespace engine
