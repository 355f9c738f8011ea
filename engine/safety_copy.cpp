#include "safety_copy.h"

#include <ctime>
#include <filesystem>

#include "copy_log.h"
#include "database_error.h"
#include "database_identity.h"
#include "import_context.h"
#include "server_service.h"
#include "service_manager.h"

namespace engine {

std::string safetyCopyPath(const std::string& databaseFileName, const std::tm& localTime) {
    const std::filesystem::path database(databaseFileName);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "-%Y%m%d-%H%M%S.fbk", &localTime);
    return (database.parent_path() / database.stem()).string() + stamp;
}

SafetyCopy makeSafetyCopy(WindowSeam& window, db::Attachment& destination, db::Transaction& transaction) {
    SafetyCopy copy;
    copy.database = serverFileName(destination, transaction);
    const std::time_t now = std::time(nullptr);
    copy.path = safetyCopyPath(copy.database, *std::localtime(&now));
    const int tables = userTableCount(destination, transaction);
    runServerService(window, db::backupRequest(copy.database, copy.path), "Fazendo cópia de segurança do destino",
                     tables);
    // The server runs on this machine: the file it wrote is here.
    std::error_code unknown;
    const std::uintmax_t bytes = std::filesystem::file_size(copy.path, unknown);
    copy.bytes = unknown ? 0 : static_cast<long long>(bytes);
    return copy;
}

bool copyBeforeEmptying(ImportContext& context) {
    try {
        context.safetyCopy = makeSafetyCopy(context.window, context.IBDatabaseDestino, context.IBTransactionFireBird);
    } catch (const db::DatabaseError& failure) {
        context.window.setStatus("");
        return context.window.confirmaPadraoNao("Não foi possível fazer a cópia de segurança do banco de destino:\r\n" +
                                                std::string(failure.text()) + "\r\nImportar sem cópia de segurança?");
    }
    recordCopy(context.programFolder, *context.safetyCopy, std::time(nullptr));
    return true;
}

}  // namespace engine
