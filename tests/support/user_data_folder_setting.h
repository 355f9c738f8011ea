#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace test_support {

// Points the user's data folder ($XDG_DATA_HOME) somewhere for the length of a test.
class UserDataFolderSetting {
public:
    explicit UserDataFolderSetting(const std::string& folder) {
        if (const char* old = std::getenv("XDG_DATA_HOME")) old_ = old;
        ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
    }
    ~UserDataFolderSetting() {
        if (old_)
            ::setenv("XDG_DATA_HOME", old_->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }
    UserDataFolderSetting(const UserDataFolderSetting&) = delete;
    UserDataFolderSetting& operator=(const UserDataFolderSetting&) = delete;

private:
    std::optional<std::string> old_;
};

}  // namespace test_support
