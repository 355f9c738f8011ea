// Log files on Windows: every write on disk at once, readable by another program while the
// log is open, in folders of any name.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "file_paths.h"
#include "log_file.h"
#include "test_files.h"

namespace {

TEST(LogFile, EachWriteIsOnDiskWhileTheLogIsOpen) {
    const windows_test::TemporaryFolder folder("Relatórios Łódź");
    const std::string path = folder.utf8() + "quorel.log";
    platform::LogFile log(path);
    EXPECT_EQ(windows_test::readAll(platform::filePath(path)), "");
    log.write("Cliente 12: CNPJ repetido\r\n");
    EXPECT_EQ(windows_test::readAll(platform::filePath(path)), "Cliente 12: CNPJ repetido\r\n");
    log.write(std::string(70000, 'x'));
    EXPECT_EQ(std::filesystem::file_size(platform::filePath(path)), 27u + 70000u);
}

TEST(LogFile, ALogCreatedAgainStartsEmpty) {
    const windows_test::TemporaryFolder folder;
    const std::string path = folder.utf8() + "quorel2.log";
    platform::LogFile(path).write("an earlier run's entries\r\n");
    platform::LogFile again(path);
    again.write("new\r\n");
    EXPECT_EQ(windows_test::readAll(platform::filePath(path)), "new\r\n");
}

TEST(LogFile, ALogThatCannotBeCreatedIsNamedInTheError) {
    const windows_test::TemporaryFolder folder;
    const std::string path = folder.utf8() + "não existe\\quorel.log";
    try {
        platform::LogFile log(path);
        FAIL() << "created";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("\"" + path + "\""), std::string::npos) << error.what();
    }
}

TEST(LogFile, FilesAreRemovedQuietly) {
    const windows_test::TemporaryFolder folder("Ação");
    const std::string path = folder.utf8() + "quorel-simulação.log";
    platform::LogFile(path).write("x");
    platform::removeFileQuietly(path);
    EXPECT_FALSE(std::filesystem::exists(platform::filePath(path)));
    platform::removeFileQuietly(path);  // no longer there: nothing happens
    platform::removeFileQuietly(folder.utf8() + "Łódź\\nunca.log");
}

}  // namespace
