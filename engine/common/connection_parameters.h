#pragma once

#include <string>
#include <vector>

namespace engine {

// The fixed connection parameters of both databases. Only the user and the password can be
// replaced, by a ServerLogin (server_login.h); with none set, these lines go to the server as
// they are.

// Every attachment goes through the Firebird server of the local machine.
inline constexpr const char* kLoopbackHost = "localhost";
inline constexpr int kSqlDialect = 3;

// The destination's character-set value ends in a blank: it is passed to the server as it is.
inline const std::vector<std::string> kDestinoParams = {"user_name=SYSDBA", "password=pinewheel",
                                                        "lc_ctype=ISO8859_1 "};
inline const std::vector<std::string> kOrigemParams = {"user_name=sysdba", "password=pinewheel"};
inline const std::vector<std::string> kTransactionParams = {"read_committed", "rec_version", "nowait"};

}  // namespace engine
