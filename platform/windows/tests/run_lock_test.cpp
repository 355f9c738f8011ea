// The destination lock on Windows: one holder per database name, whatever its case, in this
// process or another; released with its object and when its holder is killed.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

#include "child_process.h"
#include "file_paths.h"
#include "run_lock.h"
#include "test_files.h"

namespace {

// A database name of this test's own, so that no other run's lock is met.
std::string databaseName(const char* stem) {
    return std::string("C:\\Dados\\Ação\\") + stem + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".fdb";
}

TEST(DestinationLock, OneHolderPerDatabaseWhateverTheCaseOfItsName) {
    const std::string name = databaseName("merak");
    const platform::DestinationLock first(name);
    ASSERT_TRUE(first.held()) << first.failure();

    const struct {
        std::string name;
        bool held;
    } cases[] = {
        {name, false},
        {"C:\\DADOS\\AÇÃO\\" + name.substr(std::string("C:\\Dados\\Ação\\").size()), false},
        {"c:\\dados\\ação\\" + name.substr(std::string("C:\\Dados\\Ação\\").size()), false},
        {name + ".old", true},
        {databaseName("tavlo"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const platform::DestinationLock other(c.name);
        EXPECT_EQ(other.held(), c.held);
        EXPECT_EQ(other.failure(), "");
    }
}

TEST(DestinationLock, ReleasedWithItsObject) {
    const std::string name = databaseName("merak");
    { const platform::DestinationLock first(name); }
    const platform::DestinationLock second(name);
    EXPECT_TRUE(second.held()) << second.failure();
}

TEST(DestinationLock, HeldByAnotherProcessUntilThatProcessIsKilled) {
    const std::string name = databaseName("merak");
    const windows_test::TemporaryFolder folder;
    const std::string answer = folder.utf8() + "trava.txt";
    windows_test::ChildProcess holder(windows_test::thisProgram().native(),
                                      {L"--hold-lock", platform::filePath(name), platform::filePath(answer)});
    ASSERT_TRUE(holder.started());
    for (int i = 0; i < 300 && windows_test::readAll(platform::filePath(answer)).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_EQ(windows_test::readAll(platform::filePath(answer)), "held");

    EXPECT_FALSE(platform::DestinationLock(name).held());
    holder.kill();
    // Windows releases a killed process's locks soon after, not always at once.
    bool taken = false;
    for (int i = 0; i < 50 && !taken; ++i) {
        taken = platform::DestinationLock(name).held();
        if (!taken) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(taken);
}

}  // namespace
