#include "import_context.h"

#include <utility>

#include "connection_parameters.h"

namespace engine {

namespace {

// The text the source statements hold before their first use; it is never executed.
constexpr const char* kUnusedQuery = "SELECT PRO_CODIGO FROM PRODUTO WHERE 1=2";

}  // namespace

ImportContext::ImportContext(WindowSeam& seam, std::string folder) : window(seam), programFolder(std::move(folder)) {
    IBDBOrigem.setParams(kOrigemParams);
    IBDatabaseDestino.setParams(kDestinoParams);
    IBTransOrigem.setParams(kTransactionParams);
    IBTransOrigem.setDefaultAttachment(&IBDBOrigem);
    IBTransactionFireBird.setParams(kTransactionParams);
    IBTransactionFireBird.setDefaultAttachment(&IBDatabaseDestino);
    IBDBOrigem.setDefaultTransaction(&IBTransOrigem);
    IBDatabaseDestino.setDefaultTransaction(&IBTransactionFireBird);
    IBQueryOrigem.setText(kUnusedQuery);
    IBQueryOrigem_Temp.setText(kUnusedQuery);
}

ImportContext::~ImportContext() {
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
