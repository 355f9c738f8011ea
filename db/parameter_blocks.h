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
    // The block declares its texts, and the database's name with them, UTF-8.
    bool utf8 = false;
};

// Lines such as "user_name=SYSDBA" to the bytes isc_attach_database takes. Values go in the
// code page, as the client library takes them; when one has a letter the code page's client
// conversion would refuse (a password "senhaçã" on a UTF-8 system), every value goes in UTF-8
// and the block ends with isc_dpb_utf8_filename, which says so. Throws
// DatabaseError for a name that is not a parameter-block name or that is not supported.
DatabaseParameterBlock buildDatabaseParameterBlock(const std::vector<std::string>& lines);

// Lines such as "read_committed" to the bytes isc_start_multiple takes; empty without lines.
std::vector<char> buildTransactionParameterBlock(const std::vector<std::string>& lines);

}  // namespace db
