#pragma once

#include <string>

namespace bench {

// Seconds spent on each table.
struct ImportTimes {
    double clientes = 0;
    double produtos = 0;
};

// The client and product imports written with nothing but client-library calls: the same
// statements, lookups and per-row commits as the engine sends, with the values taken
// straight from the fetched bytes. It is the floor that the engine is measured against.
// Connection strings are "localhost:<path>"; throws db::DatabaseError on a failure.
ImportTimes importWithClientLibrary(const std::string& source, const std::string& destination);

}  // namespace bench
