#pragma once

#include <optional>
#include <string>
#include <vector>

namespace db {

// A database parameter block built from "name=value" lines, with the character set that an
// "lc_ctype" line names, exactly as written.
struct DatabaseParameterBlock {
    std::vector<char> bytes;
    std::optional<std::string> characterSet;
};

// Lines such as "user_name=SYSDBA" to the bytes isc_attach_database takes. Throws
// DatabaseError for a name that is not a parameter-block name or that is not supported.
DatabaseParameterBlock buildDatabaseParameterBlock(const std::vector<std::string>& lines);

// Lines such as "read_committed" to the bytes isc_start_multiple takes; empty without lines.
std::vector<char> buildTransactionParameterBlock(const std::vector<std::string>& lines);

}  // namespace db
