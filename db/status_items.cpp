#include "status_items.h"

#include <string_view>

#include "server_lines.h"

namespace db {

std::vector<StatusItem> itemsOf(const ISC_STATUS* status) {
    std::vector<StatusItem> items;
    for (const ISC_STATUS* item = status; *item != isc_arg_end;) {
        switch (item[0]) {
        case isc_arg_gds:
            items.push_back({static_cast<long>(item[1]), {}, {}});
            item += 2;
            break;
        case isc_arg_cstring:
            if (!items.empty())
                items.back().texts.push_back(fromServerLine(
                    std::string_view(reinterpret_cast<const char*>(item[2]), static_cast<std::size_t>(item[1]))));
            item += 3;
            break;
        case isc_arg_string:
        case isc_arg_interpreted:
            if (!items.empty()) items.back().texts.push_back(fromServerLine(reinterpret_cast<const char*>(item[1])));
            item += 2;
            break;
        case isc_arg_number:
            if (!items.empty()) items.back().numbers.push_back(static_cast<long>(item[1]));
            item += 2;
            break;
        default:
            item += 2;
            break;
        }
    }
    return items;
}

const StatusItem* find(const std::vector<StatusItem>& items, long code) {
    for (const StatusItem& item : items)
        if (item.code == code) return &item;
    return nullptr;
}

}  // namespace db
