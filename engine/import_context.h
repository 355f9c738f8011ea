#pragma once

#include <string>
#include <vector>

#include "attachment.h"
#include "statement.h"
#include "table_writer.h"
#include "transaction.h"
#include "window_seam.h"

namespace engine {

// How one table import of the current run went.
struct TableOutcome {
    std::string destinationTable;
    int rowsRead = 0;      // source rows the loop handled
    int rowsRefused = 0;   // rows whose write or commit failed (each logged)
    bool completed = true; // false when the table ended with its table-level message
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

    db::TableWriter IBDS_clientes{"IBDS_clientes", IBDatabaseDestino, IBTransactionFireBird,
                                  db::kClientesDeclaration};
    db::TableWriter IBDS_Fornecedor{"IBDS_Fornecedor", IBDatabaseDestino, IBTransactionFireBird,
                                    db::kFornecedoresDeclaration};
    db::TableWriter IBDS_Grupos{"IBDS_Grupos", IBDatabaseDestino, IBTransactionFireBird, db::kGrupoDeclaration};
    db::TableWriter IBDS_Produtos{"IBDS_Produtos", IBDatabaseDestino, IBTransactionFireBird,
                                  db::kProdutosDeclaration};

    // True from the confirmation of an import run until its end.
    bool Importando = false;
    // The run's error log and duplicate-client log: entries in the order they were made.
    std::vector<std::string> LogErros;
    std::vector<std::string> LogClienteRepetido;
    // The table imports of the current run, in the order they ran.
    std::vector<TableOutcome> outcomes;
};

}  // namespace engine
