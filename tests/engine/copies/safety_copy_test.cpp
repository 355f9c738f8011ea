// The safety copy a run makes of the destination before emptying it, and its restore, against
// the local server.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

#include "copy_record.h"
#include "database_identity.h"
#include "destination_connection.h"
#include "immutable_folder.h"
#include "import_fixture.h"
#include "import_run.h"
#include "restore_copy.h"
#include "run_lock.h"
#include "safety_copy.h"
#include "sha256.h"
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
                                 "\nSET GENERATOR GEN_CODCLI TO 901;"
                                 "\nSET GENERATOR GEN_CODFOR TO 902;"
                                 "\nSET GENERATOR GEN_ID_GRUPO TO 903;"
                                 "\nSET GENERATOR CODIGO_PRODUTO TO 904;";

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

unsigned modeOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
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

    // Beside the destination, named after it with its extension and the time to the
    // millisecond; its size, its record and its line in copias.log, all private.
    const std::string folder = std::filesystem::path(f.destination.path()).parent_path().string();
    EXPECT_TRUE(std::regex_match(copy, std::regex(folder + "/test\\.fdb-\\d{8}-\\d{6}-\\d{3}\\.fbk"))) << copy;
    EXPECT_EQ(f.report.copy->bytes, static_cast<long long>(std::filesystem::file_size(copy)));
    const std::optional<engine::CopyRecord> record = engine::readCopyRecord(copy + ".txt");
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->sha256, engine::fileSha256(copy));
    EXPECT_EQ(record->bytes, f.report.copy->bytes);
    EXPECT_EQ(record->database, f.destination.path());
    EXPECT_TRUE(std::regex_match(record->made, std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d")));
    const std::map<std::string, long long> rows(record->tableRows.begin(), record->tableRows.end());
    for (const std::string& table : kTables)
        EXPECT_EQ(rows.at(table), static_cast<long long>(before.at(table).size())) << table;
    for (const std::string& file : {copy, copy + ".txt", f.programFolder + "copias.log"})
        EXPECT_EQ(modeOf(file), 0600u) << file;
    for (const char* log : {"quorel.log", "quorel2.log"}) {
        if (std::filesystem::exists(f.programFolder + log)) {
            EXPECT_EQ(modeOf(f.programFolder + log), 0600u) << log;
        }
    }
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
    // No file can be created in the destination's folder (its lock file is already there).
    const std::string folder = std::filesystem::path(f.destination.path()).parent_path().string();
    { const platform::DestinationLock made(f.destination.path()); }
    const DestinationState before = stateOf(f.destination);
    const test_support::ImmutableFolder immutable(folder);

    for (bool accepted : {false, true}) {
        SCOPED_TRACE(accepted ? "accepted" : "refused");
        f.window.boxes.clear();
        f.window.answersDefaultNo = {accepted};
        f.importRun();

        const std::string question = f.window.boxes.size() > 1 ? f.window.boxes[1] : "";
        EXPECT_EQ(question.rfind("confirm (default No): Não foi possível fazer a cópia de segurança do banco de "
                                 "destino:\r\nCannot create file \"" +
                                     folder + "/test.fdb-",
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

// A stop request that comes while the copy is being made: the copy is kept, no table is
// reached, and the end message says that nothing was emptied instead of announcing success.
TEST_F(SafetyCopy, StopDuringTheCopyEndsTheRunBeforeAnythingIsEmptied) {
    const DestinationState before = stateOf(f.destination);
    f.window.onProcessMessages = [&] { f.window.stop = true; };
    f.importRun();
    EXPECT_EQ(f.report.end, engine::RunEnd::Stopped);
    EXPECT_TRUE(f.report.copy.has_value());
    EXPECT_TRUE(f.report.tables.empty());
    EXPECT_EQ(stateOf(f.destination), before);
    ASSERT_FALSE(f.window.boxes.empty());
    EXPECT_EQ(f.window.boxes.back(),
              "warning: Importação interrompida antes de apagar qualquer tabela: nada foi apagado nem importado.");
    EXPECT_TRUE(f.window.eventsStartingWith("information: Importação finalizada com sucesso").empty());
    EXPECT_FALSE(f.window.importando);
    EXPECT_TRUE(f.window.importEnabled);
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

bool isOnline(const TestDatabase& database) {
    return test_support::queryRows(database, "SELECT MON$SHUTDOWN_MODE FROM MON$DATABASE").at(0).at(0) == "0";
}

// What a restore leaves beside the destination besides the destination and its copies.
std::vector<std::string> restoreLeftovers(const TestDatabase& database) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(database.path()).parent_path()))
        if (entry.path().filename().string().find(".restaurando-") != std::string::npos)
            files.push_back(entry.path().string());
    return files;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

TEST_F(SafetyCopy, DamagedCopiesAreRefusedWithTheDestinationUnchangedAndOnline) {
    const std::string copy = runWithCopy();
    ASSERT_FALSE(copy.empty());
    addMarkerRow();
    const std::string bytes = readFile(copy);
    const std::string record = readFile(copy + ".txt");
    std::string changed = bytes;
    for (std::size_t i = 0; i < 3; ++i) changed[changed.size() / 2 + i] ^= 0x5A;
    const std::string folder = f.programFolder;
    const std::string sumRefused =
        "warning: A cópia de segurança não foi restaurada; o banco de destino não foi "
        "alterado.\r\nO arquivo não é mais o que foi gravado: o tamanho ou a soma "
        "SHA-256 não conferem com o registro da cópia.\r\n";
    const std::string refused =
        "warning: A cópia de segurança não foi restaurada; o banco de destino não foi "
        "alterado.\r\n";
    // A record whose counts are not those of the copy: the checksum holds, the rows do not.
    std::string wrongCounts = record;
    const std::size_t clientes = wrongCounts.find("table=CLIENTES\t");
    ASSERT_NE(clientes, std::string::npos) << record;
    wrongCounts.insert(wrongCounts.find('\n', clientes), "7");
    struct Case {
        std::string name;
        std::string bytes;
        std::optional<std::string> record;  // none: the copy has no record
        std::string message;                // the start of the message
    };
    const std::vector<Case> cases = {
        {"cortada.fbk", bytes.substr(0, bytes.size() / 2), record, sumRefused},
        {"quatro.fbk", bytes.substr(0, 4096), record, sumRefused},
        {"tres-bytes.fbk", changed, record, sumRefused},
        {"contagem.fbk", bytes, wrongCounts, refused + "A tabela CLIENTES tem "},
        // Without a record, the server's own restore is the check that fails.
        {"cortada-sem-registro.fbk", bytes.substr(0, bytes.size() / 2), std::nullopt, refused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = folder + c.name;
        writeBytes(file, c.bytes);
        if (c.record) writeBytes(file + ".txt", *c.record);
        test_support::ScriptedWindow window;
        window.answersDefaultNo = {true};
        EXPECT_FALSE(
            engine::restoreSafetyCopy(engine::Progress(window.gauge, window), window, {}, file, f.destination.path()));
        ASSERT_FALSE(window.boxes.empty());
        EXPECT_EQ(window.boxes.back().rfind(c.message, 0), 0u) << window.boxes.back();
        if (c.message == sumRefused) {
            EXPECT_EQ(window.boxes, std::vector<std::string>{c.message + file});
        }
        EXPECT_EQ(markerCount(f.destination), 1);
        EXPECT_TRUE(isOnline(f.destination));
        EXPECT_TRUE(restoreLeftovers(f.destination).empty()) << testing::PrintToString(restoreLeftovers(f.destination));
    }
}

TEST_F(SafetyCopy, ACopyWithoutARecordIsRestoredOnlyWhenTheWarningIsAnsweredYes) {
    const std::string made = runWithCopy();
    ASSERT_FALSE(made.empty());
    const std::string copy = f.programFolder + "feita-a-mao.fbk";
    writeBytes(copy, readFile(made));
    addMarkerRow();
    for (bool answer : {false, true}) {
        SCOPED_TRACE(answer);
        test_support::ScriptedWindow window;
        window.answersDefaultNo = {answer};
        EXPECT_EQ(
            engine::restoreSafetyCopy(engine::Progress(window.gauge, window), window, {}, copy, f.destination.path()),
            answer);
        ASSERT_FALSE(window.boxes.empty());
        EXPECT_EQ(window.boxes[0],
                  "confirm (default No): ATENÇÃO: esta cópia não tem registro (" + copy +
                      ".txt): não foi possível conferir o seu conteúdo com o banco de onde ela foi "
                      "feita.\r\nO banco de destino\r\n" +
                      f.destination.path() + "\r\nserá substituído pela cópia de segurança\r\n" + copy +
                      "\r\nTudo o que foi gravado no destino depois da cópia será perdido.\r\nConfirma ?");
        EXPECT_EQ(markerCount(f.destination), answer ? 0 : 1);
        EXPECT_TRUE(isOnline(f.destination));
    }
    EXPECT_TRUE(restoreLeftovers(f.destination).empty());
}

// Copies made straight through the engine, as a run makes them, of databases in one folder.
engine::SafetyCopy copyOf(const std::string& database) {
    engine::DestinationConnection connection(database, {});
    connection.attachment.open();
    test_support::ScriptedWindow window;
    const engine::SafetyCopy copy = engine::makeSafetyCopy(engine::Progress(window.gauge, window), {},
                                                           connection.attachment, connection.transaction);
    connection.transaction.commit();
    connection.attachment.close();
    return copy;
}

TEST_F(SafetyCopy, CopiesWithinOneSecondOrOfTheSameStemNeverOverwriteEachOther) {
    // Three copies as fast as they come, each of another state of the destination.
    std::vector<std::string> copies;
    for (int marker = 0; marker < 3; ++marker) {
        if (marker > 0)
            f.destination.run("INSERT INTO VENDEDOR (VEN_CODIGO) VALUES (" + std::to_string(9000 + marker) + ");");
        copies.push_back(copyOf(f.destination.path()).path);
    }
    EXPECT_EQ(std::set<std::string>(copies.begin(), copies.end()).size(), 3u) << testing::PrintToString(copies);
    for (int marker = 2; marker >= 0; --marker) {
        SCOPED_TRACE(copies[static_cast<std::size_t>(marker)]);
        test_support::ScriptedWindow window;
        ASSERT_TRUE(engine::restoreSafetyCopy(engine::Progress(window.gauge, window), window, {},
                                              copies[static_cast<std::size_t>(marker)], f.destination.path()))
            << testing::PrintToString(window.boxes);
        EXPECT_EQ(test_support::queryRows(f.destination, "SELECT COUNT(*) FROM VENDEDOR WHERE VEN_CODIGO > 9000"),
                  (ImportFixture::Rows{{std::to_string(marker)}}));
    }

    // Two databases of one stem in one folder.
    const std::string folder = std::filesystem::path(f.destination.path()).parent_path().string();
    const std::string other = folder + "/test.gdb";
    test_support::runIsql("CREATE DATABASE 'localhost:" + other + "' USER 'SYSDBA' PASSWORD 'pinewheel';\nCOMMIT;\n");
    const std::string fdbCopy = copyOf(f.destination.path()).path;
    const std::string gdbCopy = copyOf(other).path;
    EXPECT_NE(fdbCopy, gdbCopy);
    EXPECT_EQ(engine::readCopyRecord(fdbCopy + ".txt")->database, f.destination.path());
    EXPECT_EQ(engine::readCopyRecord(gdbCopy + ".txt")->database, other);
    EXPECT_EQ(std::filesystem::path(gdbCopy).filename().string().rfind("test.gdb-", 0), 0u) << gdbCopy;
}

}  // namespace
