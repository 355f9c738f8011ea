#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

namespace engine {

// The answers of the run's lookups, by the text asked for. The looked-up tables are never
// written by a run, so within one run an answer stays true. Bounded: past kMaxEntries distinct
// texts of one kind, further texts are asked of the server each time.
class LookupCache {
public:
    static constexpr std::size_t kMaxEntries = 20000;

    // A city lookup's answer: the code, and the log entry of a failed lookup (made again for
    // each row that asks).
    struct CityAnswer {
        std::int32_t code = 0;
        std::optional<std::string> failureEntry;
    };

    const CityAnswer* city(const std::string& name) const { return find(cities_, name); }
    void rememberCity(const std::string& name, CityAnswer answer) { remember(cities_, name, std::move(answer)); }

    const std::int32_t* cest(const std::string& identifier) const { return find(cestCodes_, identifier); }
    void rememberCest(const std::string& identifier, std::int32_t code) { remember(cestCodes_, identifier, code); }

    void clear() {
        cities_.clear();
        cestCodes_.clear();
    }

private:
    template <typename Value>
    static const Value* find(const std::unordered_map<std::string, Value>& map, const std::string& key) {
        const auto found = map.find(key);
        return found == map.end() ? nullptr : &found->second;
    }
    template <typename Value>
    static void remember(std::unordered_map<std::string, Value>& map, const std::string& key, Value value) {
        if (map.size() < kMaxEntries) map.emplace(key, std::move(value));
    }

    std::unordered_map<std::string, CityAnswer> cities_;
    std::unordered_map<std::string, std::int32_t> cestCodes_;
};

}  // namespace engine
