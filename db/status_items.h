#pragma once

#include <string>
#include <vector>

#include <ibase.h>

namespace db {

// One error code of a status vector with the arguments that follow it, texts and numbers
// each in their order.
struct StatusItem {
    long code = 0;
    std::vector<std::string> texts;
    std::vector<long> numbers;
};

std::vector<StatusItem> itemsOf(const ISC_STATUS* status);

// The first item of the code; null when the vector has none.
const StatusItem* find(const std::vector<StatusItem>& items, long code);

}  // namespace db
