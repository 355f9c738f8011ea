#include "import_session.h"

#include <utility>

#include "connection_parameters.h"
#include "regional_format.h"
#include "statement.h"

namespace engine {

ImportSession::ImportSession(std::string folder, ServerLogin serverLogin)
    : programFolder(std::move(folder)), login(std::move(serverLogin)) {
    IBDBOrigem.setParams(origemParams(login));
    IBDatabaseDestino.setParams(destinoParams(login));
    IBDBOrigem.setRegionalFormat(kRegionalFormat);
    IBDatabaseDestino.setRegionalFormat(kRegionalFormat);
    IBTransOrigem.setParams(kTransactionParams);
    IBTransOrigem.setDefaultAttachment(&IBDBOrigem);
    IBTransactionFireBird.setParams(kTransactionParams);
    IBTransactionFireBird.setDefaultAttachment(&IBDatabaseDestino);
    IBDBOrigem.setDefaultTransaction(&IBTransOrigem);
    IBDatabaseDestino.setDefaultTransaction(&IBTransactionFireBird);
}

ImportSession::~ImportSession() {
    try {
        IBDBOrigem.close();
    } catch (...) {
        // Ending the program: the attachment is closed either way.
    }
    try {
        IBDatabaseDestino.close();
    } catch (...) {
    }
}

std::optional<long long> readDestinationNumber(ImportSession& session, const std::string& sql) {
    db::Statement read("", session.IBDatabaseDestino, session.IBTransactionFireBird);
    read.setText(sql);
    read.open();
    if (read.column(std::size_t{0}).isNull()) return std::nullopt;
    return read.column(std::size_t{0}).asStoredInteger();
}

}  // namespace engine
