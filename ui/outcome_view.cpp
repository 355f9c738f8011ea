#include "outcome_view.h"

#include <algorithm>
#include <utility>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "report_widgets.h"

namespace ui {

namespace {

QString text(const std::string& value) { return QString::fromStdString(value); }

QString count(const std::optional<long long>& value) { return value ? QString::number(*value) : QString(); }

std::string firstLine(const std::string& value) { return value.substr(0, value.find_first_of("\r\n")); }

// The notes of one table: how it ended and the value its sequence restarts with.
QString notes(const engine::TableOutcome& outcome, bool preview) {
    QStringList parts;
    if (outcome.interrupted) parts << QStringLiteral("interrompida");
    if (outcome.keptAsItWas) parts << QStringLiteral("mantida como estava");
    if (!outcome.completed && !outcome.failure.empty())
        parts << QStringLiteral("falha: ") + text(firstLine(outcome.failure));
    if (outcome.sequenceName && outcome.sequenceValue && !outcome.keptAsItWas)
        parts << QStringLiteral("%1 %2 em %3")
                     .arg(text(*outcome.sequenceName),
                          preview ? QStringLiteral("reiniciaria") : QStringLiteral("reiniciada"),
                          QString::number(*outcome.sequenceValue));
    if (outcome.sequenceBehind())
        parts << QStringLiteral("SEQUÊNCIA ATRASADA: maior código %1").arg(*outcome.highestKey);
    return parts.join(QStringLiteral("; "));
}

// What a refused row is grouped under: its table and its cause in Portuguese, or the first
// line of the server's text when the row has no cause.
std::string groupOf(const engine::RefusedRow& row) {
    return row.cause.empty() ? row.reason : row.table + ": " + row.cause;
}

// The refused rows grouped by table and reason: the largest group first, groups of equal size
// in the order their first row was refused, rows in the order they were refused.
std::vector<std::pair<std::string, std::vector<const engine::RefusedRow*>>> byReason(
    const std::vector<engine::RefusedRow>& rows) {
    std::vector<std::pair<std::string, std::vector<const engine::RefusedRow*>>> groups;
    for (const engine::RefusedRow& row : rows) {
        const std::string name = groupOf(row);
        auto group =
            std::find_if(groups.begin(), groups.end(), [&](const auto& candidate) { return candidate.first == name; });
        if (group == groups.end()) group = groups.insert(groups.end(), {name, {}});
        group->second.push_back(&row);
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [](const auto& a, const auto& b) { return a.second.size() > b.second.size(); });
    return groups;
}

QString rowsText(long long rows) {
    return rows == 1 ? QStringLiteral("1 linha") : QStringLiteral("%1 linhas").arg(rows);
}

QString megabytes(std::uintmax_t bytes) {
    return QStringLiteral("%1 MB").arg(static_cast<double>(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

}  // namespace

OutcomeView::OutcomeView(QWidget* owner, std::function<void(const RunReport::Log&)> openLog,
                         std::function<bool(const RunReport::Copy&)> undoImport, std::function<void()> saveReport)
    : QWidget(owner, Qt::Window), openLog_(std::move(openLog)), undoImport_(std::move(undoImport)) {
    setObjectName(QStringLiteral("FormResultado"));
    resize(820, 460);

    LabelTitulo = boldTitle(this, QStringLiteral("LabelTitulo"));
    LabelServidores = new QLabel(this);
    LabelServidores->setObjectName(QStringLiteral("LabelServidores"));
    LabelServidores->setTextInteractionFlags(Qt::TextSelectableByMouse);

    GridTabelas = readOnlyTable(this, 7, QStringLiteral("GridTabelas"));
    GridTabelas->setWordWrap(false);

    LabelRecusas = new QLabel(this);
    LabelRecusas->setObjectName(QStringLiteral("LabelRecusas"));
    TreeRecusas = new QTreeWidget(this);
    TreeRecusas->setObjectName(QStringLiteral("TreeRecusas"));
    TreeRecusas->setHeaderLabels(
        {QStringLiteral("Tabela"), QStringLiteral("Chave"), QStringLiteral("Coluna"), QStringLiteral("Valor enviado")});
    connect(TreeRecusas, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { showRefusal(current); });

    LabelMotivo = new QLabel(this);
    LabelMotivo->setObjectName(QStringLiteral("LabelMotivo"));
    LabelMotivo->setWordWrap(true);
    LabelMotivo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    GridOrigem = readOnlyTable(this, 2, QStringLiteral("GridOrigem"));
    GridOrigem->setHorizontalHeaderLabels({QStringLiteral("Coluna na origem"), QStringLiteral("Valor")});

    PanelLogs = new QWidget(this);
    PanelLogs->setObjectName(QStringLiteral("PanelLogs"));
    new QHBoxLayout(PanelLogs);
    PanelLogs->layout()->setContentsMargins(0, 0, 0, 0);
    PanelLogs->layout()->setAlignment(Qt::AlignLeft);

    auto* copyRow = new QHBoxLayout;
    LabelCopia = new QLabel(this);
    LabelCopia->setObjectName(QStringLiteral("LabelCopia"));
    LabelCopia->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ButtonDesfazer = new QPushButton(QStringLiteral("Desfazer importação"), this);
    ButtonDesfazer->setObjectName(QStringLiteral("ButtonDesfazer"));
    ButtonConferir = new QPushButton(QStringLiteral("Conferir"), this);
    ButtonConferir->setObjectName(QStringLiteral("ButtonConferir"));
    ButtonConferir->setToolTip(QStringLiteral("Compara cada registro do destino com o que a importação faz da origem"));
    ButtonConferir->hide();
    connect(ButtonConferir, &QPushButton::clicked, this, [this] {
        if (verify_) verify_();
    });
    copyRow->addWidget(LabelCopia, 1);
    // The buttons keep their own width at the right, with or without a copy to name.
    copyRow->addStretch(1);
    copyRow->addWidget(ButtonConferir);
    copyRow->addWidget(ButtonDesfazer);
    connect(ButtonDesfazer, &QPushButton::clicked, this, [this] {
        if (!copy_ || !undoImport_(*copy_)) return;
        ButtonDesfazer->setEnabled(false);
        LabelCopia->setText(LabelCopia->text() + QStringLiteral(" — restaurada"));
    });

    ButtonRelatorio = new QPushButton(QStringLiteral("Salvar relatório…"), this);
    ButtonRelatorio->setObjectName(QStringLiteral("ButtonRelatorio"));
    ButtonRelatorio->setVisible(static_cast<bool>(saveReport));
    connect(ButtonRelatorio, &QPushButton::clicked, this, [saveReport] { saveReport(); });
    copyRow->addWidget(ButtonRelatorio);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelTitulo);
    layout->addWidget(LabelServidores);
    layout->addWidget(GridTabelas);
    layout->addWidget(LabelRecusas);
    auto* refusals = new QHBoxLayout;
    refusals->addWidget(TreeRecusas, 3);
    auto* detail = new QVBoxLayout;
    detail->addWidget(LabelMotivo);
    detail->addWidget(GridOrigem, 1);
    refusals->addLayout(detail, 2);
    layout->addLayout(refusals, 1);
    layout->addWidget(PanelLogs);
    layout->addLayout(copyRow);
}

void OutcomeView::setVerify(std::function<void()> verify) {
    verify_ = std::move(verify);
    ButtonConferir->setVisible(static_cast<bool>(verify_));
}

QSize OutcomeView::sizeHint() const {
    return widenedFor(this, QWidget::sizeHint().expandedTo(QSize(820, 460)), tableWidth_);
}

void OutcomeView::present(const RunReport& report) {
    // Measured with the style and fonts the view is shown with.
    ensurePolished();
    setWindowTitle(report.preview ? QStringLiteral("Resultado da simulação")
                                  : QStringLiteral("Resultado da importação"));
    LabelTitulo->setText(report.preview
                             ? QStringLiteral("Simulação: nada foi gravado no destino. Assim ficaria a importação:")
                             : QStringLiteral("Importação realizada:"));
    LabelServidores->setText(
        QStringLiteral("Origem: %1 — Destino: %2").arg(text(report.origemServer), text(report.destinoServer)));
    LabelServidores->setVisible(!report.origemServer.empty());
    fillTables(report);
    fillRefusals(report);
    fillLogs(report);
    fillCopy(report);
}

void OutcomeView::fillTables(const RunReport& report) {
    GridTabelas->setHorizontalHeaderLabels(
        {QStringLiteral("Tabela"), QStringLiteral("No destino antes"), QStringLiteral("Lidas"),
         QStringLiteral("Recusadas"),
         report.preview ? QStringLiteral("Ficariam no destino") : QStringLiteral("No destino depois"),
         QStringLiteral("Segundos"), QStringLiteral("Observações")});
    GridTabelas->setRowCount(static_cast<int>(report.outcomes.size()));
    int row = 0;
    for (const engine::TableOutcome& outcome : report.outcomes) {
        const QString cells[] = {text(outcome.destinationTable),    count(outcome.rowsBefore),
                                 QString::number(outcome.rowsRead), QString::number(outcome.rowsRefused),
                                 count(outcome.rowsAfter),          QString::number(outcome.seconds, 'f', 1),
                                 notes(outcome, report.preview)};
        for (int column = 0; column < GridTabelas->columnCount(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column > 0 && column < 6) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            GridTabelas->setItem(row, column, item);
        }
        ++row;
    }
    tableWidth_ = fitColumnsToContents(GridTabelas);
    GridTabelas->setCurrentItem(nullptr);
    // Every table's line is seen without scrolling.
    int height = GridTabelas->horizontalHeader()->sizeHint().height() + 2 * GridTabelas->frameWidth();
    for (int line = 0; line < GridTabelas->rowCount(); ++line) height += GridTabelas->rowHeight(line);
    GridTabelas->setFixedHeight(height + GridTabelas->horizontalScrollBar()->sizeHint().height());
}

void OutcomeView::fillRefusals(const RunReport& report) {
    const long long refused = static_cast<long long>(report.refusedRows.size()) + report.refusedRowsLeftOut;
    QString summary = QStringLiteral("Nenhuma linha recusada.");
    if (refused > 0) {
        summary = QStringLiteral("Linhas recusadas: %1").arg(refused);
        if (report.refusedRowsLeftOut > 0)
            summary += QStringLiteral(" (%1 fora desta lista; veja os logs)").arg(rowsText(report.refusedRowsLeftOut));
        summary += QStringLiteral(", por motivo:");
    }
    LabelRecusas->setText(summary);

    TreeRecusas->clear();
    refusedRows_ = report.refusedRows;
    for (const auto& [reason, rows] : byReason(refusedRows_)) {
        auto* group = new QTreeWidgetItem(TreeRecusas);
        group->setText(0, QStringLiteral("%1 — %2").arg(text(reason), rowsText(static_cast<long long>(rows.size()))));
        group->setFirstColumnSpanned(true);
        for (const engine::RefusedRow* row : rows) {
            auto* item =
                new QTreeWidgetItem(group, {text(row->table), text(row->key), text(row->column), text(row->value)});
            item->setData(0, Qt::UserRole, static_cast<qulonglong>(row - refusedRows_.data()));
        }
    }
    TreeRecusas->expandAll();
    TreeRecusas->resizeColumnToContents(0);
    TreeRecusas->setVisible(!refusedRows_.empty());
    showRefusal(nullptr);
}

void OutcomeView::showRefusal(const QTreeWidgetItem* item) {
    const bool isRow = item != nullptr && item->parent() != nullptr;
    LabelMotivo->setVisible(isRow);
    GridOrigem->setVisible(isRow);
    if (!isRow) return;
    const engine::RefusedRow& row = refusedRows_.at(item->data(0, Qt::UserRole).toULongLong());
    QString motive = text(row.advice);
    if (!row.serverText.empty()) motive += QStringLiteral("\nMensagem do servidor: ") + text(row.serverText);
    LabelMotivo->setText(motive.trimmed());
    GridOrigem->setRowCount(static_cast<int>(row.sourceRow.size()));
    int line = 0;
    for (const auto& [name, value] : row.sourceRow) {
        GridOrigem->setItem(line, 0, new QTableWidgetItem(text(name)));
        GridOrigem->setItem(line, 1, new QTableWidgetItem(text(value)));
        ++line;
    }
    GridOrigem->resizeColumnToContents(0);
}

void OutcomeView::fillLogs(const RunReport& report) {
    for (QPushButton* button : logButtons_) delete button;
    logButtons_.clear();
    for (const RunReport::Log& log : report.logs) {
        auto* button = new QPushButton(QStringLiteral("Abrir ") + text(log.fileName), PanelLogs);
        button->setObjectName(QStringLiteral("ButtonAbrirLog"));
        button->setToolTip(text(log.folder + log.fileName));
        connect(button, &QPushButton::clicked, this, [this, log] { openLog_(log); });
        PanelLogs->layout()->addWidget(button);
        logButtons_.push_back(button);
    }
    if (const std::optional<RunReport::Log>& refusals = report.refusals) {
        auto* button = new QPushButton(QStringLiteral("Abrir ") + text(refusals->fileName), PanelLogs);
        button->setObjectName(QStringLiteral("ButtonAbrirRecusadas"));
        button->setToolTip(text(refusals->folder + refusals->fileName));
        connect(button, &QPushButton::clicked, this, [this, log = *refusals] { openLog_(log); });
        PanelLogs->layout()->addWidget(button);
        logButtons_.push_back(button);
    }
    PanelLogs->setVisible(!logButtons_.empty());
}

void OutcomeView::fillCopy(const RunReport& report) {
    copy_ = report.copy;
    LabelCopia->setVisible(report.copy.has_value());
    ButtonDesfazer->setVisible(report.copy.has_value());
    ButtonDesfazer->setEnabled(true);
    if (report.copy)
        LabelCopia->setText(QStringLiteral("Cópia de segurança do destino: %1 (%2)")
                                .arg(text(report.copy->path), megabytes(report.copy->bytes)));
}

}  // namespace ui
