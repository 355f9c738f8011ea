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
class QTreeWidgetItem;

namespace ui {

// What the window shows after a preview or an import run.
struct RunReport {
    bool preview = false;
    // Each database's server and its version ("Firebird 4.0.5, localhost/3051").
    std::string origemServer;
    std::string destinoServer;
    std::vector<engine::TableOutcome> outcomes;
    std::vector<engine::RefusedRow> refusedRows;
    long long refusedRowsLeftOut = 0;
    // The run's log files that hold entries of this run.
    struct Log {
        std::string folder;  // with its trailing separator
        std::string fileName;
    };
    std::vector<Log> logs;
    // The run's list of refused rows (recusadas.csv), when it holds rows of this run.
    std::optional<Log> refusals;
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
// refused rows grouped by table and reason with the column at fault (a selected one shows what
// to change and its source values), buttons that open the run's logs and its list of refused
// rows, and the safety copy with a button that puts the destination back from it.
class OutcomeView : public QWidget {
    Q_OBJECT
public:
    // openLog opens a log file; saveReport (when given, "Salvar relatório…") saves the run's
    // report; undoImport restores the safety copy over the destination it
    // was made of and tells whether it did.
    OutcomeView(QWidget* owner, std::function<void(const RunReport::Log&)> openLog,
                std::function<bool(const RunReport::Copy&)> undoImport, std::function<void()> saveReport = {});

    // Replaces what the view shows with the report.
    void present(const RunReport& report);
    // Wide enough for every column of the counts table.
    QSize sizeHint() const override;
    // Shows "Conferir", which compares the run's destination with its source.
    void setVerify(std::function<void()> verify);

private:
    // What the counts table needs to show every column (fitColumnsToContents).
    int tableWidth_ = 0;
    void fillTables(const RunReport& report);
    void fillRefusals(const RunReport& report);
    void fillLogs(const RunReport& report);
    void fillCopy(const RunReport& report);
    // Shows the refused row of a line of the tree (none for a group's line): what to change,
    // the server's text and the source row's values.
    void showRefusal(const QTreeWidgetItem* item);

    std::function<void(const RunReport::Log&)> openLog_;
    std::function<bool(const RunReport::Copy&)> undoImport_;
    std::optional<RunReport::Copy> copy_;
    std::vector<engine::RefusedRow> refusedRows_;
    std::function<void()> verify_;

    QLabel* LabelTitulo = nullptr;
    QLabel* LabelServidores = nullptr;
    QTableWidget* GridTabelas = nullptr;
    QLabel* LabelRecusas = nullptr;
    QTreeWidget* TreeRecusas = nullptr;
    QLabel* LabelMotivo = nullptr;
    QTableWidget* GridOrigem = nullptr;
    QWidget* PanelLogs = nullptr;
    std::vector<QPushButton*> logButtons_;
    QLabel* LabelCopia = nullptr;
    QPushButton* ButtonDesfazer = nullptr;
    QPushButton* ButtonRelatorio = nullptr;
    QPushButton* ButtonConferir = nullptr;
};

}  // namespace ui
