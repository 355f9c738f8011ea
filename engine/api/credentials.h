#pragma once

#include <string>

namespace engine {

// A user and a password the technician typed after the server refused the login. They are
// kept in memory for the program's life and never written anywhere.
struct Credentials {
    std::string user;
    std::string password;
};

}  // namespace engine
