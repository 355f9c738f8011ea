#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QWidget>

#include "run_report.h"

class QLabel;
class QPushButton;
class QTableWidget;
class QTreeWidget;

namespace ui {

// What the window shows after a preview or an import run.
struct RunReport {
    bool preview = false;
    std::vector<engine::TableOutcome> outcomes;
    std::vector<engine::RefusedRow> refusedRows;
    long long refusedRowsLeftOut = 0;
    // The run's log files that hold entries of this run.
    struct Log {
        std::string folder;  // with its trailing separator
        std::string fileName;
    };
    std::vector<Log> logs;
    // The safety copy of the destination that the run made, if any.
    struct Copy {
        std::string path;
        std::string database;  // the destination it was made of
        std::uintmax_t bytes = 0;
    };
    std::optional<Copy> copy;
};

// A window of its own, beside the main window and not modal, that shows how the last preview
// or run went: one line per table (rows before, read, refused, after, seconds and notes), the
// refused rows grouped by their reason, buttons that open the run's logs, and the safety
// copy with a button that puts the destination back from it.
class OutcomeView : public QWidget {
    Q_OBJECT
public:
    // openLog opens a log file; undoImport restores the safety copy over the destination it
    // was made of and tells whether it did.
    OutcomeView(QWidget* owner, std::function<void(const RunReport::Log&)> openLog,
                std::function<bool(const RunReport::Copy&)> undoImport);

    // Replaces what the view shows with the report.
    void present(const RunReport& report);
    // Shows "Conferir", which compares the run's destination with its source.
    void setVerify(std::function<void()> verify);

private:
    void fillTables(const RunReport& report);
    void fillRefusals(const RunReport& report);
    void fillLogs(const RunReport& report);
    void fillCopy(const RunReport& report);

    std::function<void(const RunReport::Log&)> openLog_;
    std::function<bool(const RunReport::Copy&)> undoImport_;
    std::optional<RunReport::Copy> copy_;
    std::function<void()> verify_;

    QLabel* LabelTitulo = nullptr;
    QTableWidget* GridTabelas = nullptr;
    QLabel* LabelRecusas = nullptr;
    QTreeWidget* TreeRecusas = nullptr;
    QWidget* PanelLogs = nullptr;
    std::vector<QPushButton*> logButtons_;
    QLabel* LabelCopia = nullptr;
    QPushButton* ButtonDesfazer = nullptr;
    QPushButton* ButtonConferir = nullptr;
};

}  // namespace ui
