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

}  // namespace
