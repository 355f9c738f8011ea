// Stop requests on Windows: Ctrl+C is recorded as SIGINT, reported with a shell's exit status,
// and leaves the process running to finish its row.
#include <gtest/gtest.h>

#include <string>

#include "child_process.h"
#include "file_paths.h"
#include "test_files.h"

namespace {

TEST(StopSignals, CtrlCIsRecordedAsSigintAndTheProgramGoesOn) {
    const windows_test::TemporaryFolder folder;
    const std::string answer = folder.utf8() + "parada.txt";
    windows_test::ChildProcess child(windows_test::thisProgram().native(),
                                     {L"--stop-on-ctrl-c", platform::filePath(answer)},
                                     platform::filePath(folder.utf8() + "saida.txt"));
    ASSERT_TRUE(child.started());
    EXPECT_EQ(child.wait(), 0) << "ended by Ctrl+C instead of going on";
    EXPECT_EQ(windows_test::readAll(platform::filePath(answer)), "SIGINT 130");
}

}  // namespace
