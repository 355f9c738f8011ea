#include "run_log_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include <QTemporaryDir>

#include "small_file_system.h"
#include "test_database.h"

namespace {

// A program folder that fills up in the middle of a run: the log that moves to the user's
// data folder takes along every whole entry written so far, and the cut file is removed.
TEST(RunLogFile, ALogThatMovesWhenTheDiskFillsIsWholeInOnePlace) {
    const test_support::SmallFileSystem disk(1024 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << "no full file system can be made here: " << disk.why();
    const QTemporaryDir data;
    ::setenv("XDG_DATA_HOME", data.path().toStdString().c_str(), 1);
    const std::string programFolder = disk.folder() + "/";
    engine::RunLogFile log(programFolder, "recusadas.csv", {true, "\xEF\xBB\xBFtabela;chave\r\n"});
    std::string expected = "\xEF\xBB\xBFtabela;chave\r\n";
    log.append("CLIENTES;1");
    expected += "CLIENTES;1\r\n";
    disk.fillLeaving(2048);
    for (int key = 2; key <= 200; ++key) {
        const std::string entry = "CLIENTES;" + std::to_string(key) + ";" + std::string(80, 'x');
        log.append(entry);
        expected += entry + "\r\n";
    }
    log.finish();

    EXPECT_FALSE(log.programFolderFailure().empty());
    EXPECT_EQ(log.lostEntries(), 0u);
    EXPECT_EQ(log.folder(), data.path().toStdString() + "/tavlo-merak/");
    EXPECT_EQ(test_support::readFile(log.path()), expected);
    EXPECT_FALSE(std::filesystem::exists(programFolder + "recusadas.csv"));
    ::unsetenv("XDG_DATA_HOME");
}

}  // namespace
