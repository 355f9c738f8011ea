#include "test_user.h"

#include <unistd.h>

#include <chrono>

namespace test_support {

TestUser::TestUser(std::string password)
    : name_("TM_U" + std::to_string(::getpid()) + "_" +
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000007)),
      password_(password.empty() ? "Fx7-" + std::to_string(::getpid()) : std::move(password)) {
    admin_.run("CREATE USER " + name_ + " PASSWORD '" + password_ + "';\nGRANT CREATE DATABASE TO USER " + name_ +
               ";\n");
}

TestUser::~TestUser() {
    try {
        admin_.run("DROP USER " + name_ + ";\n");
    } catch (...) {
        // The user stays on the server; its name is of this run only.
    }
}

}  // namespace test_support
