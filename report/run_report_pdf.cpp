#include "run_report_pdf.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <map>
#include <stdexcept>
#include <vector>

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "file_paths.h"
#include "local_time.h"
#include "run_mode.h"

namespace report {

namespace {

// The first refused rows listed; the rest are counted.
constexpr std::size_t kRefusedRowsListed = 200;
// Points: the writer's resolution is set to 72 dots per inch.
constexpr int kMargin = 40;

QString text(const std::string& value) { return QString::fromStdString(value); }

QString count(const std::optional<long long>& value) { return value ? QString::number(*value) : QStringLiteral("—"); }

QString modeText(engine::RunMode mode) {
    switch (mode) {
    case engine::RunMode::Default:
        return QStringLiteral("importação, cada linha gravada ao ser importada");
    case engine::RunMode::AllOrNothing:
        return QStringLiteral("importação, cada tabela inteira ou nada");
    case engine::RunMode::Preview:
        return QStringLiteral("simulação");
    case engine::RunMode::PreviewAllOrNothing:
        return QStringLiteral("simulação, cada tabela inteira ou nada");
    }
    return {};
}

QString dateTimeText(std::time_t moment) {
    const std::tm local = platform::localTime(moment);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%d/%m/%Y %H:%M:%S", &local);
    return QString::fromLatin1(buffer);
}

QString sequenceText(const engine::TableOutcome& outcome) {
    if (!outcome.sequenceName || !outcome.sequenceValue || outcome.keptAsItWas) return QStringLiteral("—");
    return QStringLiteral("%1 = %2").arg(text(*outcome.sequenceName)).arg(*outcome.sequenceValue);
}

// Writes down the page, starting a new page when the next block does not fit.
class Pages {
public:
    explicit Pages(QPdfWriter& writer) : writer_(writer), painter_(&writer) {
        width_ = writer.width() - 2 * kMargin;
        bottom_ = writer.height() - kMargin;
        y_ = kMargin;
    }

    QPainter& painter() { return painter_; }
    int width() const { return width_; }
    int y() const { return y_; }

    void room(int height) {
        if (y_ + height <= bottom_) return;
        writer_.newPage();
        y_ = kMargin;
    }

    // A line of text in the font; wrapped to the page's width.
    void line(const QString& value, int size, bool bold = false) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(size);
        font.setBold(bold);
        painter_.setFont(font);
        const QRect bounds = painter_.boundingRect(QRect(kMargin, 0, width_, 10000), Qt::TextWordWrap, value);
        room(bounds.height());
        painter_.drawText(QRect(kMargin, y_, width_, bounds.height()), Qt::TextWordWrap, value);
        y_ += bounds.height() + 2;
    }

    void space(int height) { y_ += height; }
    void advance(int height) {
        room(height);
        y_ += height;
    }

private:
    QPdfWriter& writer_;
    QPainter painter_;
    int width_ = 0;
    int bottom_ = 0;
    int y_ = 0;
};

void tableOfOutcomes(Pages& pages, const engine::RunReport& run) {
    const bool preview = engine::isPreview(run.mode);
    const QStringList headers = {QStringLiteral("Tabela"),
                                 QStringLiteral("Antes"),
                                 QStringLiteral("Lidas"),
                                 QStringLiteral("Recusadas"),
                                 preview ? QStringLiteral("Ficariam") : QStringLiteral("Depois"),
                                 QStringLiteral("Segundos"),
                                 QStringLiteral("Sequência")};
    const double shares[] = {0.2, 0.1, 0.1, 0.12, 0.1, 0.12, 0.26};
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(9);
    QPainter& painter = pages.painter();
    const int rowHeight = QFontMetrics(font).height() + 6;
    auto drawRow = [&](const QStringList& cells, bool bold) {
        font.setBold(bold);
        painter.setFont(font);
        pages.room(rowHeight);
        int x = kMargin;
        for (int i = 0; i < cells.size(); ++i) {
            const int cellWidth = static_cast<int>(shares[i] * pages.width());
            const Qt::Alignment align = (i == 0 || i == 6) ? Qt::AlignLeft : Qt::AlignRight;
            painter.drawText(QRect(x + 3, pages.y(), cellWidth - 6, rowHeight), align | Qt::AlignVCenter, cells[i]);
            x += cellWidth;
        }
        painter.drawLine(kMargin, pages.y() + rowHeight, kMargin + pages.width(), pages.y() + rowHeight);
        pages.advance(rowHeight);
    };
    drawRow(headers, true);
    for (const engine::TableOutcome& outcome : run.tables) {
        QString name = text(outcome.destinationTable);
        if (!outcome.completed) name += QStringLiteral(" (falhou)");
        if (outcome.interrupted) name += QStringLiteral(" (interrompida)");
        if (outcome.keptAsItWas) name += QStringLiteral(" (mantida)");
        drawRow(
            {name, count(outcome.rowsBefore), QString::number(outcome.rowsRead), QString::number(outcome.rowsRefused),
             count(outcome.rowsAfter), QString::number(outcome.seconds, 'f', 1), sequenceText(outcome)},
            false);
    }
}

// Three bars per table, read, written and refused, on one scale.
void barChart(Pages& pages, const engine::RunReport& run) {
    if (run.tables.empty()) return;
    constexpr int kChartHeight = 150;
    constexpr int kLabelHeight = 14;
    const QColor colors[] = {QColor(70, 110, 170), QColor(80, 160, 90), QColor(200, 70, 60)};
    const QString names[] = {QStringLiteral("lidas"), QStringLiteral("gravadas"), QStringLiteral("recusadas")};
    pages.room(kChartHeight + 2 * kLabelHeight + 10);
    QPainter& painter = pages.painter();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(8);
    painter.setFont(font);
    // The legend.
    int x = kMargin;
    for (int i = 0; i < 3; ++i) {
        painter.fillRect(QRect(x, pages.y() + 3, 8, 8), colors[i]);
        painter.drawText(QPoint(x + 11, pages.y() + 11), names[i]);
        x += 80;
    }
    pages.advance(kLabelHeight);
    long long largest = 1;
    for (const engine::TableOutcome& outcome : run.tables) largest = std::max<long long>(largest, outcome.rowsRead);
    const int top = pages.y();
    const int groupWidth = pages.width() / static_cast<int>(run.tables.size());
    const int barWidth = std::min(30, (groupWidth - 12) / 3);
    for (std::size_t t = 0; t < run.tables.size(); ++t) {
        const engine::TableOutcome& outcome = run.tables[t];
        const long long values[] = {outcome.rowsRead, outcome.rowsRead - outcome.rowsRefused, outcome.rowsRefused};
        const int left = kMargin + static_cast<int>(t) * groupWidth + (groupWidth - 3 * barWidth) / 2;
        for (int i = 0; i < 3; ++i) {
            const int height = static_cast<int>(kChartHeight * values[i] / largest);
            painter.fillRect(QRect(left + i * barWidth, top + kChartHeight - height, barWidth - 2, height), colors[i]);
        }
        painter.drawText(
            QRect(kMargin + static_cast<int>(t) * groupWidth, top + kChartHeight + 2, groupWidth, kLabelHeight),
            Qt::AlignHCenter | Qt::AlignTop, text(outcome.destinationTable));
    }
    painter.drawLine(kMargin, top + kChartHeight, kMargin + pages.width(), top + kChartHeight);
    pages.advance(kChartHeight + kLabelHeight + 6);
}

// The refused rows by table and cause in the order the causes were first met, each with
// the count of all its rows and the keys of those among the first rows listed; then the file
// that lists them all.
void refusals(Pages& pages, const engine::RunReport& run) {
    const long long refused = static_cast<long long>(run.refusedRows.size()) + run.refusedRowsLeftOut;
    if (refused == 0) return;
    pages.space(8);
    pages.line(QStringLiteral("Linhas recusadas: %1").arg(refused), 11, true);
    const std::size_t listed = std::min(run.refusedRows.size(), kRefusedRowsListed);
    for (const engine::RefusalCount& count : run.refusalCounts) {
        QStringList keys;
        for (std::size_t i = 0; i < listed; ++i) {
            const engine::RefusedRow& row = run.refusedRows[i];
            if (row.table == count.table && row.cause == count.cause) keys << text(row.key);
        }
        pages.line(QStringLiteral("%1: %2 — %3").arg(text(count.table), text(count.cause)).arg(count.rows), 9, true);
        QString keysLine = QStringLiteral("Chaves: ") + keys.join(QStringLiteral(", "));
        if (count.rows > keys.size()) keysLine += QStringLiteral(" e mais %1").arg(count.rows - keys.size());
        pages.line(keysLine, 9);
    }
    const long long more = refused - static_cast<long long>(listed);
    if (more <= 0) return;
    const QString file = run.refusals ? text(run.refusals->folder + run.refusals->fileName)
                                      : QStringLiteral("de linhas recusadas da execução");
    pages.line(QStringLiteral("E mais %1 linhas recusadas: veja o arquivo %2, que lista todas.").arg(more).arg(file),
               9);
}

// The sequences left below a key their table holds, each with both numbers.
void behindSequences(Pages& pages, const engine::RunReport& run) {
    for (const engine::TableOutcome& outcome : run.tables)
        if (outcome.sequenceBehind())
            pages.line(QStringLiteral("Sequência atrasada: %1 = %2, maior código em %3: %4")
                           .arg(text(*outcome.sequenceName))
                           .arg(*outcome.sequenceValue)
                           .arg(text(outcome.destinationTable))
                           .arg(*outcome.highestKey),
                       9, true);
}

}  // namespace

void writeRunReport(const std::string& path, const engine::RunReport& run, const RunDatabases& databases) {
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&bytes);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(72);
        writer.setTitle(QStringLiteral("Relatório da importação do Tavlo para o Merak"));
        writer.setCreator(QStringLiteral("Importação do Tavlo para Merak"));
        Pages pages(writer);
        const bool preview = engine::isPreview(run.mode);
        if (preview) pages.line(QStringLiteral("Simulação: nada foi gravado no destino."), 12, true);
        pages.line(preview ? QStringLiteral("Relatório da simulação da importação do Tavlo para o Merak")
                           : QStringLiteral("Relatório da importação do Tavlo para o Merak"),
                   14, true);
        pages.space(4);
        pages.line(QStringLiteral("Origem (Tavlo): ") + text(databases.origem), 9);
        pages.line(QStringLiteral("Destino (Merak): ") + text(databases.destino), 9);
        if (!run.origemServer.empty())
            pages.line(QStringLiteral("Servidores: origem ") + text(run.origemServer) + QStringLiteral("; destino ") +
                           text(run.destinoServer),
                       9);
        pages.line(QStringLiteral("Data e hora: ") + dateTimeText(run.startedAt), 9);
        pages.line(QStringLiteral("Modo: ") + modeText(run.mode), 9);
        pages.line(
            run.copy
                ? QStringLiteral("Cópia de segurança: %1 (%2 bytes)").arg(text(run.copy->path)).arg(run.copy->bytes)
                : QStringLiteral("Cópia de segurança: nenhuma"),
            9);
        if (run.end == engine::RunEnd::Stopped) pages.line(QStringLiteral("A execução foi interrompida."), 9, true);
        if (!run.failure.empty()) pages.line(QStringLiteral("Falha: ") + text(run.failure), 9, true);
        pages.space(10);
        tableOfOutcomes(pages, run);
        behindSequences(pages, run);
        pages.space(12);
        barChart(pages, run);
        refusals(pages, run);
    }
    bytes.close();
    std::ofstream file(platform::filePath(path), std::ios::binary | std::ios::trunc);
    file.write(bytes.data().constData(), bytes.data().size());
    file.close();
    if (!file) throw std::runtime_error("Não foi possível gravar o relatório \"" + path + "\".");
}

}  // namespace report
