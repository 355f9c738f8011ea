// What the batch program refuses to do, and how it ends when it is stopped or killed, run as a
// user runs it against the local server.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "batch_program.h"
#include "batch_summary_lines.h"
#include "import_fixture.h"

namespace {

using test_support::BatchProgram;
using test_support::BatchResult;
using test_support::BatchStart;
using test_support::queryRows;
using test_support::readFile;
using test_support::RunningBatch;
using test_support::schemaFile;
using test_support::summaryLines;
using test_support::summaryPath;
using test_support::TestDatabase;
namespace fs = std::filesystem;
using Rows = test_support::ImportFixture::Rows;

const std::string kSellers =
    "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n"
    "INSERT INTO VENDEDOR (ID, NOME) VALUES (2, 'Bia');\n";
const std::string kOldSeller = "INSERT INTO VENDEDOR (VEN_CODIGO, VEN_NOME) VALUES (9, 'Antigo');\n";

Rows sellers(const TestDatabase& database) {
    return queryRows(database, "SELECT VEN_CODIGO, VEN_NOME FROM VENDEDOR ORDER BY VEN_CODIGO");
}

long long count(const TestDatabase& database, const std::string& sql) {
    return std::stoll(queryRows(database, sql).at(0).at(0));
}

std::string folderOf(const TestDatabase& database) { return fs::path(database.path()).parent_path().string(); }

// A long supplier table: keys 1 to rows in order, the destination refusing every 50th row
// through a trigger, so that refused rows are spread through the table and none of them can
// be in it. A run stopped early gets the longest; a run left to its end one that lasts some
// seconds.
constexpr int kLongRows = 20000;
constexpr int kRowsOfARunToItsEnd = 2500;

std::string longSource(int rows) {
    return "SET TERM ^ ;\n"
           "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN\n"
           "  WHILE (I <= " +
           std::to_string(rows) +
           ") DO BEGIN\n"
           "    INSERT INTO FORNECEDOR (CODIGO, NOME) VALUES (:I, 'Fornecedor ' || :I);\n"
           "    I = I + 1;\n"
           "  END\n"
           "END^\n"
           "SET TERM ; ^\n";
}
const std::string kRefuseEvery50th =
    "CREATE EXCEPTION RECUSADO 'recusado pelo teste';\n"
    "SET TERM ^ ;\n"
    "CREATE TRIGGER RECUSA_50 FOR FORNECEDORES BEFORE INSERT AS\n"
    "BEGIN\n"
    "  IF (MOD(NEW.CODIGO, 50) = 0) THEN EXCEPTION RECUSADO;\n"
    "END^\n"
    "SET TERM ; ^\n";

struct LongRun {
    explicit LongRun(int rows = kLongRows)
        : source(schemaFile("tavlo-schema.sql") + "\n" + longSource(rows)),
          destination(schemaFile("merak-schema.sql") + "\n" + kRefuseEvery50th) {}
    TestDatabase source;
    TestDatabase destination;
    std::vector<std::string> arguments() const {
        return {"--origem", source.path(), "--destino", destination.path(), "--tabelas", "fornecedores", "--sim"};
    }
    long long written() const { return count(destination, "SELECT COUNT(*) FROM FORNECEDORES"); }
    // Waits until the run has written some rows of the table, but not all.
    void waitUntilWriting(RunningBatch& run) const {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (written() < 300) {
            ASSERT_FALSE(run.ended()) << run.errorsSoFar();
            ASSERT_LT(std::chrono::steady_clock::now(), limit);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
};

// The keys of the entries of a supplier log, in order; fails the test on a malformed entry.
std::vector<long long> loggedKeys(const std::string& log) {
    static const std::regex entry(
        "Erro na importa\xE7\xE3o de FORNECEDORES no Registro ([0-9]+)\r\n"
        "[^\r\n]*\r\n(?:[^\r\n]*\r\n)*?\r\n");
    std::vector<long long> keys;
    std::size_t matched = 0;
    for (auto it = std::sregex_iterator(log.begin(), log.end(), entry); it != std::sregex_iterator(); ++it) {
        EXPECT_EQ(static_cast<std::size_t>(it->position()), matched) << log.substr(matched, 200);
        matched = static_cast<std::size_t>(it->position() + it->length());
        keys.push_back(std::stoll((*it)[1]));
    }
    EXPECT_EQ(matched, log.size()) << "a partial entry at the end";
    return keys;
}

TEST(BatchSafety, SameDatabaseUnderAnyNameIsRefusedBeforeAnythingIsEmptied) {
    const TestDatabase tavlo(schemaFile("tavlo-schema.sql") + "\n" + kSellers);
    const BatchProgram program;
    const std::string folder = folderOf(tavlo);
    const std::string link = program.root() + "/atalho.fdb";
    fs::create_symlink(tavlo.path(), link);

    struct Case {
        std::string name;
        std::string destino;
        std::string from;  // the current folder of the run
    };
    const std::vector<Case> cases = {
        {"the same path twice", tavlo.path(), ""},
        {"a symbolic link", link, ""},
        {"another spelling", folder + "//./" + fs::path(tavlo.path()).filename().string(), ""},
        {"a relative path", fs::path(tavlo.path()).filename().string(), folder},
    };
    const std::string refusal = "A T E N Ç Ã O: Origem e destino são o mesmo banco de dados:\n" + tavlo.path() +
                                "\nNada foi apagado nem importado.\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BatchStart how;
        how.folder = c.from;
        const BatchResult result = program.run(
            {"--origem", tavlo.path(), "--destino", c.destino, "--tabelas", "vendedores,fornecedores", "--sim"}, how);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, refusal);
        EXPECT_EQ(queryRows(tavlo, "SELECT ID, NOME FROM VENDEDOR ORDER BY ID"), (Rows{{"1", "Ana"}, {"2", "Bia"}}));
    }
}

TEST(BatchSafety, CommandLinePathsAreUsedAsGivenAndARelativeOneFromTheCurrentFolder) {
    const TestDatabase source(schemaFile("tavlo-schema.sql") + "\n" + kSellers);
    const TestDatabase next(schemaFile("merak-schema.sql") + "\n" + kOldSeller);
    const TestDatabase quoted(schemaFile("merak-schema.sql") + "\n" + kOldSeller);
    const TestDatabase unquoted(schemaFile("merak-schema.sql") + "\n" + kOldSeller);
    const BatchProgram program;
    // Folders named with and without a quotation mark, each holding a destination.
    fs::create_symlink(folderOf(quoted), program.root() + "/a\"b");
    fs::create_symlink(folderOf(unquoted), program.root() + "/ab");
    const std::string nextFolder = fs::path(folderOf(next)).parent_path().string();
    const std::string nextRelative = fs::path(folderOf(next)).filename().string() + "/test.fdb";

    struct Case {
        std::string name;
        std::string destino;
        std::string from;
        std::string used;  // the path the summary names
    };
    const std::vector<Case> cases = {
        {"relative", nextRelative, nextFolder, nextFolder + "/" + nextRelative},
        {"quotation mark", program.root() + "/a\"b/test.fdb", "", program.root() + "/a\"b/test.fdb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BatchStart how;
        how.folder = c.from;
        const BatchResult result =
            program.run({"--origem", source.path(), "--destino", c.destino, "--tabelas", "vendedores", "--sim"}, how);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(summaryPath(result.out, "Destino"), c.used);
    }
    EXPECT_EQ(sellers(next), (Rows{{"1", "Ana"}, {"2", "Bia"}}));
    EXPECT_EQ(sellers(quoted), (Rows{{"1", "Ana"}, {"2", "Bia"}}));
    EXPECT_EQ(sellers(unquoted), (Rows{{"9", "Antigo"}}));
}

TEST(BatchSafety, ReadOnlyProgramFolderPutsTheLogInTheUserDataFolderAndNamesIt) {
    const TestDatabase source(schemaFile("tavlo-schema.sql") + "\n" + kSellers +
                              "INSERT INTO VENDEDOR (ID, NOME) VALUES (2, 'Bia de novo');\n");
    const TestDatabase destination(schemaFile("merak-schema.sql"));
    const BatchProgram program;
    const std::string data = program.root() + "/dados";
    fs::create_directory(data);
    ::chown(data.c_str(), 65534, 65534);
    ::chmod(program.folder().c_str(), 0555);
    BatchStart how;
    how.asNobody = true;
    how.env = {"XDG_DATA_HOME=" + data};

    const BatchResult result = program.run(
        {"--origem", source.path(), "--destino", destination.path(), "--tabelas", "vendedores", "--sim"}, how);

    EXPECT_EQ(result.status, 1) << result.err;
    const std::string fallback = data + "/tavlo-merak/quorel.log";
    EXPECT_NE(result.err.find("A T E N Ç Ã O: Cannot create file \"" + program.folder() +
                              "quorel.log\". Permission denied\nOs registros deste log estão em: " + fallback + "\n"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(readFile(fallback).rfind("Erro na importa\xE7\xE3o de VENDEDOR no Registro 2\r\n", 0), 0u);
    EXPECT_FALSE(fs::exists(program.folder() + "quorel.log"));
    // Every file that moved is named, the list of refused rows too.
    EXPECT_NE(result.err.find("\nOs registros deste log estão em: " + data + "/tavlo-merak/recusadas.csv\n"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(sellers(destination), (Rows{{"1", "Ana"}, {"2", "Bia"}}));
}

TEST(BatchSafety, SecondRunOnADestinationBeingImportedIsRefusedAndTheFirstCompletes) {
    const LongRun data(kRowsOfARunToItsEnd);
    const BatchProgram first;
    const BatchProgram second;
    RunningBatch running = first.start(data.arguments());
    data.waitUntilWriting(running);

    const BatchResult refused = second.run(data.arguments());
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "A T E N Ç Ã O: Outra importação está gravando neste banco de destino:\n" +
                               data.destination.path() +
                               "\nNada foi apagado nem importado. Tente de novo quando ela terminar.\n");

    const BatchResult completed = running.wait();
    EXPECT_EQ(completed.status, 1) << completed.err;
    EXPECT_EQ(data.written(), kRowsOfARunToItsEnd - kRowsOfARunToItsEnd / 50);
    EXPECT_EQ(loggedKeys(readFile(first.folder() + "quorel.log")).size(),
              static_cast<std::size_t>(kRowsOfARunToItsEnd / 50));
}

TEST(BatchSafety, StopSignalEndsTheTableCleanlyWithItsSequenceItsLogAndItsSummary) {
    // Ctrl+C after a typed Yes, SIGTERM after --sim; a closed terminal (SIGHUP) and Ctrl+\
    // (SIGQUIT) as SIGTERM.
    for (const auto& [signal, name, status, typedYes] :
         {std::tuple{SIGINT, "SIGINT", 130, true}, std::tuple{SIGTERM, "SIGTERM", 143, false},
          std::tuple{SIGHUP, "SIGHUP", 129, false}, std::tuple{SIGQUIT, "SIGQUIT", 131, false}}) {
        SCOPED_TRACE(name);
        const LongRun data;
        const BatchProgram program;
        std::vector<std::string> arguments = data.arguments();
        BatchStart how;
        if (typedYes) {
            arguments.pop_back();
            how.input = "s\n";
        }
        RunningBatch running = program.start(arguments, how);
        data.waitUntilWriting(running);
        // As an impatient user does: again and again.
        const auto signalled = std::chrono::steady_clock::now();
        for (int time = 0; time < 20 && !running.ended(); ++time) {
            running.signal(signal);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        while (!running.ended() && std::chrono::steady_clock::now() - signalled < std::chrono::seconds(10))
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_LT(std::chrono::steady_clock::now() - signalled, std::chrono::seconds(5));
        const BatchResult result = running.wait();

        EXPECT_EQ(result.signal, 0) << result.err << result.out;
        EXPECT_EQ(result.status, status) << result.err;
        const std::vector<test_support::SummaryLine> summary = summaryLines(result.out);
        ASSERT_EQ(summary.size(), 2u) << result.out;
        EXPECT_EQ(summary[0].table, "FORNECEDORES");
        EXPECT_EQ(summary[0].notes, std::string("  INTERROMPIDA pelo sinal ") + name);
        const long long read = summary[0].read;
        EXPECT_GT(read, 300);
        EXPECT_LT(read, kLongRows);
        // Keys come in order: the rows handled are 1..read, every 50th refused and logged.
        EXPECT_EQ(summary[0].refused, read / 50);
        EXPECT_EQ(summary[0].found, std::to_string(read - read / 50));
        EXPECT_EQ(data.written(), read - read / 50);
        EXPECT_EQ(count(data.destination, "SELECT MAX(CODIGO) FROM FORNECEDORES WHERE MOD(CODIGO, 50) <> 0"),
                  read % 50 == 0 ? read - 1 : read);
        EXPECT_EQ(count(data.destination, "SELECT COUNT(*) FROM FORNECEDORES WHERE MOD(CODIGO, 50) = 0"), 0);
        std::vector<long long> expectedKeys;
        for (long long key = 50; key <= read; key += 50) expectedKeys.push_back(key);
        EXPECT_EQ(loggedKeys(readFile(program.folder() + "quorel.log")), expectedKeys);
        // The sequence restarts from the last row handled.
        EXPECT_EQ(summary[0].sequence, std::to_string(read));
        EXPECT_EQ(test_support::nextSequenceValue(data.destination, "GEN_CODFOR"), read + 1);
        EXPECT_NE(result.err.find("A T E N Ç Ã O: Importação finalizada com erros\n"), std::string::npos) << result.err;
    }
}

TEST(BatchSafety, KilledRunLeavesEveryLogEntryMadeSoFar) {
    const LongRun data;
    const BatchProgram program;
    RunningBatch running = program.start(data.arguments());
    data.waitUntilWriting(running);
    running.signal(SIGKILL);
    const BatchResult result = running.wait();
    ASSERT_EQ(result.signal, SIGKILL);

    // Every refused row before the last row written is in the log; the row being handled when
    // the kill came may be there too.
    const long long lastWritten = count(data.destination, "SELECT MAX(CODIGO) FROM FORNECEDORES");
    const std::vector<long long> keys = loggedKeys(readFile(program.folder() + "quorel.log"));
    ASSERT_GE(keys.size(), static_cast<std::size_t>(lastWritten / 50));
    ASSERT_LE(keys.size(), static_cast<std::size_t>(lastWritten / 50 + 1));
    for (std::size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(keys[i], 50 * static_cast<long long>(i + 1));
}

TEST(BatchSafety, CtrlCAtTheConfirmationAnswersNo) {
    const TestDatabase source(schemaFile("tavlo-schema.sql") + "\n" + kSellers);
    const TestDatabase destination(schemaFile("merak-schema.sql") + "\n" + kOldSeller);
    const BatchProgram program;
    BatchStart how;
    how.waitingInput = true;
    RunningBatch running =
        program.start({"--origem", source.path(), "--destino", destination.path(), "--tabelas", "vendedores"}, how);
    const std::string question = "Confirma ? (s/n) ";
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (running.errorsSoFar().find(question) == std::string::npos) {
        ASSERT_FALSE(running.ended()) << running.errorsSoFar();
        ASSERT_LT(std::chrono::steady_clock::now(), limit);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    running.signal(SIGINT);
    const BatchResult result = running.wait();

    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.substr(result.err.size() - question.size() - 1), question + "\n");
    EXPECT_EQ(sellers(destination), (Rows{{"9", "Antigo"}}));
}

}  // namespace
