#include "restore_copy.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>

#include "backup_file.h"
#include "copy_record.h"
#include "database_error.h"
#include "database_identity.h"
#include "database_server.h"
#include "destination_connection.h"
#include "file_paths.h"
#include "local_time.h"
#include "log_file.h"
#include "server_service.h"
#include "service_manager.h"
#include "sha256.h"
#include "statement.h"
#include "table_rows.h"

namespace engine {

namespace {

using TableRows = std::vector<std::pair<std::string, long long>>;

// What the destination is now, read through an attachment that is closed again before the
// restore starts.
struct DestinationNow {
    std::string serverFileName;  // empty when it could not be attached (missing, for one)
    int tables = 0;
    bool loginRefused = false;  // the server refused the user or the password
    std::string failure;        // why it could not be attached
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
    } catch (const db::DatabaseError& failure) {
        // The restore itself reports what is wrong with the destination; a refused login is
        // told before anything is asked.
        now.loginRefused = isLoginRefused(failure);
        now.failure = failure.text();
    }
    return now;
}

std::string question(const std::string& copyPath, const std::string& destinationPath) {
    return "O banco de destino\r\n" + destinationPath + "\r\nserá substituído pela cópia de segurança\r\n" + copyPath +
           "\r\nTudo o que foi gravado no destino depois da cópia será perdido.\r\nConfirma ?";
}

// A failed check: its text says which one.
struct CheckFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The new database a copy is first restored into, beside the destination.
std::string newDatabasePath(const std::string& destination) {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::tm local = platform::localTime(system_clock::to_time_t(now));
    char stamp[48];
    std::strftime(stamp, sizeof stamp, ".restaurando-%Y%m%d-%H%M%S", &local);
    return destination + stamp + "-" +
           std::to_string(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000) + ".fdb";
}

// Streams the copy to the restore of the database's server into the database (named as the
// destination is: a plain path or the server's form) and checks that the bytes read
// are those of the record, when there is one.
void restoreInto(const Progress& progress, const ServerLogin& login, const std::string& copy,
                 const std::optional<CopyRecord>& record, const std::string& database, db::RestoreInto into,
                 int tables) {
    std::ifstream file(platform::filePath(copy), std::ios::binary);
    if (!file) throw CheckFailed("Não foi possível ler a cópia de segurança:\r\n" + copy);
    Sha256 digest;
    long long bytes = 0;
    runStreamedRestore(
        progress, login, serverOf(database), db::streamedRestoreRequest(fileOf(database), into),
        [&](std::size_t most) {
            std::string chunk(most, '\0');
            file.read(chunk.data(), static_cast<std::streamsize>(most));
            chunk.resize(static_cast<std::size_t>(file.gcount()));
            digest.add(chunk);
            bytes += static_cast<long long>(chunk.size());
            return chunk;
        },
        "Restaurando a cópia de segurança", tables);
    if (record && (bytes != record->bytes || digest.hex() != record->sha256))
        throw CheckFailed("A cópia de segurança mudou enquanto era restaurada:\r\n" + copy);
}

TableRows rowsOf(const std::string& database, const ServerLogin& login) {
    DestinationConnection connection(database, login, "BancoRestaurado");
    connection.attachment.open();
    TableRows rows = tableRowCounts(connection.attachment, connection.transaction);
    connection.transaction.commit();
    connection.attachment.close();
    return rows;
}

// Compares a restored database's tables with the rows expected of them.
void checkRows(const std::string& database, const ServerLogin& login, const TableRows& expected) {
    const TableRows found = rowsOf(database, login);
    for (const auto& [table, rows] : expected) {
        long long have = -1;
        for (const auto& [name, count] : found)
            if (name == table) have = count;
        if (have != rows)
            throw CheckFailed("A tabela " + table + " tem " +
                              (have < 0 ? "nenhuma linha (não existe)" : std::to_string(have) + " linhas") +
                              " no banco restaurado e tinha " + std::to_string(rows) + " quando a cópia foi feita.");
    }
    if (found.size() != expected.size())
        throw CheckFailed("O banco restaurado tem " + std::to_string(found.size()) +
                          " tabelas e a cópia foi feita de " + std::to_string(expected.size()) + ".");
}

// The server's full validation of a database restored from a copy without a record.
void validate(const std::string& database, const ServerLogin& login) {
    std::string faults;
    db::runService(serviceLogin(login, serverOf(database)), db::validationRequest(fileOf(database)),
                   [&](const std::string& line) { faults += "\r\n" + line; });
    if (!faults.empty()) throw CheckFailed("A validação do servidor encontrou defeitos no banco restaurado:" + faults);
}

// True when the database can be attached and is not shut down.
bool isOnline(const std::string& database, const ServerLogin& login) {
    try {
        DestinationConnection connection(database, login, "DestinoRestauracao");
        connection.attachment.open();
        db::Statement query("EstadoDoBanco", connection.attachment, connection.transaction);
        query.setText("SELECT MON$SHUTDOWN_MODE FROM MON$DATABASE");
        query.open();
        const bool online = query.column(std::size_t{0}).asStoredInteger() == 0;
        query.close();
        connection.transaction.commit();
        connection.attachment.close();
        return online;
    } catch (const db::DatabaseError&) {
        return false;
    }
}

// The server has no service that drops a database: the file of one that nothing is attached to
// is removed.
void removeDatabaseFile(const std::string& database) { platform::removeFileQuietly(fileOf(database)); }

}  // namespace

bool restoreSafetyCopy(const Progress& progress, RunPrompter& prompter, const ServerLogin& login,
                       const std::string& copyPath, const std::string& destinationPath) {
    if (const std::string refusal = databaseRefusal(destinationPath); !refusal.empty()) {
        prompter.tell(MessageKind::Warning, refusal);
        return false;
    }
    // The copy is read here and streamed to the server: it gets the full path for the messages.
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
    const std::string refused = "A cópia de segurança não foi restaurada; o banco de destino não foi alterado.\r\n";
    std::optional<CopyRecord> record;
    try {
        record = readCopyRecord(copyRecordPath(copy));
    } catch (const std::runtime_error& failure) {
        prompter.tell(MessageKind::Warning, refused + failure.what());
        return false;
    }
    if (record) {
        std::error_code unknown;
        const std::uintmax_t bytes = std::filesystem::file_size(platform::filePath(copy), unknown);
        if (unknown || static_cast<long long>(bytes) != record->bytes || fileSha256(copy) != record->sha256) {
            prompter.tell(MessageKind::Warning,
                          refused +
                              "O arquivo não é mais o que foi gravado: o tamanho ou a soma SHA-256 não "
                              "conferem com o registro da cópia.\r\n" +
                              copy);
            return false;
        }
    }

    const DestinationNow destination = inspectDestination(destinationPath, login);
    if (destination.loginRefused) {
        prompter.tell(MessageKind::Warning,
                      refused + "O servidor recusou o usuário ou a senha.\r\nFalha: " + destination.failure);
        return false;
    }
    const std::string current =
        destination.serverFileName.empty() ? fileOf(destinationPath) : destination.serverFileName;
    std::string warnings;
    if (header->databaseName != current)
        warnings += "ATENÇÃO: esta cópia foi feita de OUTRO banco de dados:\r\n" + header->databaseName + "\r\n";
    if (!record)
        warnings += "ATENÇÃO: esta cópia não tem registro (" + copyRecordPath(copy) +
                    "): não foi possível conferir o seu conteúdo com o banco de onde ela foi feita.\r\n";
    const Question kind = !record                           ? Question::RestoreUncheckedCopy
                          : header->databaseName != current ? Question::RestoreOtherDatabasesCopy
                                                            : Question::RestoreCopy;
    if (!prompter.ask(kind, warnings + question(copy, destinationPath))) return false;

    // First into a database of its own, which is checked before the destination is touched.
    const std::string fresh = onServerOf(destinationPath, newDatabasePath(current));
    TableRows expected;
    try {
        restoreInto(progress, login, copy, record, fresh, db::RestoreInto::NewDatabase, destination.tables);
        if (record) {
            expected = record->tableRows;
            checkRows(fresh, login, expected);
        } else {
            validate(fresh, login);
            expected = rowsOf(fresh, login);
        }
    } catch (const std::runtime_error& failure) {
        removeDatabaseFile(fresh);
        progress.setStatus("");
        prompter.tell(MessageKind::Warning, refused + failure.what());
        return false;
    }

    // Then over the destination; until the destination passes the same check, the database
    // checked first stays on disk.
    const std::string kept = "\r\nO banco restaurado e conferido foi mantido em:\r\n" + fresh;
    try {
        restoreInto(progress, login, copy, record, destinationPath, db::RestoreInto::ExistingDatabase,
                    destination.tables);
    } catch (const std::runtime_error& failure) {
        progress.setStatus("");
        const bool untouched = isOnline(destinationPath, login);
        if (untouched) removeDatabaseFile(fresh);
        prompter.tell(MessageKind::Warning, "O banco de destino não foi restaurado:\r\n" + std::string(failure.what()) +
                                                (untouched ? "" : kept));
        return false;
    }
    try {
        checkRows(destinationPath, login, expected);
    } catch (const std::runtime_error& failure) {
        progress.setStatus("");
        prompter.tell(MessageKind::Warning, "O banco de destino restaurado não confere com a cópia:\r\n" +
                                                std::string(failure.what()) + kept);
        return false;
    }
    removeDatabaseFile(fresh);
    progress.setStatus("Banco de destino restaurado");
    prompter.tell(MessageKind::Information, "Banco de destino restaurado da cópia de segurança\r\n" + copy);
    return true;
}

}  // namespace engine
