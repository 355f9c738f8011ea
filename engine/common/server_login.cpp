#include "server_login.h"

#include <cstdlib>

#include <ibase.h>

#include "connection_parameters.h"
#include "text.h"

namespace engine {

namespace {

constexpr const char* kUserName = "user_name";
constexpr const char* kPassword = "password";

std::optional<std::string> environmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

std::string nameOf(const std::string& line) { return line.substr(0, line.find('=')); }

// The value of a "name=value" line.
std::string paramValue(const std::vector<std::string>& params, const std::string& name) {
    for (const std::string& line : params) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos && db::sameName(line.substr(0, equals), name)) return line.substr(equals + 1);
    }
    return "";
}

}  // namespace

ServerLogin loginFromEnvironment() { return {environmentValue("ISC_USER"), environmentValue("ISC_PASSWORD")}; }

std::vector<std::string> withLogin(const std::vector<std::string>& params, const ServerLogin& login) {
    std::vector<std::string> lines;
    lines.reserve(params.size());
    for (const std::string& line : params) {
        const std::string name = nameOf(line);
        if (login.user && db::sameName(name, kUserName))
            lines.push_back(name + "=" + *login.user);
        else if (login.password && db::sameName(name, kPassword))
            lines.push_back(name + "=" + *login.password);
        else
            lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> destinoParams(const ServerLogin& login) { return withLogin(kDestinoParams, login); }

std::vector<std::string> origemParams(const ServerLogin& login) { return withLogin(kOrigemParams, login); }

db::ServiceLogin serviceLogin(const ServerLogin& login, const std::string& server) {
    const std::vector<std::string> params = destinoParams(login);
    return {server, paramValue(params, kUserName), paramValue(params, kPassword)};
}

bool isLoginRefused(const db::DatabaseError& failure) { return failure.hasCode(isc_login); }

}  // namespace engine
