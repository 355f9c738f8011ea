#include "import_session.h"

#include <utility>

#include "connection_parameters.h"
#include "regional_format.h"

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

}  // namespace engine
