#include "outcome_view.h"

#include <string>
#include <vector>

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

engine::TableOutcome outcome(const char* table, long long before, int read, int refused, long long after) {
    engine::TableOutcome result;
    result.destinationTable = table;
    result.rowsBefore = before;
    result.rowsRead = read;
    result.rowsRefused = refused;
    result.rowsAfter = after;
    result.seconds = 1.3;
    return result;
}

// A refused row with only its table, key and first line of the server's text.
engine::RefusedRow refusal(const char* table, const char* key, const char* reason) {
    engine::RefusedRow row;
    row.table = table;
    row.key = key;
    row.reason = reason;
    return row;
}

class OutcomeViewTest : public testing::Test {
protected:
    std::vector<std::string> opened;
    std::vector<std::string> undone;  // the copies restored, as "copy -> database"
    bool undoResult = true;
    ui::OutcomeView view{nullptr,
                         [this](const ui::RunReport::Log& log) { opened.push_back(log.folder + log.fileName); },
                         [this](const ui::RunReport::Copy& copy) {
                             undone.push_back(copy.path + " -> " + copy.database);
                             return undoResult;
                         }};

    template <typename Widget = QWidget>
    Widget* control(const char* name) const {
        auto* widget = view.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    std::vector<std::string> gridRow(int row) const {
        auto* grid = control<QTableWidget>("GridTabelas");
        std::vector<std::string> cells;
        for (int column = 0; column < grid->columnCount(); ++column)
            cells.push_back(grid->item(row, column)->text().toStdString());
        return cells;
    }

    // The refusal groups as "reason — n linhas" with their rows as "TABLE key".
    std::vector<std::string> refusalLines() const {
        std::vector<std::string> lines;
        auto* tree = control<QTreeWidget>("TreeRecusas");
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* group = tree->topLevelItem(i);
            lines.push_back(group->text(0).toStdString());
            for (int j = 0; j < group->childCount(); ++j)
                lines.push_back("  " + group->child(j)->text(0).toStdString() + " " +
                                group->child(j)->text(1).toStdString());
        }
        return lines;
    }

    std::vector<QPushButton*> logButtons() const {
        const QList<QPushButton*> buttons = view.findChildren<QPushButton*>(QStringLiteral("ButtonAbrirLog"));
        return {buttons.begin(), buttons.end()};
    }
};

TEST_F(OutcomeViewTest, PreviewShowsEachTableWithNotesAndTheRefusalsGroupedLargestFirst) {
    ui::RunReport report;
    report.preview = true;
    report.outcomes.push_back(outcome("CLIENTES", 7, 5, 3, 2));
    report.outcomes.back().sequenceName = "GEN_CODCLI";
    report.outcomes.back().sequenceValue = 43;
    engine::TableOutcome failed = outcome("PRODUTOS", 4, 1, 0, 0);
    failed.rowsAfter.reset();
    failed.completed = false;
    failed.failure = "Table unknown\r\nCEST\r\nAt line 1";
    report.outcomes.push_back(failed);
    report.refusedRows = {
        refusal("CLIENTES", "1", "violation of PRIMARY or UNIQUE KEY constraint \"PK_CLIENTES\""),
        refusal("CLIENTES", "2", "validation error for column \"CLI_NOME\""),
        refusal("CLIENTES", "3", "violation of PRIMARY or UNIQUE KEY constraint \"PK_CLIENTES\""),
    };
    report.logs = {{"/opt/tavlo-merak/", "quorel-simulacao.log"}};
    view.present(report);

    EXPECT_EQ(view.windowTitle(), QStringLiteral("Resultado da simulação"));
    auto* grid = control<QTableWidget>("GridTabelas");
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->horizontalHeaderItem(4)->text(), QStringLiteral("Ficariam no destino"));
    EXPECT_EQ(gridRow(0),
              (std::vector<std::string>{"CLIENTES", "7", "5", "3", "2", "1.3", "GEN_CODCLI reiniciaria em 43"}));
    EXPECT_EQ(gridRow(1), (std::vector<std::string>{"PRODUTOS", "4", "1", "0", "", "1.3", "falha: Table unknown"}));

    EXPECT_EQ(control<QLabel>("LabelRecusas")->text(), QStringLiteral("Linhas recusadas: 3, por motivo:"));
    EXPECT_EQ(refusalLines(),
              (std::vector<std::string>{"violation of PRIMARY or UNIQUE KEY constraint \"PK_CLIENTES\" — 2 linhas",
                                        "  CLIENTES 1", "  CLIENTES 3",
                                        "validation error for column \"CLI_NOME\" — 1 linha", "  CLIENTES 2"}));

    // The log that the preview wrote is offered; the copy has no place in a preview.
    const std::vector<QPushButton*> buttons = logButtons();
    ASSERT_EQ(buttons.size(), 1U);
    EXPECT_EQ(buttons[0]->text(), QStringLiteral("Abrir quorel-simulacao.log"));
    buttons[0]->click();
    EXPECT_EQ(opened, std::vector<std::string>{"/opt/tavlo-merak/quorel-simulacao.log"});
    EXPECT_TRUE(control("ButtonDesfazer")->isHidden());
}

TEST_F(OutcomeViewTest, RunShowsHowTablesEndedTheCopyAndUndoesOnce) {
    ui::RunReport report;
    engine::TableOutcome interrupted = outcome("FORNECEDORES", 9, 4, 0, 9);
    interrupted.interrupted = true;
    interrupted.keptAsItWas = true;
    interrupted.sequenceName = "GEN_CODFOR";
    interrupted.sequenceValue = 4;
    report.outcomes.push_back(interrupted);
    report.refusedRows = {refusal("CLIENTES", "1", "a")};
    report.refusedRowsLeftOut = 1;
    report.logs = {{"/opt/tavlo-merak/", "quorel.log"}, {"/opt/tavlo-merak/", "quorel2.log"}};
    report.copy = ui::RunReport::Copy{"/dados/MERAK-20261210-034500.fbk", "/dados/MERAK.FDB", 3 * 1024 * 1024};
    report.origemServer = "Firebird 3.0.11, localhost";
    report.destinoServer = "Firebird 4.0.5, localhost/3051";
    view.present(report);

    EXPECT_EQ(view.windowTitle(), QStringLiteral("Resultado da importação"));
    EXPECT_EQ(control<QLabel>("LabelServidores")->text(),
              QStringLiteral("Origem: Firebird 3.0.11, localhost — Destino: Firebird 4.0.5, localhost/3051"));
    EXPECT_EQ(control<QTableWidget>("GridTabelas")->horizontalHeaderItem(4)->text(),
              QStringLiteral("No destino depois"));
    // A table kept as it was restarted no sequence.
    EXPECT_EQ(gridRow(0).back(), "interrompida; mantida como estava");
    EXPECT_EQ(control<QLabel>("LabelRecusas")->text(),
              QStringLiteral("Linhas recusadas: 2 (1 linha fora desta lista; veja os logs), por motivo:"));
    EXPECT_EQ(logButtons().size(), 2U);

    auto* copy = control<QLabel>("LabelCopia");
    auto* undo = control<QPushButton>("ButtonDesfazer");
    EXPECT_EQ(copy->text(), QStringLiteral("Cópia de segurança do destino: /dados/MERAK-20261210-034500.fbk (3.0 MB)"));
    EXPECT_FALSE(undo->isHidden());
    undoResult = false;  // the technician answered No
    undo->click();
    EXPECT_TRUE(undo->isEnabled());
    undoResult = true;
    undo->click();
    EXPECT_EQ(undone, std::vector<std::string>(2, "/dados/MERAK-20261210-034500.fbk -> /dados/MERAK.FDB"));
    EXPECT_FALSE(undo->isEnabled());

    // The next report replaces everything, the log buttons included.
    report.copy.reset();
    report.logs.clear();
    report.refusedRows.clear();
    report.refusedRowsLeftOut = 0;
    view.present(report);
    EXPECT_TRUE(logButtons().empty());
    EXPECT_TRUE(undo->isHidden());
    EXPECT_EQ(control<QLabel>("LabelRecusas")->text(), QStringLiteral("Nenhuma linha recusada."));
    EXPECT_TRUE(control("TreeRecusas")->isHidden());
}

TEST_F(OutcomeViewTest, OpensWideEnoughToShowEveryColumnOfItsCountsWithoutScrollingSideways) {
    ui::RunReport report;
    engine::TableOutcome failed = outcome("FORNECEDORES", 9, 4, 0, 9);
    failed.completed = false;
    failed.failure = "a conexão com o servidor foi perdida no meio da tabela";
    report.outcomes = {outcome("CLIENTES", 2, 33, 3, 30), failed};
    view.present(report);
    view.resize(view.sizeHint());
    view.show();
    QCoreApplication::processEvents();
    auto* grid = control<QTableWidget>("GridTabelas");
    EXPECT_GE(view.width(), 820);
    EXPECT_EQ(grid->horizontalScrollBar()->maximum(), 0) << view.width();
}

TEST_F(OutcomeViewTest, RefusalsGroupByTableAndCauseAndASelectedRowShowsWhatToChangeAndItsSourceValues) {
    ui::RunReport report;
    report.outcomes.push_back(outcome("CLIENTES", 0, 3, 3, 0));
    auto refused = [](const char* table, const char* key, const char* column, const char* cause) {
        engine::RefusedRow row;
        row.table = table;
        row.key = key;
        row.column = column;
        row.value = "Rua muito longa";
        row.cause = cause;
        row.advice = std::string(column) +
                     " tem 51 caracteres; o Merak aceita 50 — encurte esse texto no cadastro do "
                     "cliente " +
                     key + " no Tavlo";
        row.serverText = "Trying to store a string of length 51 into a field that can only contain 50";
        row.reason = row.serverText;
        row.sourceRow = {{"CODIGO", key}, {"ENDERECO", "Rua muito longa"}};
        return row;
    };
    report.refusedRows = {refused("CLIENTES", "16", "ENDERECO", "Texto longo demais para ENDERECO (máximo 50)"),
                          refused("PRODUTOS", "4", "DESCRICAO", "Texto longo demais para DESCRICAO (máximo 50)"),
                          refused("CLIENTES", "17", "ENDERECO", "Texto longo demais para ENDERECO (máximo 50)")};
    report.refusals = ui::RunReport::Log{"/opt/tavlo-merak/", "recusadas.csv"};
    view.present(report);

    // The same server text in two tables makes two groups, each named in Portuguese.
    EXPECT_EQ(refusalLines(),
              (std::vector<std::string>{
                  "CLIENTES: Texto longo demais para ENDERECO (máximo 50) — 2 linhas", "  CLIENTES 16", "  CLIENTES 17",
                  "PRODUTOS: Texto longo demais para DESCRICAO (máximo 50) — 1 linha", "  PRODUTOS 4"}));
    auto* tree = control<QTreeWidget>("TreeRecusas");
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(2), QStringLiteral("ENDERECO"));
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(3), QStringLiteral("Rua muito longa"));
    EXPECT_TRUE(control("LabelMotivo")->isHidden());

    tree->setCurrentItem(tree->topLevelItem(0)->child(1));
    EXPECT_EQ(control<QLabel>("LabelMotivo")->text(),
              QStringLiteral("ENDERECO tem 51 caracteres; o Merak aceita 50 — encurte esse texto no cadastro do "
                             "cliente 17 no Tavlo\nMensagem do servidor: Trying to store a string of length 51 into a "
                             "field that can only contain 50"));
    auto* source = control<QTableWidget>("GridOrigem");
    ASSERT_EQ(source->rowCount(), 2);
    EXPECT_EQ(source->item(0, 1)->text(), QStringLiteral("17"));
    EXPECT_EQ(source->item(1, 0)->text(), QStringLiteral("ENDERECO"));
    EXPECT_FALSE(source->isHidden());

    // A group's line shows no row; the list of refused rows opens like a log.
    tree->setCurrentItem(tree->topLevelItem(1));
    EXPECT_TRUE(source->isHidden());
    auto* csv = control<QPushButton>("ButtonAbrirRecusadas");
    EXPECT_EQ(csv->text(), QStringLiteral("Abrir recusadas.csv"));
    csv->click();
    EXPECT_EQ(opened, std::vector<std::string>{"/opt/tavlo-merak/recusadas.csv"});
    // Without a way to save a report there is no button for it.
    EXPECT_TRUE(control("ButtonRelatorio")->isHidden());
}

}  // namespace
