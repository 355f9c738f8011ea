#pragma once

#include <optional>
#include <string>
#include <vector>

#include "server_login.h"

namespace batch {

// The rows a destination table holds, or the failure that kept them from being counted.
struct RowCount {
    std::optional<long long> rows;
    std::string failure;
};

// Counts the rows of each table (SELECT COUNT(*)) in the destination database at the path a
// file-name box would hold, through an attachment of its own with the import's connection
// parameters and the run's login. One result per table, in order.
std::vector<RowCount> countDestinationRows(const std::string& destinoPath, const engine::ServerLogin& login,
                                           const std::vector<std::string>& tables);

}  // namespace batch
