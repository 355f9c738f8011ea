#include "terminal_progress.h"

#include <gtest/gtest.h>

#include <sstream>

#include "progress.h"
#include "terminal_window.h"

namespace {

using namespace std::chrono_literals;

// Drives the terminal window as the engine does for a table that counts its rows first
// (clients) and one that does not (product groups), with the given number of rows each.
std::string progressOf(std::chrono::milliseconds interval, int rows) {
    std::ostringstream errors;
    std::istringstream input;
    batch::TerminalProgress progress(errors, false, interval);
    batch::TerminalWindow window({input, errors, false}, progress, true);
    engine::GaugeModel gauge;
    const engine::Progress shown(gauge, window);
    window.phaseChanged(engine::RunPhase::Running);

    for (const char* table : {"CLIENTES", "GRUPO"}) {
        engine::TableOutcome outcome;
        outcome.destinationTable = table;
        outcome.rowsCounted = outcome.destinationTable == "CLIENTES";
        window.tableStarted(outcome);
        if (outcome.rowsCounted) {
            shown.setGaugeMaximum(rows);
            shown.setGaugeMinimum(0);
            shown.setGaugePosition(0);
        }
        shown.setStatus(outcome.rowsCounted ? "Importando Clientes" : "Importando Grupos");
        for (int row = 1; row <= rows; ++row) {
            outcome.rowsRead = row;
            shown.setGaugePosition(shown.gaugePosition() + 1);
            window.rowDone(outcome);
        }
        window.tableEnded(outcome);
    }
    window.phaseChanged(engine::RunPhase::Ended);
    return errors.str();
}

TEST(TerminalProgress, OffTheTerminalALineComesWheneverTheIntervalPassedWithPercentageWhenKnown) {
    EXPECT_EQ(progressOf(0ms, 4),
              "CLIENTES: 1 registros, 25%\n"
              "CLIENTES: 2 registros, 50%\n"
              "CLIENTES: 3 registros, 75%\n"
              "CLIENTES: 4 registros, 100%\n"
              "CLIENTES: lidos 4, recusados 0, 0.0 s\n"
              "GRUPO: 1 registros\n"
              "GRUPO: 2 registros\n"
              "GRUPO: 3 registros\n"
              "GRUPO: 4 registros\n"
              "GRUPO: lidos 4, recusados 0, 0.0 s\n");
    // Within the interval only the tables' own lines.
    EXPECT_EQ(progressOf(batch::TerminalProgress::kLineInterval, 1000),
              "CLIENTES: lidos 1000, recusados 0, 0.0 s\n"
              "GRUPO: lidos 1000, recusados 0, 0.0 s\n");
}

}  // namespace
