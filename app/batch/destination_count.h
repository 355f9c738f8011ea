#pragma once

#include <optional>
#include <string>
#include <vector>

namespace batch {

// The rows a destination table holds, or the failure that kept them from being counted.
struct RowCount {
    std::optional<long long> rows;
    std::string failure;
};

// Counts the rows of each table (SELECT COUNT(*)) in the destination database at the path a
// file-name box would hold, through an attachment of its own with the import's connection
// parameters. One result per table, in order.
std::vector<RowCount> countDestinationRows(const std::string& destinoPath, const std::vector<std::string>& tables);

}  // namespace batch
