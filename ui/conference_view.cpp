#include "conference_view.h"

#include <algorithm>
#include <utility>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "report_widgets.h"

namespace ui {

namespace {

QString text(const std::string& value) { return QString::fromStdString(value); }

QString sequence(const engine::TableCheck& table) {
    if (table.sequenceName.empty()) return {};
    if (!table.sequenceFailure.empty())
        return text(table.sequenceName) + QStringLiteral(": ") + text(table.sequenceFailure);
    QString shown = text(table.sequenceName) + QStringLiteral(" = ") +
                    (table.sequenceValue ? QString::number(*table.sequenceValue) : QStringLiteral("?"));
    if (table.sequenceBehind()) shown += QStringLiteral(" (atrasada)");
    return shown;
}

// The findings of one table, as children of its item.
void addFindings(QTreeWidgetItem* item, const engine::TableCheck& table) {
    for (const engine::ColumnDifference& d : table.differences)
        new QTreeWidgetItem(
            item, {QStringLiteral("diferente"), text(d.key), text(d.column),
                   QStringLiteral("mapeamento \"%1\", destino \"%2\"").arg(text(d.mapped), text(d.destination))});
    for (const engine::MissingRow& m : table.missing)
        new QTreeWidgetItem(item, {QStringLiteral("ausente"), text(m.key), QString(),
                                   m.explanation.empty() ? QStringLiteral("sem explicação") : text(m.explanation)});
    for (const std::string& key : table.extraKeys)
        new QTreeWidgetItem(item, {QStringLiteral("excedente"), text(key), QString(), QString()});
    if (!table.failure.empty())
        new QTreeWidgetItem(item, {QStringLiteral("falha"), QString(), QString(), text(table.failure)});
}

QString situation(const engine::TableCheck& table) {
    if (!table.reached) return QStringLiteral("não conferida");
    if (!table.complete()) return QStringLiteral("conferida só em parte");
    return table.matches() ? QStringLiteral("confere") : QStringLiteral("não confere");
}

// The verdict: for an incomplete comparison, the tables compared and those not, and why.
QString verdict(const engine::VerificationReport& report) {
    if (report.complete())
        return report.matches() ? QStringLiteral("O destino confere com a origem.")
                                : QStringLiteral("O destino NÃO confere com a origem.");
    QStringList compared;
    QStringList notCompared;
    for (const engine::TableCheck& table : report.tables) {
        if (table.complete())
            compared << text(table.destinationTable);
        else
            notCompared << text(table.destinationTable) + QStringLiteral(" (") + text(table.failure) +
                               QStringLiteral(")");
    }
    QString shown = QStringLiteral("Conferência incompleta: o destino não foi conferido por inteiro.\nConferidas: ") +
                    (compared.isEmpty() ? QStringLiteral("nenhuma") : compared.join(QStringLiteral(", ")));
    if (!notCompared.isEmpty()) shown += QStringLiteral("\nNão conferidas: ") + notCompared.join(QStringLiteral(", "));
    if (report.stopped) shown += QStringLiteral("\nA conferência foi interrompida.");
    if (!report.failure.empty()) shown += QStringLiteral("\nFalha: ") + text(report.failure);
    if (!report.csvFailure.empty())
        shown += QStringLiteral("\nconferencia.csv ficou incompleto: ") + text(report.csvFailure);
    return shown;
}

}  // namespace

ConferenceView::ConferenceView(QWidget* owner, std::function<void(const std::string& path)> openCsv,
                               std::function<void()> adjustSequences)
    : QWidget(owner, Qt::Window), openCsv_(std::move(openCsv)) {
    setObjectName(QStringLiteral("FormConferencia"));
    setWindowTitle(QStringLiteral("Conferência do destino com a origem"));
    resize(820, 460);

    LabelTitulo = boldTitle(this, QStringLiteral("LabelTitulo"));

    GridConferencia = readOnlyTable(this, 9, QStringLiteral("GridConferencia"));
    GridConferencia->setWordWrap(false);
    GridConferencia->setHorizontalHeaderLabels(
        {QStringLiteral("Tabela"), QStringLiteral("Iguais"), QStringLiteral("Diferentes"), QStringLiteral("Ausentes"),
         QStringLiteral("Explicados"), QStringLiteral("Excedentes"), QStringLiteral("Sequência"),
         QStringLiteral("Maior chave"), QStringLiteral("Situação")});

    TreeAchados = new QTreeWidget(this);
    TreeAchados->setObjectName(QStringLiteral("TreeAchados"));
    TreeAchados->setHeaderLabels(
        {QStringLiteral("Tabela"), QStringLiteral("Chave"), QStringLiteral("Coluna"), QStringLiteral("Detalhe")});

    ButtonAbrirCsv = new QPushButton(QStringLiteral("Abrir conferencia.csv"), this);
    ButtonAbrirCsv->setObjectName(QStringLiteral("ButtonAbrirCsv"));
    connect(ButtonAbrirCsv, &QPushButton::clicked, this, [this] {
        if (!csvPath_.empty()) openCsv_(csvPath_);
    });

    ButtonAjustarSequencias = new QPushButton(QStringLiteral("Ajustar sequências"), this);
    ButtonAjustarSequencias->setObjectName(QStringLiteral("ButtonAjustarSequencias"));
    ButtonAjustarSequencias->setToolTip(
        QStringLiteral("Põe cada sequência atrasada no maior código da sua tabela, depois de perguntar"));
    connect(ButtonAjustarSequencias, &QPushButton::clicked, this, [adjust = std::move(adjustSequences)] { adjust(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelTitulo);
    layout->addWidget(GridConferencia, 2);
    layout->addWidget(TreeAchados, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonAbrirCsv);
    buttons->addWidget(ButtonAjustarSequencias);
    buttons->addStretch(1);
    layout->addLayout(buttons);
}

QSize ConferenceView::sizeHint() const {
    return widenedFor(this, QWidget::sizeHint().expandedTo(QSize(820, 460)), tableWidth_);
}

void ConferenceView::present(const engine::VerificationReport& report) {
    // Measured with the style and fonts the view is shown with.
    ensurePolished();
    LabelTitulo->setText(verdict(report));
    GridConferencia->setRowCount(static_cast<int>(report.tables.size()));
    TreeAchados->clear();
    for (int row = 0; row < static_cast<int>(report.tables.size()); ++row) {
        const engine::TableCheck& table = report.tables[static_cast<std::size_t>(row)];
        const QStringList cells = {
            text(table.destinationTable),
            QString::number(table.rowsEqual),
            QString::number(table.rowsDifferent),
            QString::number(table.rowsMissingExplained + table.rowsMissingUnexplained),
            QString::number(table.rowsMissingExplained),
            QString::number(table.rowsExtra),
            sequence(table),
            table.highestKey ? QString::number(*table.highestKey) : QString(),
            situation(table),
        };
        for (int column = 0; column < cells.size(); ++column)
            GridConferencia->setItem(row, column, new QTableWidgetItem(cells[column]));
        auto* item = new QTreeWidgetItem(TreeAchados, {text(table.destinationTable)});
        addFindings(item, table);
        item->setExpanded(true);
    }
    tableWidth_ = fitColumnsToContents(GridConferencia);
    csvPath_ = report.csvPath;
    ButtonAbrirCsv->setEnabled(!csvPath_.empty());
    ButtonAjustarSequencias->setVisible(
        std::any_of(report.tables.begin(), report.tables.end(),
                    [](const engine::TableCheck& table) { return table.sequenceBehind(); }));
}

}  // namespace ui
