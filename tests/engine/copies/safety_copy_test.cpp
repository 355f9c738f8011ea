// The safety copy a run makes of the destination before emptying it, and its restore, against
// the local server.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

#include "import_fixture.h"
#include "import_run.h"
#include "restore_copy.h"
#include "test_connection.h"

namespace {

using engine::CheckBox;
using test_support::ImportFixture;
using test_support::readFile;
using test_support::schemaFile;
using test_support::TestDatabase;

const std::vector<std::string> kTables = {"CLIENTES", "FORNECEDORES", "GRUPO", "PRODUTOS", "VENDEDOR"};
const std::vector<std::string> kSequences = {"GEN_CODCLI", "GEN_CODFOR", "GEN_ID_GRUPO", "CODIGO_PRODUTO"};

// The sample destination with sequences that no run would leave behind.
const std::string kDestination = schemaFile("merak-sample-data.sql") +
                                 "\nALTER SEQUENCE GEN_CODCLI RESTART WITH 901;"
                                 "\nALTER SEQUENCE GEN_CODFOR RESTART WITH 902;"
                                 "\nALTER SEQUENCE GEN_ID_GRUPO RESTART WITH 903;"
                                 "\nALTER SEQUENCE CODIGO_PRODUTO RESTART WITH 904;";

// Every row of the five tables the run empties, in key order, and the value of each sequence.
using DestinationState = std::map<std::string, ImportFixture::Rows>;

DestinationState stateOf(const TestDatabase& database) {
    DestinationState state;
    for (const std::string& table : kTables)
        state[table] = test_support::queryRows(database, "SELECT * FROM " + table + " ORDER BY 1");
    for (const std::string& sequence : kSequences)
        state[sequence] = test_support::queryRows(database, "SELECT GEN_ID(" + sequence + ", 0) FROM RDB$DATABASE");
    return state;
}

long long markerCount(const TestDatabase& database) {
    return std::stoll(
        test_support::queryRows(database, "SELECT COUNT(*) FROM VENDEDOR WHERE VEN_CODIGO = 9999").at(0).at(0));
}

std::vector<std::string> copyFilesBeside(const TestDatabase& database) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(database.path()).parent_path()))
        if (entry.path().extension() == ".fbk") files.push_back(entry.path().string());
    return files;
}

class SafetyCopy : public testing::Test {
protected:
    ImportFixture f{schemaFile("tavlo-sample-data.sql"), kDestination};

    SafetyCopy() { f.window.ticked = {CheckBox::Clientes, CheckBox::Fornec, CheckBox::Produtos, CheckBox::Vendedores}; }

    // Runs the Import command; the copy it makes is returned.
    std::string runWithCopy() {
        f.importRun();
        EXPECT_TRUE(f.report.copy.has_value()) << testing::PrintToString(f.window.boxes);
        return f.report.copy ? f.report.copy->path : "";
    }

    void addMarkerRow() const { f.destination.run("INSERT INTO VENDEDOR (VEN_CODIGO) VALUES (9999);"); }
};

TEST_F(SafetyCopy, RunWithTheCopyThenItsRestoreGivesBackEveryRowAndSequence) {
    const DestinationState before = stateOf(f.destination);
    const std::string copy = runWithCopy();
    ASSERT_FALSE(copy.empty());
    ASSERT_NE(stateOf(f.destination), before) << "the run should have changed the destination";

    // Beside the destination, named after it and the time; its size and line in copias.log.
    const std::string folder = std::filesystem::path(f.destination.path()).parent_path().string();
    EXPECT_TRUE(std::regex_match(copy, std::regex(folder + "/test-\\d{8}-\\d{6}\\.fbk"))) << copy;
    EXPECT_EQ(f.report.copy->bytes, static_cast<long long>(std::filesystem::file_size(copy)));
    EXPECT_EQ(f.report.tables.size(), 5u);
    const std::string log = readFile(f.programFolder + "copias.log");
    EXPECT_TRUE(std::regex_match(log, std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\t" + f.destination.path() +
                                                 "\t" + copy + "\t" + std::to_string(f.report.copy->bytes) + "\r\n")))
        << log;

    test_support::ScriptedWindow window;
    ASSERT_TRUE(
        engine::restoreSafetyCopy(engine::Progress(window.gauge, window), window, {}, copy, f.destination.path()))
        << testing::PrintToString(window.boxes);
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(window.boxes[0], "confirm: O banco de destino\r\n" + f.destination.path() +
                                   "\r\nserá substituído pela cópia de segurança\r\n" + copy +
                                   "\r\nTudo o que foi gravado no destino depois da cópia será perdido.\r\nConfirma ?");
    EXPECT_EQ(window.boxes[1], "information: Banco de destino restaurado da cópia de segurança\r\n" + copy);
    EXPECT_EQ(stateOf(f.destination), before);
}

TEST_F(SafetyCopy, FailedCopyEmptiesNothingUnlessImportingWithoutOneIsAccepted) {
    // The server's user cannot create a file in the destination's folder.
    const std::string folder = std::filesystem::path(f.destination.path()).parent_path().string();
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    const DestinationState before = stateOf(f.destination);

    for (bool accepted : {false, true}) {
        SCOPED_TRACE(accepted ? "accepted" : "refused");
        f.window.boxes.clear();
        f.window.answersDefaultNo = {accepted};
        f.importRun();

        const std::string question = f.window.boxes.size() > 1 ? f.window.boxes[1] : "";
        EXPECT_EQ(question.rfind("confirm (default No): Não foi possível fazer a cópia de segurança do banco de "
                                 "destino:\r\ncannot open backup file " +
                                     folder + "/test-",
                                 0),
                  0u)
            << testing::PrintToString(f.window.boxes);
        EXPECT_NE(question.find("\r\nImportar sem cópia de segurança?"), std::string::npos);
        EXPECT_FALSE(f.report.copy.has_value());
        EXPECT_EQ((f.report.end == engine::RunEnd::StoppedWithoutCopy), !accepted);
        EXPECT_EQ(f.report.tables.size(), accepted ? 5u : 0u);
        EXPECT_EQ(stateOf(f.destination) == before, !accepted);
        EXPECT_FALSE(f.window.importando);
        EXPECT_TRUE(f.window.importEnabled);
    }
    EXPECT_TRUE(copyFilesBeside(f.destination).empty());
    EXPECT_FALSE(std::filesystem::exists(f.programFolder + "copias.log"));
}

TEST_F(SafetyCopy, PreviewAndARunWithTheCopyOffMakeNoCopy) {
    for (bool preview : {true, false}) {
        SCOPED_TRACE(preview ? "preview" : "copy off");
        f.options.preview = preview;
        f.options.safetyCopy = preview;
        f.importRun();
        EXPECT_FALSE(f.report.copy.has_value());
        EXPECT_EQ(f.report.tables.size(), 5u);
    }
    EXPECT_TRUE(copyFilesBeside(f.destination).empty());
    EXPECT_FALSE(std::filesystem::exists(f.programFolder + "copias.log"));
}

TEST_F(SafetyCopy, RestoreIsRefusedWithTheServersReasonWhileAnotherConnectionIsAttached) {
    const std::string copy = runWithCopy();
    addMarkerRow();
    test_support::TestConnection other(f.destination.connectionString());
    other.attachment.open();

    test_support::ScriptedWindow window;
    EXPECT_FALSE(
        engine::restoreSafetyCopy(engine::Progress(window.gauge, window), window, {}, copy, f.destination.path()));
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(window.boxes[1], "warning: O banco de destino não foi restaurado:\r\ncould not drop database " +
                                   f.destination.path() +
                                   " (database might be in use)\r\nExiting before completion "
                                   "due to errors");
    other.attachment.close();
    EXPECT_EQ(markerCount(f.destination), 1);

    // Alone on the destination, the same restore goes through.
    ASSERT_TRUE(
        engine::restoreSafetyCopy(engine::Progress(window.gauge, window), window, {}, copy, f.destination.path()));
    EXPECT_EQ(markerCount(f.destination), 0);
}

TEST_F(SafetyCopy, BadCopyFilesAreReportedAndTouchNothing) {
    const std::string copy = runWithCopy();
    addMarkerRow();
    const std::string folder = f.programFolder;
    std::ofstream(folder + "texto.fbk") << "CREATE TABLE X (I INTEGER);\n";
    std::ofstream(folder + "vazio.fbk");
    std::ofstream(folder + "cortado.fbk", std::ios::binary) << readFile(copy).substr(0, 40);
    const std::string notFound = "warning: O arquivo da cópia de segurança não existe:\r\n";
    const std::string notABackup = "warning: O arquivo não é uma cópia de segurança do Firebird:\r\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {folder + "nenhum.fbk", notFound + folder + "nenhum.fbk"},
        {folder, notFound + folder},
        {folder + "texto.fbk", notABackup + folder + "texto.fbk"},
        {folder + "vazio.fbk", notABackup + folder + "vazio.fbk"},
        {folder + "cortado.fbk", notABackup + folder + "cortado.fbk"},
        // A database file is not a backup either.
        {f.source.path(), notABackup + f.source.path()},
    };
    for (const auto& [file, message] : cases) {
        SCOPED_TRACE(file);
        test_support::ScriptedWindow window;
        window.answers = {true};
        EXPECT_FALSE(
            engine::restoreSafetyCopy(engine::Progress(window.gauge, window), window, {}, file, f.destination.path()));
        EXPECT_EQ(window.boxes, std::vector<std::string>{message});
    }
    EXPECT_EQ(markerCount(f.destination), 1);
}

TEST_F(SafetyCopy, CopyOfAnotherDatabaseIsSaidPlainlyAndDefaultsToNo) {
    const std::string copy = runWithCopy();
    TestDatabase other(schemaFile("merak-schema.sql"));
    other.run("INSERT INTO VENDEDOR (VEN_CODIGO) VALUES (9999);");

    for (bool answer : {false, true}) {
        SCOPED_TRACE(answer);
        test_support::ScriptedWindow window;
        window.answersDefaultNo = {answer};
        EXPECT_EQ(engine::restoreSafetyCopy(engine::Progress(window.gauge, window), window, {}, copy, other.path()),
                  answer);
        ASSERT_FALSE(window.boxes.empty());
        EXPECT_EQ(window.boxes[0],
                  "confirm (default No): ATENÇÃO: esta cópia foi feita de OUTRO banco de dados:\r\n" +
                      f.destination.path() + "\r\nO banco de destino\r\n" + other.path() +
                      "\r\nserá substituído pela cópia de segurança\r\n" + copy +
                      "\r\nTudo o que foi gravado no destino depois da cópia será perdido.\r\nConfirma ?");
        EXPECT_EQ(markerCount(other), answer ? 0 : 1);
    }
}

}  // namespace
