#pragma once

#include <optional>
#include <string>
#include <vector>

#include "import_session.h"
#include "run_report.h"
#include "run_state.h"
#include "scripted_window.h"
#include "test_database.h"

namespace test_support {

// The options of an import run as the window's and the batch's controls give them.
struct RunOptions {
    bool preview = false;
    bool allOrNothing = false;
    bool safetyCopy = true;
};

// A Tavlo source database and a Merak destination database, created from the schema files
// plus the given scripts, a scripted window with their paths in the file-name boxes, and an
// import session on them whose program folder is a fresh folder of its own.
class ImportFixture {
public:
    // The destination's folder is made in destinationParent when one is given.
    ImportFixture(const std::string& sourceScript, const std::string& destinationScript,
                  const std::string& destinationParent = "");
    ~ImportFixture();

    TestDatabase source;
    TestDatabase destination;
    ScriptedWindow window;
    const std::string programFolder;
    engine::ImportSession session;
    // The options of the next importRun.
    RunOptions options;
    // What the last importRun reported.
    engine::RunReport report;

    // Connectar with the window's two paths.
    bool connectar(bool announce);
    // Connects both databases as the Import command does; fails the test when it cannot.
    void connect();
    // The run that table imports called on their own work in: made on first use in the
    // default mode, or anew in the given mode.
    engine::RunState& tables();
    engine::RunState& tables(engine::RunMode mode);
    // The Import command with the window's choice and paths and the fixture's options.
    const engine::RunReport& importRun();

    // The rows of a query, each value as text ("<null>" for null), read through an
    // attachment of its own so that only committed rows are seen.
    using Rows = std::vector<std::vector<std::string>>;
    Rows destinationRows(const std::string& sql) const;
    Rows sourceRows(const std::string& sql) const;

private:
    std::optional<engine::RunState> tables_;
};

// Runs a query on a database through an attachment of its own.
ImportFixture::Rows queryRows(const TestDatabase& database, const std::string& sql);

// The value the next NEXT VALUE FOR of a sequence will give.
long long nextSequenceValue(const TestDatabase& database, const std::string& sequence);

}  // namespace test_support
