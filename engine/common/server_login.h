#pragma once

#include <optional>
#include <string>
#include <vector>

#include "credentials.h"
#include "database_error.h"
#include "service_manager.h"

namespace engine {

// Who the program logs in to the server as. Unset, a field keeps the fixed value of the
// connection parameters; set, it replaces that value in every attachment and in the server's
// backup and restore services.
struct ServerLogin {
    std::optional<std::string> user;
    std::optional<std::string> password;

    // What the technician typed replaces both.
    void use(const Credentials& typed) {
        user = typed.user;
        password = typed.password;
    }
};

// ISC_USER and ISC_PASSWORD, the variables Firebird's own tools read, each on its own.
ServerLogin loginFromEnvironment();

// The fixed parameter lines with the login's user and password in place of theirs, in the
// same order; with nothing set, the lines exactly as they are.
std::vector<std::string> withLogin(const std::vector<std::string>& params, const ServerLogin& login);
std::vector<std::string> destinoParams(const ServerLogin& login);
std::vector<std::string> origemParams(const ServerLogin& login);

// The service manager of a server of this machine ("localhost", "localhost/3051"), as the
// destination's user.
db::ServiceLogin serviceLogin(const ServerLogin& login, const std::string& server);

// True when the server refused the user name or the password.
bool isLoginRefused(const db::DatabaseError& failure);

}  // namespace engine
