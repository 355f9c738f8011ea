#pragma once

#include <string>
#include <utility>
#include <vector>

#include "attachment.h"
#include "transaction.h"

namespace engine {

// Every table of a database that holds rows (not views, not the server's own), by name, with
// its number of rows as the transaction sees them: what a safety copy records and what its
// restore is checked against.
std::vector<std::pair<std::string, long long>> tableRowCounts(db::Attachment& attachment, db::Transaction& transaction);

}  // namespace engine
