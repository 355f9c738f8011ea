#pragma once

#include <optional>

#include <string>

#include "attachment.h"
#include "gauge_model.h"
#include "server_login.h"
#include "statement.h"
#include "table_writer.h"
#include "transaction.h"

namespace engine {

// The database objects of the main window, which keep their state across its commands: both
// attachments, their transactions, the statement objects and the table writers, and the
// progress gauge's state. After "Testar Conexão" both attachments stay open with the
// destination transaction active; after a run the source stays open until the next Connectar;
// the e-mail script reads the source as the last Connectar left it. The window (or the batch
// front end) owns one; nothing is attached when it is made.
class ImportSession {
public:
    // programFolder: where runs write their logs, with its trailing separator; login: who the
    // attachments log in as (the fixed user and password unless it replaces them).
    explicit ImportSession(std::string programFolder, ServerLogin login = {});
    // Closes both attachments: closing commits what is active on them.
    ~ImportSession();
    ImportSession(const ImportSession&) = delete;
    ImportSession& operator=(const ImportSession&) = delete;

    const std::string programFolder;
    // Connectar gives both attachments this login; what the technician types after a refused
    // login replaces it for the rest of the program's life.
    ServerLogin login;

    db::Attachment IBDBOrigem{"IBDBOrigem"};
    db::Attachment IBDatabaseDestino{"IBDatabaseDestino"};
    db::Transaction IBTransOrigem{"IBTransOrigem"};
    db::Transaction IBTransactionFireBird{"IBTransactionFireBird"};

    db::Statement IBQueryOrigem{"IBQueryOrigem", IBDBOrigem, IBTransOrigem};
    db::Statement IBQueryOrigem_Temp{"IBQueryOrigem_Temp", IBDBOrigem, IBTransOrigem};
    db::Statement IBQueryFireBird{"IBQueryFireBird", IBDatabaseDestino, IBTransactionFireBird};

    TableWriter IBDS_clientes{"IBDS_clientes", IBDatabaseDestino, IBTransactionFireBird, kClientesDeclaration};
    TableWriter IBDS_Fornecedor{"IBDS_Fornecedor", IBDatabaseDestino, IBTransactionFireBird, kFornecedoresDeclaration};
    TableWriter IBDS_Grupos{"IBDS_Grupos", IBDatabaseDestino, IBTransactionFireBird, kGrupoDeclaration};
    TableWriter IBDS_Produtos{"IBDS_Produtos", IBDatabaseDestino, IBTransactionFireBird, kProdutosDeclaration};

    // GaugeImportando's minimum, maximum and position: a run starts from what the last one left.
    GaugeModel gauge;
};

// A number that a query reads from the destination in the destination transaction; none when it
// is null. Throws db::DatabaseError.
std::optional<long long> readDestinationNumber(ImportSession& session, const std::string& sql);

}  // namespace engine
