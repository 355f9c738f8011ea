#include "sequence_statement.h"

namespace db {

std::string setSequenceStatement(const ServerVersion& version, const std::string& sequence, const std::string& value) {
    if (restartMakesNextValue(version)) return "SET GENERATOR " + sequence + " TO " + value;
    return "ALTER SEQUENCE " + sequence + " RESTART WITH " + value;
}

}  // namespace db
