#include "safety_copy.h"

#include <ctime>
#include <filesystem>

#include "database_error.h"
#include "database_identity.h"
#include "file_paths.h"
#include "local_time.h"
#include "server_service.h"
#include "service_manager.h"

namespace engine {

std::string safetyCopyPath(const std::string& databaseFileName, const std::tm& localTime) {
    const std::filesystem::path database = platform::filePath(databaseFileName);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "-%Y%m%d-%H%M%S.fbk", &localTime);
    return platform::utf8Path(database.parent_path() / database.stem()) + stamp;
}

SafetyCopy makeSafetyCopy(const Progress& progress, const ServerLogin& login, db::Attachment& destination,
                          db::Transaction& transaction) {
    SafetyCopy copy;
    copy.database = db::serverFileName(destination, transaction);
    const std::time_t now = std::time(nullptr);
    copy.path = safetyCopyPath(copy.database, platform::localTime(now));
    const int tables = userTableCount(destination, transaction);
    runServerService(progress, login, db::backupRequest(copy.database, copy.path),
                     "Fazendo cópia de segurança do destino", tables);
    // The server runs on this machine: the file it wrote is here.
    std::error_code unknown;
    const std::uintmax_t bytes = std::filesystem::file_size(platform::filePath(copy.path), unknown);
    copy.bytes = unknown ? 0 : static_cast<long long>(bytes);
    return copy;
}

}  // namespace engine
