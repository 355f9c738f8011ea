// The user's data folder on Windows: the program's folder in the local application data
// folder, created when missing, where a log can be written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "file_paths.h"
#include "log_file.h"
#include "test_files.h"
#include "user_data_folder.h"
#include "windows_text.h"

namespace {

TEST(UserDataFolder, IsTheProgramsFolderInLocalApplicationDataAndTakesALog) {
    const wchar_t* localAppData = ::_wgetenv(L"LOCALAPPDATA");
    ASSERT_NE(localAppData, nullptr);
    const std::filesystem::path expected = std::filesystem::path(localAppData) / L"tavlo-merak";
    std::error_code ignored;
    std::filesystem::remove_all(expected, ignored);

    const std::string folder = platform::userDataFolder();
    EXPECT_EQ(folder, platform::utf8Path(expected) + "\\");
    EXPECT_TRUE(std::filesystem::is_directory(expected));
    EXPECT_EQ(platform::userDataFolder(), folder);  // there already: the same answer

    const std::string log = folder + "quorel.log";
    platform::LogFile(log).write("x");
    EXPECT_EQ(windows_test::readAll(platform::filePath(log)), "x");
    platform::removeFileQuietly(log);
}

}  // namespace
