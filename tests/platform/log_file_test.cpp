// The files of customer data: private whatever the umask and whatever was at their place.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "log_file.h"
#include "test_database.h"

namespace {

using platform::LogFile;

class PrivateFolder : public testing::Test {
protected:
    std::string folder;

    PrivateFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavlo-merak-files-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a folder");
        folder = pattern + "/";
    }
    ~PrivateFolder() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    static unsigned modeOf(const std::string& path) {
        struct stat status {};
        EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
        return status.st_mode & 07777;
    }
};

TEST_F(PrivateFolder, EveryOpeningGivesOtherUsersNothingEvenOfAFileThatWasReadable) {
    const mode_t previous = ::umask(0);
    struct Case {
        const char* name;
        LogFile::Opening opening;
        bool existing;
        std::string content;  // after writing "new" into a file that held "old"
    };
    const std::vector<Case> cases = {
        {"replace, new", LogFile::Opening::Replace, false, "new"},
        {"replace, existing", LogFile::Opening::Replace, true, "new"},
        {"append, new", LogFile::Opening::Append, false, "new"},
        {"append, existing", LogFile::Opening::Append, true, "oldnew"},
        {"create new", LogFile::Opening::CreateNew, false, "new"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder + c.name;
        if (c.existing) {
            std::ofstream(path) << "old";
            ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
        }
        LogFile(path, c.opening).write("new");
        EXPECT_EQ(modeOf(path), 0600u);
        EXPECT_EQ(test_support::readFile(path), c.content);
    }
    ::umask(previous);
}

TEST_F(PrivateFolder, CreateNewNeverReplacesAndNoOpeningFollowsALink) {
    const std::string existing = folder + "copia.fbk";
    std::ofstream(existing) << "first";
    EXPECT_THROW(LogFile(existing, LogFile::Opening::CreateNew), platform::FileExists);
    EXPECT_EQ(test_support::readFile(existing), "first");

    const std::string target = folder + "alvo";
    const std::string link = folder + "link.log";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    for (LogFile::Opening opening : {LogFile::Opening::Replace, LogFile::Opening::Append}) {
        EXPECT_THROW(LogFile(link, opening), std::runtime_error);
        EXPECT_FALSE(std::filesystem::exists(target));
    }
    EXPECT_THROW(LogFile(link, LogFile::Opening::CreateNew), platform::FileExists);
    EXPECT_FALSE(std::filesystem::exists(target));
}

}  // namespace
