#include "restore_copy.h"

#include <filesystem>
#include <optional>

#include "attachment.h"
#include "backup_file.h"
#include "connection_parameters.h"
#include "database_error.h"
#include "database_identity.h"
#include "server_service.h"
#include "service_manager.h"
#include "transaction.h"

namespace engine {

namespace {

// What the destination is now, read through an attachment that is closed again before the
// restore starts.
struct DestinationNow {
    std::string serverFileName;  // empty when it could not be attached (missing, for one)
    int tables = 0;
};

DestinationNow inspectDestination(const std::string& destinationPath) {
    db::Attachment attachment("DestinoRestauracao");
    db::Transaction transaction("DestinoRestauracaoTransacao");
    attachment.setParams(kDestinoParams);
    attachment.setSqlDialect(kSqlDialect);
    attachment.setConnectionString(std::string(kLoopbackHost) + ":" + destinationPath);
    transaction.setParams(kTransactionParams);
    transaction.setDefaultAttachment(&attachment);
    attachment.setDefaultTransaction(&transaction);
    DestinationNow now;
    try {
        attachment.open();
        now.serverFileName = serverFileName(attachment, transaction);
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

bool restoreSafetyCopy(WindowSeam& window, const std::string& copyPath, const std::string& destinationPath) {
    // The server on this machine reads the file: it gets the full path.
    std::error_code ignored;
    const std::string copy = std::filesystem::absolute(copyPath, ignored).string();
    if (!std::filesystem::is_regular_file(copy, ignored)) {
        window.mensagem("O arquivo da cópia de segurança não existe:\r\n" + copy, false);
        return false;
    }
    const std::optional<BackupFileHeader> header = readBackupHeader(copy);
    if (!header) {
        window.mensagem("O arquivo não é uma cópia de segurança do Firebird:\r\n" + copy, false);
        return false;
    }

    const DestinationNow destination = inspectDestination(destinationPath);
    const std::string current = destination.serverFileName.empty() ? destinationPath : destination.serverFileName;
    const bool sameDatabase = header->databaseName == current;
    const bool confirmed =
        sameDatabase ? window.confirma(question(copy, destinationPath))
                     : window.confirmaPadraoNao("ATENÇÃO: esta cópia foi feita de OUTRO banco de dados:\r\n" +
                                                header->databaseName + "\r\n" + question(copy, destinationPath));
    if (!confirmed) return false;

    try {
        runServerService(window, db::restoreRequest(copy, destinationPath), "Restaurando a cópia de segurança",
                         destination.tables);
    } catch (const db::DatabaseError& failure) {
        window.setStatus("");
        window.mensagem("O banco de destino não foi restaurado:\r\n" + std::string(failure.text()), false);
        return false;
    }
    window.setStatus("Banco de destino restaurado");
    window.mensagem("Banco de destino restaurado da cópia de segurança\r\n" + copy, true);
    return true;
}

}  // namespace engine
