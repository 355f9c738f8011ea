#include "import_fixture.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "attachment.h"
#include "connection_setup.h"
#include "import_run.h"
#include "statement.h"
#include "test_connection.h"

namespace test_support {

namespace {

std::string makeProgramFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavlo-merak-program-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a program folder");
    return pattern + "/";
}

}  // namespace

ImportFixture::ImportFixture(const std::string& sourceScript, const std::string& destinationScript,
                             const std::string& destinationParent)
    : source(schemaFile("tavlo-schema.sql") + "\n" + sourceScript),
      destination(schemaFile("merak-schema.sql") + "\n" + destinationScript, 3, "ISO8859_1", destinationParent),
      programFolder(makeProgramFolder()),
      session(programFolder) {
    window.origem = source.path();
    window.destino = destination.path();
}

ImportFixture::~ImportFixture() {
    std::error_code ignored;
    std::filesystem::remove_all(programFolder, ignored);
}

bool ImportFixture::connectar(bool announce) {
    return engine::Connectar(session, window.origem, window.destino, window, announce);
}

void ImportFixture::connect() { ASSERT_TRUE(connectar(false)) << testing::PrintToString(window.boxes); }

engine::RunState& ImportFixture::tables() {
    if (!tables_) tables_.emplace(session, engine::RunMode::Default, window, window);
    return *tables_;
}

engine::RunState& ImportFixture::tables(engine::RunMode mode) {
    tables_.emplace(session, mode, window, window);
    return *tables_;
}

const engine::RunReport& ImportFixture::importRun() {
    const engine::RunRequest request{window.origem, window.destino, window.tables(),
                                     engine::runMode(options.preview, options.allOrNothing), options.safetyCopy};
    report = engine::runImport(session, request, window, window);
    return report;
}

ImportFixture::Rows queryRows(const TestDatabase& database, const std::string& sql) {
    TestConnection reader(database.connectionString(), kDestinationParams, "TestReader");
    db::Attachment& attachment = reader.attachment;
    ImportFixture::Rows rows;
    {
        db::Statement query("TestQuery", attachment, reader.transaction);
        query.setText(sql);
        query.open();
        for (; !query.eof(); query.next()) {
            std::vector<std::string> row;
            for (std::size_t i = 0; i < query.columns().size(); ++i) {
                const db::Column column = query.column(i);
                row.push_back(column.isNull() ? "<null>" : column.asText());
            }
            rows.push_back(std::move(row));
        }
    }
    attachment.close();
    return rows;
}

ImportFixture::Rows ImportFixture::destinationRows(const std::string& sql) const { return queryRows(destination, sql); }

ImportFixture::Rows ImportFixture::sourceRows(const std::string& sql) const { return queryRows(source, sql); }

long long nextSequenceValue(const TestDatabase& database, const std::string& sequence) {
    return std::stoll(queryRows(database, "SELECT NEXT VALUE FOR " + sequence + " FROM RDB$DATABASE").at(0).at(0));
}

}  // namespace test_support
