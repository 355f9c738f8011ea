#pragma once

#include <string>

namespace bench {

// Seconds spent on each table.
struct ImportTimes {
    double clientes = 0;
    double produtos = 0;
    double vendedores = 0;
};

// How the bare program commits and looks up.
enum class BareMode {
    // A commit after the DELETE, each row and the restart; every row asks its lookups.
    CommitEachRow,
    // One transaction per table, committed at its end; each distinct lookup value asked once.
    OneTransaction,
};

// The client, product and seller imports written with nothing but client-library calls: the same
// statements and lookups as the engine sends, with the values taken straight from the
// fetched bytes. It is the floor that the engine is measured against.
// Connection strings are "localhost:<path>"; throws db::DatabaseError on a failure.
ImportTimes importWithClientLibrary(const std::string& source, const std::string& destination, BareMode mode);

}  // namespace bench
