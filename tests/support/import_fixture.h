#pragma once

#include <optional>
#include <string>
#include <vector>

#include "import_context.h"
#include "scripted_window.h"
#include "test_database.h"

namespace test_support {

// A Tavlo source database and a Merak destination database, created from the schema files
// plus the given scripts, a scripted window with their paths in the file-name boxes, and an
// import context on them whose program folder is a fresh folder of its own.
class ImportFixture {
public:
    ImportFixture(const std::string& sourceScript, const std::string& destinationScript);
    ~ImportFixture();

    TestDatabase source;
    TestDatabase destination;
    ScriptedWindow window;
    const std::string programFolder;
    engine::ImportContext context;

    // Connects both databases as the Import command does; fails the test when it cannot.
    void connect();

    // The rows of a query, each value as text ("<null>" for null), read through an
    // attachment of its own so that only committed rows are seen.
    using Rows = std::vector<std::vector<std::string>>;
    Rows destinationRows(const std::string& sql) const;
    Rows sourceRows(const std::string& sql) const;
};

// Runs a query on a database through an attachment of its own.
ImportFixture::Rows queryRows(const TestDatabase& database, const std::string& sql);

// The value the next NEXT VALUE FOR of a sequence will give.
long long nextSequenceValue(const TestDatabase& database, const std::string& sequence);

}  // namespace test_support
