#pragma once

#include <string>

#include "test_database.h"

namespace test_support {

// A user of the local server of this test's own, with a name no other run shares, allowed to
// create databases of its own; dropped when the object goes away.
class TestUser {
public:
    // The password may hold any letter (it is created through a UTF-8 connection).
    explicit TestUser(std::string password = "");
    ~TestUser();
    TestUser(const TestUser&) = delete;
    TestUser& operator=(const TestUser&) = delete;

    const std::string& name() const { return name_; }
    const std::string& password() const { return password_; }

private:
    // The server's users are managed through an attachment to any database.
    TestDatabase admin_;
    std::string name_;
    std::string password_;
};

}  // namespace test_support
