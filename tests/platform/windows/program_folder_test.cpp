// The program folder on Windows, for a program started from folders whose names the ANSI code
// page can and cannot hold.
#include <gtest/gtest.h>

#include <filesystem>

#include "child_process.h"
#include "file_paths.h"
#include "program_folder.h"
#include "test_files.h"

namespace {

TEST(ProgramFolder, IsTheFolderOfTheRunningProgramWithItsSeparator) {
    EXPECT_EQ(platform::programFolder(), platform::utf8Path(windows_test::thisProgram().parent_path()) + "\\");
}

TEST(ProgramFolder, AProgramCopiedIntoAnAccentedFolderFindsThatFolder) {
    for (const char* name : {"Área de Trabalho", "Łódź – Żółć", "日本"}) {
        SCOPED_TRACE(name);
        const windows_test::TemporaryFolder folder(name);
        const std::filesystem::path program = folder.path() / L"tavlo-merak-batch.exe";
        std::filesystem::copy_file(windows_test::thisProgram(), program);
        const std::string answer = folder.utf8() + "pasta.txt";

        windows_test::ChildProcess child(program.native(), {L"--print-program-folder", platform::filePath(answer)});
        ASSERT_TRUE(child.started());
        ASSERT_EQ(child.wait(), 0);
        EXPECT_EQ(windows_test::readAll(platform::filePath(answer)), folder.utf8());
    }
}

}  // namespace
