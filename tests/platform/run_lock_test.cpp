// The destination lock against what another local user can leave at its place, and after a
// killed run. Run as root: a child process takes the other user's identity.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "run_lock.h"

namespace {

using platform::DestinationLock;

// A folder that every user may write, as the test databases' folders are, holding a file that
// stands for the destination database, and a folder only root may write.
class LockPlace : public testing::Test {
protected:
    std::string folder;
    std::string database;
    std::string rootOnly;

    LockPlace() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavlo-merak-lock-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a folder");
        folder = pattern;
        ::chmod(folder.c_str(), 0777);
        database = folder + "/merak.fdb";
        std::ofstream(database) << "database";
        ::chmod(database.c_str(), 0660);
        rootOnly = folder + "/root";
        std::filesystem::create_directory(rootOnly);
        ::chmod(rootOnly.c_str(), 0755);
    }
    ~LockPlace() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // Runs work in a child process as user nobody; the child then waits, keeping what it holds,
    // until the returned process is killed.
    static pid_t asOtherUser(const std::function<bool()>& work) {
        const struct passwd* nobody = ::getpwnam("nobody");
        if (nobody == nullptr) throw std::runtime_error("no user nobody");
        int ready[2];
        if (::pipe(ready) != 0) throw std::runtime_error("no pipe");
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(ready[0]);
            const bool done = ::setgid(nobody->pw_gid) == 0 && ::setuid(nobody->pw_uid) == 0 && work();
            const char answer = done ? 'y' : 'n';
            if (::write(ready[1], &answer, 1) != 1) ::_exit(1);
            ::pause();
            ::_exit(0);
        }
        ::close(ready[1]);
        char answer = 'n';
        const bool read = ::read(ready[0], &answer, 1) == 1;
        ::close(ready[0]);
        EXPECT_TRUE(read && answer == 'y') << "the other user's step failed";
        return child;
    }

    static void end(pid_t child) {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
};

TEST_F(LockPlace, ALinkPlantedByAnotherUserIsNotFollowedAndBlocksNothing) {
    ASSERT_EQ(::geteuid(), 0u) << "the other user is played by a child of root";
    const std::string lock = platform::destinationLockPath(database);
    const std::string target = rootOnly + "/planted";
    const pid_t other = asOtherUser([&] { return ::symlink(target.c_str(), lock.c_str()) == 0; });
    end(other);
    {
        const DestinationLock run(database);
        EXPECT_TRUE(run.held()) << run.failure();
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(target)));
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(lock)));
        // And the run's lock still keeps out a second run.
        EXPECT_FALSE(DestinationLock(database).held());
    }
    EXPECT_TRUE(DestinationLock(database).held());
}

TEST_F(LockPlace, AFileThatAnotherUserPlantedAndHoldsALockOnBlocksNothing) {
    ASSERT_EQ(::geteuid(), 0u) << "the other user is played by a child of root";
    const std::string lock = platform::destinationLockPath(database);
    for (mode_t mode : {0600, 0644}) {
        SCOPED_TRACE(mode);
        const pid_t other = asOtherUser([&] {
            const int descriptor = ::open(lock.c_str(), O_RDWR | O_CREAT | O_EXCL, mode);
            return descriptor >= 0 && ::fchmod(descriptor, mode) == 0 && ::flock(descriptor, LOCK_EX) == 0;
        });
        {
            const DestinationLock run(database);
            EXPECT_TRUE(run.held()) << run.failure();
            EXPECT_FALSE(DestinationLock(database).held());
        }
        end(other);
        std::filesystem::remove(lock);
    }
}

TEST_F(LockPlace, ARunKilledWhileHoldingTheLockDoesNotBlockTheNext) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t run = ::fork();
    if (run == 0) {
        const DestinationLock held(database);
        const char answer = held.held() ? 'y' : 'n';
        if (::write(ready[1], &answer, 1) != 1) ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    char answer = 'n';
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    EXPECT_EQ(answer, 'y');
    EXPECT_FALSE(DestinationLock(database).held()) << "the running child holds it";
    ::kill(run, SIGKILL);
    ::waitpid(run, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_TRUE(DestinationLock(database).held());
}

TEST_F(LockPlace, TheLockNeverEmptiesAFileAndFailsPlainlyWhereItCannotBeMade) {
    const std::string lock = platform::destinationLockPath(database);
    std::ofstream(lock) << "kept";
    EXPECT_TRUE(DestinationLock(database).held());
    EXPECT_EQ(std::filesystem::file_size(lock), 4u);
    EXPECT_EQ(std::filesystem::file_size(database), 8u);

    const DestinationLock missing(folder + "/nenhum/merak.fdb");
    EXPECT_FALSE(missing.held());
    EXPECT_EQ(missing.failure(), "\"" + folder + "/nenhum/merak.fdb.tavlo-merak-lock\": No such file or directory");
}

}  // namespace
