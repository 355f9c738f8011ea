#pragma once

#include <string>

#include "server_version.h"

namespace db {

// The statement that makes `value` the current value of a sequence on a server of the given
// version, so that the next value drawn is the one after it. Firebird 3.0 does that with
// "ALTER SEQUENCE s RESTART WITH n"; from 4.0 on that statement makes n the next value drawn
// instead, and "SET GENERATOR s TO n" keeps n current.
std::string setSequenceStatement(const ServerVersion& version, const std::string& sequence, const std::string& value);

}  // namespace db
