#include "table_import.h"

#include <chrono>

#include "database_error.h"

namespace engine {

namespace {

// Closes a statement object and gives it a new text.
void setStatement(db::Statement& statement, std::string_view text) {
    statement.close();
    statement.setText(text);
}

void runCommand(db::Statement& command, std::string_view text) {
    setStatement(command, text);
    command.execute();
    command.transaction().commitRetaining();
}

}  // namespace

void importTable(ImportContext& context, const TableImport& table) {
    WindowSeam& window = context.window;
    db::Statement& origem = context.IBQueryOrigem;
    db::Statement& destino = context.IBQueryFireBird;
    TableOutcome& outcome = context.outcomes.emplace_back();
    outcome.destinationTable = table.destinationTable;
    const auto started = std::chrono::steady_clock::now();
    try {
        if (!table.countQuery.empty()) {
            setStatement(origem, table.countQuery);
            origem.open();
            window.setGaugeMaximum(origem.column("QTD").asInteger());
            window.setGaugeMinimum(0);
            window.setGaugePosition(0);
        }
        setStatement(origem, table.sourceQuery);
        origem.open();
        window.setStatus(std::string(table.status));
        window.processMessages();
        runCommand(destino, table.deleteStatement);
        table.prepareWriting();
        if (!(table.stopWhenSourceEmpty && origem.isEmpty())) {
            for (origem.first(); !origem.eof();) {
                table.fillRow();
                try {
                    table.writeRow();
                } catch (const db::DatabaseError& failure) {
                    ++outcome.rowsRefused;
                    table.logFailure(failure.text());
                }
                ++outcome.rowsRead;
                context.afterRow();
                window.setGaugePosition(window.gaugePosition() + 1);
                switch (table.afterRow) {
                case AfterRow::MessagesThenNext:
                    window.processMessages();
                    origem.next();
                    break;
                case AfterRow::NextOnly:
                    origem.next();
                    break;
                case AfterRow::NextThenMessages:
                    origem.next();
                    window.processMessages();
                    break;
                }
            }
            if (const std::optional<std::string> restart = table.restartStatement(outcome.rowsRead > 0))
                runCommand(destino, *restart);
        }
    } catch (const db::DatabaseError& failure) {
        outcome.completed = false;
        window.showPlainMessage(std::string(table.failureMessage) + "\r\n" + failure.text());
    }
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

}  // namespace engine
