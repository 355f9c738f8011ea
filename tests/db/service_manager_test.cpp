// The server's backup and restore services, against the local server.
#include "service_manager.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "backup_file.h"
#include "database_error.h"
#include "test_database.h"

namespace {

using test_support::TestDatabase;

const db::ServiceLogin kLogin{"localhost", "SYSDBA", "pinewheel"};

std::vector<std::string> run(const std::vector<char>& request) {
    std::vector<std::string> lines;
    db::runService(kLogin, request, [&](const std::string& line) { lines.push_back(line); });
    return lines;
}

std::string folderOf(const TestDatabase& database) {
    return std::filesystem::path(database.path()).parent_path().string();
}

TEST(ServiceManager, BackupAndRestoreRunOnTheServerAndReportTheirSteps) {
    const TestDatabase database("CREATE TABLE T (I INTEGER); INSERT INTO T VALUES (1); INSERT INTO T VALUES (2);");
    const std::string backup = folderOf(database) + "/copia.fbk";

    const std::vector<std::string> written = run(db::backupRequest(database.path(), backup));
    EXPECT_NE(std::find(written.begin(), written.end(), "gbak:    writing data for table T "), written.end())
        << testing::PrintToString(written);
    EXPECT_NE(std::find(written.begin(), written.end(), "gbak:2 records written "), written.end());
    const std::optional<engine::BackupFileHeader> header = engine::readBackupHeader(backup);
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->databaseName, database.path());

    database.run("DELETE FROM T;");
    const std::vector<std::string> restored = run(db::restoreRequest(backup, database.path()));
    EXPECT_NE(std::find(restored.begin(), restored.end(), "gbak:restoring data for table T "), restored.end())
        << testing::PrintToString(restored);
    EXPECT_NE(test_support::runIsql("CONNECT 'localhost:" + database.path() +
                                    "' USER 'SYSDBA' PASSWORD 'pinewheel';\nSELECT COUNT(*) AS N FROM T;\n")
                  .find(" 2"),
              std::string::npos);
}

TEST(ServiceManager, FailuresCarryTheServersText) {
    const TestDatabase database;
    const std::string folder = folderOf(database);
    const std::vector<std::pair<std::vector<char>, std::string>> cases = {
        {db::backupRequest(database.path(), folder + "/nao/existe.fbk"),
         "cannot open backup file " + folder + "/nao/existe.fbk"},
        {db::backupRequest(folder + "/nenhum.fdb", folder + "/copia.fbk"),
         "I/O error during \"open\" operation for file \"" + folder + "/nenhum.fdb\""},
        {db::restoreRequest(folder + "/nenhuma.fbk", folder + "/novo.fdb"),
         "cannot open backup file " + folder + "/nenhuma.fbk"},
    };
    for (const auto& [request, start] : cases) {
        SCOPED_TRACE(start);
        try {
            run(request);
            ADD_FAILURE() << "no failure";
        } catch (const db::DatabaseError& failure) {
            EXPECT_EQ(std::string(failure.text()).substr(0, start.size()), start) << failure.text();
            EXPECT_NE(failure.errorCode(), 0);
        }
    }
    EXPECT_THROW(db::ServiceManager({"localhost", "SYSDBA", "errada"}), db::DatabaseError);
}

// The bytes of a backup streamed to this program.
std::string streamedBackup(const std::string& database) {
    db::ServiceManager manager(kLogin);
    manager.start(db::streamedBackupRequest(database));
    std::string backup;
    std::string bytes;
    while (manager.nextBytes(bytes)) backup += bytes;
    return backup;
}

// Streams the bytes to a restore; the lines of its output.
std::vector<std::string> streamedRestore(const std::string& backup, const std::string& database, db::RestoreInto into) {
    db::ServiceManager manager(kLogin);
    manager.start(db::streamedRestoreRequest(database, into));
    std::size_t at = 0;
    std::vector<std::string> lines;
    manager.feed(
        [&](std::size_t most) {
            const std::string chunk = backup.substr(at, most);
            at += chunk.size();
            return chunk;
        },
        [&](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(at, backup.size());
    return lines;
}

std::string countOf(const std::string& database) {
    return test_support::runIsql("CONNECT 'localhost:" + database +
                                 "' USER 'SYSDBA' PASSWORD 'pinewheel';\nSELECT COUNT(*) AS N FROM T;\n");
}

TEST(ServiceManager, ABackupStreamedThroughTheProgramRestoresIntoANewDatabaseOrOverAnExistingOne) {
    const TestDatabase database(
        "CREATE TABLE T (I INTEGER, S VARCHAR(200)); COMMIT; INSERT INTO T SELECT 1, UUID_TO_CHAR(GEN_UUID()) || "
        "UUID_TO_CHAR(GEN_UUID()) || UUID_TO_CHAR(GEN_UUID()) || UUID_TO_CHAR(GEN_UUID()) FROM RDB$TYPES, (SELECT "
        "FIRST 4 1 AS X FROM RDB$TYPES);");
    const std::string backup = streamedBackup(database.path());
    // More than one reply's bytes (rows the server cannot compress), as the server itself writes it.
    const std::string onDisk = folderOf(database) + "/copia.fbk";
    run(db::backupRequest(database.path(), onDisk));
    EXPECT_EQ(backup.size(), std::filesystem::file_size(onDisk));
    EXPECT_GT(backup.size(), 65536u);

    const std::string fresh = folderOf(database) + "/novo.fdb";
    const std::vector<std::string> lines = streamedRestore(backup, fresh, db::RestoreInto::NewDatabase);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "gbak:restoring data for table T "), lines.end())
        << testing::PrintToString(lines);
    EXPECT_EQ(countOf(fresh), countOf(database.path()));
    // A new database is never put over an existing file, but an existing one can be replaced.
    EXPECT_THROW(streamedRestore(backup, fresh, db::RestoreInto::NewDatabase), db::DatabaseError);
    database.run("DELETE FROM T;");
    streamedRestore(backup, database.path(), db::RestoreInto::ExistingDatabase);
    EXPECT_EQ(countOf(fresh), countOf(database.path()));

    // A backup cut short fails the restore, and the server checks a whole database quietly.
    const std::string cut = folderOf(database) + "/cortado.fdb";
    EXPECT_THROW(streamedRestore(backup.substr(0, backup.size() / 2), cut, db::RestoreInto::NewDatabase),
                 db::DatabaseError);
    EXPECT_EQ(run(db::validationRequest(fresh)), std::vector<std::string>{});
}

}  // namespace
