#pragma once

#include <optional>
#include <string>
#include <vector>

#include "attachment.h"
#include "lookup_cache.h"
#include "run_log_file.h"
#include "safety_copy.h"
#include "statement.h"
#include "table_writer.h"
#include "transaction.h"
#include "window_seam.h"

namespace engine {

// What a run does with the destination's transaction. With every option at its default the
// run commits after each DELETE, row and sequence restart, as it always has.
struct RunOptions {
    // The whole run inside transactions that are rolled back at its end: nothing in the
    // destination changes, and the logs go to the preview's own files.
    bool preview = false;
    // Each table's DELETE, rows and sequence restart are committed together at its end; a
    // table that does not reach its end is left as it was.
    bool allOrNothing = false;
    // A server backup of the destination before the first DELETE; a preview never makes one.
    bool safetyCopy = true;
};

// One row that the destination refused, for the window's list of refusals.
struct RefusedRow {
    std::string table;   // "CLIENTES"
    std::string key;     // the source key as the table's log entry writes it
    std::string reason;  // the first line of the failure text
};

// How one table import of the current run went.
struct TableOutcome {
    std::string destinationTable;
    std::optional<long long> rowsBefore;  // rows the destination table held before its DELETE
    int rowsRead = 0;                     // source rows the loop handled
    int rowsRefused = 0;                  // rows whose write or commit failed (each logged)
    std::optional<long long> rowsAfter;   // rows the destination table held at the table's end
    // The sequence restart that ran (or, in a preview, would run): its name and value.
    std::optional<std::string> sequenceName;
    std::optional<long long> sequenceValue;
    bool completed = true;     // false when the table ended with its table-level message
    bool interrupted = false;  // a stop request ended the table after a whole row
    bool keptAsItWas = false;  // all-or-nothing: the table's work was undone
    std::string failure;       // the table-level failure text, when it did not complete
    double seconds = 0;
};

// The state of the main window that the import engine works on: both attachments, their
// transactions, the statement objects, the table writers, the run flag and the run's logs.
// The window (or the batch front end) owns one and lends it the seam to itself.
class ImportContext {
public:
    // programFolder: where the run writes its logs, with its trailing separator.
    ImportContext(WindowSeam& window, std::string programFolder);
    // Closes both attachments, committing any active transaction.
    ~ImportContext();
    ImportContext(const ImportContext&) = delete;
    ImportContext& operator=(const ImportContext&) = delete;

    WindowSeam& window;
    const std::string programFolder;

    db::Attachment IBDBOrigem{"IBDBOrigem"};
    db::Attachment IBDatabaseDestino{"IBDatabaseDestino"};
    db::Transaction IBTransOrigem{"IBTransOrigem"};
    db::Transaction IBTransactionFireBird{"IBTransactionFireBird"};

    db::Statement IBQueryOrigem{"IBQueryOrigem", IBDBOrigem, IBTransOrigem};
    db::Statement IBQueryOrigem_Temp{"IBQueryOrigem_Temp", IBDBOrigem, IBTransOrigem};
    db::Statement IBQueryFireBird{"IBQueryFireBird", IBDatabaseDestino, IBTransactionFireBird};

    db::TableWriter IBDS_clientes{"IBDS_clientes", IBDatabaseDestino, IBTransactionFireBird, db::kClientesDeclaration};
    db::TableWriter IBDS_Fornecedor{"IBDS_Fornecedor", IBDatabaseDestino, IBTransactionFireBird,
                                    db::kFornecedoresDeclaration};
    db::TableWriter IBDS_Grupos{"IBDS_Grupos", IBDatabaseDestino, IBTransactionFireBird, db::kGrupoDeclaration};
    db::TableWriter IBDS_Produtos{"IBDS_Produtos", IBDatabaseDestino, IBTransactionFireBird, db::kProdutosDeclaration};

    // How the next run treats the destination; the front end sets it before the run.
    RunOptions options;
    // The safety copy the current (or last) run made of the destination before emptying it.
    std::optional<SafetyCopy> safetyCopy;
    // The current (or last) run stopped before its first table: the copy failed and importing
    // without one was not accepted.
    bool stoppedWithoutCopy = false;

    // True from the confirmation of an import run until its end.
    bool Importando = false;
    // The run's error log and duplicate-client log: entries in the order they were made.
    std::vector<std::string> LogErros;
    std::vector<std::string> LogClienteRepetido;
    // The table imports of the current run, in the order they ran.
    std::vector<TableOutcome> outcomes;
    // The rows refused in the current run, in order, for the window's list; bounded, so that
    // memory does not grow with the refusals (refusedRowsLeftOut counts the rest).
    std::vector<RefusedRow> refusedRows;
    long long refusedRowsLeftOut = 0;
    // The answers of the city and CEST lookups in the current run.
    LookupCache lookups;

    // The files of the run's logs. During a run the table procedure calls flushLogs() after
    // each row, which moves the entries made so far from LogErros and LogClienteRepetido to the
    // files: a run that is killed leaves every entry it made, and the lists stay short.
    // Outside a run the lists keep their entries.
    RunLogs runLogs;
    void flushLogs() { runLogs.drain(LogErros, LogClienteRepetido); }
};

}  // namespace engine
