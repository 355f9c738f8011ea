// The destination lock on Windows: a file beside the database, one holder per database whatever
// the case of its name, in this process or another; released with its object and when its
// holder is killed; what cannot be relied on at its place is put aside where Windows allows,
// and the run refused plainly where it does not.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "child_process.h"
#include "file_access.h"
#include "file_paths.h"
#include "run_lock.h"
#include "test_files.h"

namespace {

// A folder with an accent in its name, holding files that stand for databases.
class LockPlace : public testing::Test {
protected:
    windows_test::TemporaryFolder folder{"Dados Ação"};
    std::string database = folder.utf8() + "merak.fdb";
    std::string lock = platform::destinationLockPath(database);

    void SetUp() override { write(database, "database"); }

    static void write(const std::string& path, const std::string& bytes) {
        std::ofstream(platform::filePath(path), std::ios::binary) << bytes;
    }
};

TEST_F(LockPlace, IsAFileBesideTheDatabaseWithOneHolderWhateverTheCaseOfItsName) {
    EXPECT_EQ(lock, database + ".tavlo-merak-lock");
    write(folder.utf8() + "tavlo.fdb", "database");
    write(database + ".old", "database");
    const platform::DestinationLock first(database);
    ASSERT_TRUE(first.held()) << first.failure();
    EXPECT_TRUE(std::filesystem::is_regular_file(platform::filePath(lock)));

    const struct {
        std::string name;
        bool held;
    } cases[] = {
        {database, false},         {folder.utf8() + "MERAK.FDB", false}, {folder.utf8() + "Merak.Fdb", false},
        {database + ".old", true}, {folder.utf8() + "tavlo.fdb", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const platform::DestinationLock other(c.name);
        EXPECT_EQ(other.held(), c.held);
        EXPECT_EQ(other.failure(), "");
    }
}

TEST_F(LockPlace, ReleasedWithItsObject) {
    { const platform::DestinationLock first(database); }
    const platform::DestinationLock second(database);
    EXPECT_TRUE(second.held()) << second.failure();
}

TEST_F(LockPlace, HeldByAnotherProcessUntilThatProcessIsKilled) {
    const std::string answer = folder.utf8() + "trava.txt";
    windows_test::ChildProcess holder(windows_test::thisProgram().native(),
                                      {L"--hold-lock", platform::filePath(database), platform::filePath(answer)});
    ASSERT_TRUE(holder.started());
    for (int i = 0; i < 300 && windows_test::readAll(platform::filePath(answer)).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_EQ(windows_test::readAll(platform::filePath(answer)), "held");

    const platform::DestinationLock second(database);
    EXPECT_FALSE(second.held());
    EXPECT_EQ(second.failure(), "") << "held by another run is no failure";
    holder.kill();
    // Windows releases a killed process's locks soon after, not always at once.
    bool taken = false;
    for (int i = 0; i < 50 && !taken; ++i) {
        taken = platform::DestinationLock(database).held();
        if (!taken) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(taken);
}

TEST_F(LockPlace, TheLockNeverEmptiesAFileAndFailsPlainlyWhereItCannotBeMade) {
    write(lock, "kept");
    EXPECT_TRUE(platform::DestinationLock(database).held());
    EXPECT_EQ(windows_test::readAll(platform::filePath(lock)), "kept");
    EXPECT_EQ(windows_test::readAll(platform::filePath(database)), "database");

    const std::string missing = folder.utf8() + "nenhum\\merak.fdb";
    const platform::DestinationLock nowhere(missing);
    EXPECT_FALSE(nowhere.held());
    EXPECT_EQ(nowhere.failure().rfind("\"" + missing + ".tavlo-merak-lock\": ", 0), 0u) << nowhere.failure();
}

TEST_F(LockPlace, ASecondNameAtItsPlaceIsPutAsideAndTheOtherFileKept) {
    const std::string other = folder.utf8() + "outro.txt";
    write(other, "other file");
    ASSERT_TRUE(::CreateHardLinkW(platform::filePath(lock).c_str(), platform::filePath(other).c_str(), nullptr));
    {
        const platform::DestinationLock run(database);
        EXPECT_TRUE(run.held()) << run.failure();
        EXPECT_FALSE(platform::DestinationLock(database).held());
    }
    EXPECT_EQ(windows_test::readAll(platform::filePath(other)), "other file");
}

TEST_F(LockPlace, AFileAnotherProgramKeepsUnsharedAtItsPlaceRefusesTheRunNamingIt) {
    const HANDLE kept = ::CreateFileW(platform::filePath(lock).c_str(), GENERIC_READ, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(kept, INVALID_HANDLE_VALUE);
    const platform::DestinationLock run(database);
    EXPECT_FALSE(run.held());
    EXPECT_EQ(run.failure().rfind("\"" + lock + "\": ", 0), 0u) << run.failure();
    ::CloseHandle(kept);
    EXPECT_TRUE(platform::DestinationLock(database).held());
}

TEST_F(LockPlace, ALinkAtItsPlaceIsNotFollowed) {
    const std::string target = folder.utf8() + "alvo";
    if (!platform_test::makeLink(target, lock)) GTEST_SKIP() << "this system lets the test make no link";
    const platform::DestinationLock run(database);
    EXPECT_TRUE(run.held()) << run.failure();
    EXPECT_FALSE(std::filesystem::exists(platform::filePath(target)));
}

}  // namespace
