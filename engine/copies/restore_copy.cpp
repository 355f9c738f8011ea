#include "restore_copy.h"

#include <filesystem>
#include <optional>

#include "backup_file.h"
#include "database_error.h"
#include "database_identity.h"
#include "destination_connection.h"
#include "file_paths.h"
#include "server_service.h"
#include "service_manager.h"

namespace engine {

namespace {

// What the destination is now, read through an attachment that is closed again before the
// restore starts.
struct DestinationNow {
    std::string serverFileName;  // empty when it could not be attached (missing, for one)
    int tables = 0;
};

DestinationNow inspectDestination(const std::string& destinationPath, const ServerLogin& login) {
    DestinationConnection destination(destinationPath, login, "DestinoRestauracao");
    db::Attachment& attachment = destination.attachment;
    db::Transaction& transaction = destination.transaction;
    DestinationNow now;
    try {
        attachment.open();
        now.serverFileName = db::serverFileName(attachment, transaction);
        now.tables = userTableCount(attachment, transaction);
        transaction.commit();
        attachment.close();
    } catch (const db::DatabaseError&) {
        // The restore itself reports what is wrong with the destination.
    }
    return now;
}

std::string question(const std::string& copyPath, const std::string& destinationPath) {
    return "O banco de destino\r\n" + destinationPath + "\r\nserá substituído pela cópia de segurança\r\n" + copyPath +
           "\r\nTudo o que foi gravado no destino depois da cópia será perdido.\r\nConfirma ?";
}

}  // namespace

bool restoreSafetyCopy(const Progress& progress, RunPrompter& prompter, const ServerLogin& login,
                       const std::string& copyPath, const std::string& destinationPath) {
    // The server on this machine reads the file: it gets the full path.
    std::error_code ignored;
    const std::string copy = platform::utf8Path(std::filesystem::absolute(platform::filePath(copyPath), ignored));
    if (!std::filesystem::is_regular_file(platform::filePath(copy), ignored)) {
        prompter.tell(MessageKind::Warning, "O arquivo da cópia de segurança não existe:\r\n" + copy);
        return false;
    }
    const std::optional<BackupFileHeader> header = readBackupHeader(copy);
    if (!header) {
        prompter.tell(MessageKind::Warning, "O arquivo não é uma cópia de segurança do Firebird:\r\n" + copy);
        return false;
    }

    const DestinationNow destination = inspectDestination(destinationPath, login);
    const std::string current = destination.serverFileName.empty() ? destinationPath : destination.serverFileName;
    const bool sameDatabase = header->databaseName == current;
    const bool confirmed = sameDatabase
                               ? prompter.ask(Question::RestoreCopy, question(copy, destinationPath))
                               : prompter.ask(Question::RestoreOtherDatabasesCopy,
                                              "ATENÇÃO: esta cópia foi feita de OUTRO banco de dados:\r\n" +
                                                  header->databaseName + "\r\n" + question(copy, destinationPath));
    if (!confirmed) return false;

    try {
        runServerService(progress, login, db::restoreRequest(copy, destinationPath), "Restaurando a cópia de segurança",
                         destination.tables);
    } catch (const db::DatabaseError& failure) {
        progress.setStatus("");
        prompter.tell(MessageKind::Warning, "O banco de destino não foi restaurado:\r\n" + std::string(failure.text()));
        return false;
    }
    progress.setStatus("Banco de destino restaurado");
    prompter.tell(MessageKind::Information, "Banco de destino restaurado da cópia de segurança\r\n" + copy);
    return true;
}

}  // namespace engine
