// The files of customer data: private whatever the defaults and whatever was at their place.
#include "log_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "file_access.h"
#include "file_paths.h"
#include "test_database.h"

namespace {

using platform::LogFile;

class PrivateFolder : public testing::Test {
protected:
    platform_test::TemporaryFolder temporary{"tavlo-merak-files"};
    std::string folder = temporary.path();
};

TEST_F(PrivateFolder, EveryOpeningGivesOtherUsersNothingEvenOfAFileThatWasReadable) {
    const platform_test::EveryoneByDefault everyone(folder);
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
            std::ofstream(platform::filePath(path)) << "old";
            platform_test::openToEveryone(path);
        }
        LogFile(path, c.opening).write("new");
        if (platform_test::accessIsReported()) {
            EXPECT_EQ(platform_test::accessOf(path), platform_test::kOwnerOnly);
        }
        EXPECT_EQ(test_support::readFile(path), c.content);
    }
}

TEST_F(PrivateFolder, CreateNewNeverReplacesAndNoOpeningFollowsALink) {
    const std::string existing = folder + "copia.fbk";
    std::ofstream(platform::filePath(existing)) << "first";
    EXPECT_THROW(LogFile(existing, LogFile::Opening::CreateNew), platform::FileExists);
    EXPECT_EQ(test_support::readFile(existing), "first");

    const std::string target = folder + "alvo";
    const std::string link = folder + "link.log";
    if (!platform_test::makeLink(target, link)) GTEST_SKIP() << "this system lets the test make no link";
    for (LogFile::Opening opening : {LogFile::Opening::Replace, LogFile::Opening::Append}) {
        EXPECT_THROW(LogFile(link, opening), std::runtime_error);
        EXPECT_FALSE(std::filesystem::exists(platform::filePath(target)));
    }
    EXPECT_THROW(LogFile(link, LogFile::Opening::CreateNew), platform::FileExists);
    EXPECT_FALSE(std::filesystem::exists(platform::filePath(target)));
}

}  // namespace
