#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "import_session.h"
#include "row_mapping.h"
#include "table_choice.h"

namespace engine {

// The mappings of the chosen tables, in the order of an import run: Produtos is the product
// groups and the products.
std::vector<std::function<RowMapping(RunState&)>> chosenMappings(const TableChoice& tables);

// The current value of a destination sequence (GEN_ID with a step of 0 changes nothing).
std::optional<long long> sequenceValue(ImportSession& session, std::string_view sequence);

// The highest key of a mapping's destination table (its first column); none when it is empty.
std::optional<long long> highestKey(ImportSession& session, const RowMapping& mapping);

}  // namespace engine
