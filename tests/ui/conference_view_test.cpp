// The comparison's window: its verdict and each table's situation, for comparisons that ran to
// their end and for those that did not.
#include "conference_view.h"

#include <string>
#include <utility>
#include <vector>

#include <QLabel>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

engine::TableCheck compared(const char* table, long long different) {
    engine::TableCheck check;
    check.destinationTable = table;
    check.reached = true;
    check.rowsEqual = 3;
    check.rowsDifferent = different;
    return check;
}

engine::VerificationReport report(std::vector<engine::TableCheck> tables, bool stopped = false,
                                  const char* csvFailure = "") {
    engine::VerificationReport result;
    result.started = true;
    result.tables = std::move(tables);
    result.stopped = stopped;
    result.csvFailure = csvFailure;
    return result;
}

TEST(ConferenceView, SaysWhetherTheDestinationMatchesOrThatTheComparisonIsIncompleteWithWhatItDidNotCompare) {
    engine::TableCheck stoppedInside = compared("FORNECEDORES", 0);
    stoppedInside.failure = "interrompida";
    engine::TableCheck notReached;
    notReached.destinationTable = "VENDEDOR";
    notReached.failure = "interrompida antes desta tabela";
    struct Case {
        const char* name;
        engine::VerificationReport report;
        std::string verdict;
        std::vector<std::string> situations;
    };
    const std::vector<Case> cases = {
        {"matching", report({compared("CLIENTES", 0)}), "O destino confere com a origem.", {"confere"}},
        {"differing", report({compared("CLIENTES", 1)}), "O destino NÃO confere com a origem.", {"não confere"}},
        {"stopped",
         report({compared("CLIENTES", 1), stoppedInside, notReached}, true),
         "Conferência incompleta: o destino não foi conferido por inteiro.\nConferidas: CLIENTES\n"
         "Não conferidas: FORNECEDORES (interrompida), VENDEDOR (interrompida antes desta tabela)\n"
         "A conferência foi interrompida.",
         {"não confere", "conferida só em parte", "não conferida"}},
        {"conferencia.csv cut short",
         report({compared("CLIENTES", 0)}, false, "No space left on device"),
         "Conferência incompleta: o destino não foi conferido por inteiro.\nConferidas: CLIENTES\n"
         "conferencia.csv ficou incompleto: No space left on device",
         {"confere"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui::ConferenceView view(
            nullptr, [](const std::string&) {}, [] {});
        view.present(c.report);
        EXPECT_EQ(view.findChild<QLabel*>(QStringLiteral("LabelTitulo"))->text().toStdString(), c.verdict);
        auto* grid = view.findChild<QTableWidget*>(QStringLiteral("GridConferencia"));
        ASSERT_EQ(grid->rowCount(), static_cast<int>(c.situations.size()));
        for (int row = 0; row < grid->rowCount(); ++row)
            EXPECT_EQ(grid->item(row, 8)->text().toStdString(), c.situations[static_cast<std::size_t>(row)]);
    }
}

}  // namespace
