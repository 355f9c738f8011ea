#pragma once

#include <functional>
#include <string>

#include <QWidget>

#include "verification_report.h"

class QLabel;
class QPushButton;
class QTableWidget;
class QTreeWidget;

namespace ui {

// A window of its own, beside the main window and not modal, that shows how the last
// comparison of the destination with the source went: one line per table (rows equal,
// different, missing and explained, extra, the sequence and the highest key, and whether the
// table matches), the first findings of each table, a button that opens conferencia.csv and,
// when a sequence is behind its table's highest key, "Ajustar sequências".
class ConferenceView : public QWidget {
    Q_OBJECT
public:
    // openCsv opens conferencia.csv, given its path; adjustSequences puts right the sequences
    // that are behind.
    ConferenceView(QWidget* owner, std::function<void(const std::string& path)> openCsv,
                   std::function<void()> adjustSequences);

    // Replaces what the view shows with the report.
    void present(const engine::VerificationReport& report);
    // Wide enough for every column of the counts table.
    QSize sizeHint() const override;

private:
    // What the counts table needs to show every column (fitColumnsToContents).
    int tableWidth_ = 0;
    std::function<void(const std::string&)> openCsv_;
    std::string csvPath_;

    QLabel* LabelTitulo = nullptr;
    QTableWidget* GridConferencia = nullptr;
    QTreeWidget* TreeAchados = nullptr;
    QPushButton* ButtonAbrirCsv = nullptr;
    QPushButton* ButtonAjustarSequencias = nullptr;
};

}  // namespace ui
