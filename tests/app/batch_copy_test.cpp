// The batch program's safety copy (--sem-copia, a copy that fails) and its --restaurar command,
// run as a copy of the built program in a program folder of its own against the local server.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <optional>
#include <regex>

#include "batch_options.h"
#include "immutable_folder.h"
#include "import_fixture.h"
#include "run_lock.h"
#include "test_connection.h"

namespace {

using test_support::readFile;
using test_support::schemaFile;
using test_support::TestDatabase;

struct BatchResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string quotedForShell(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// A copy of the batch program in a fresh folder, removed with it; input comes from an empty file.
class BatchProgram {
public:
    BatchProgram() {
        std::string root = (std::filesystem::temp_directory_path() / "tavlo-merak-copy-XXXXXX").string();
        if (::mkdtemp(root.data()) == nullptr) throw std::runtime_error("cannot create a folder");
        root_ = root + "/";
        std::filesystem::copy_file(BATCH_PROGRAM, root_ + "tavlo-merak-batch");
    }
    ~BatchProgram() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    const std::string& folder() const { return root_; }

    // environment: "NAME=value " assignments put before the command.
    BatchResult run(const std::vector<std::string>& arguments, const std::string& environment = "") const {
        std::string command = environment + quotedForShell(root_ + "tavlo-merak-batch");
        for (const std::string& argument : arguments) command += " " + quotedForShell(argument);
        command += " </dev/null >" + quotedForShell(root_ + "saida") + " 2>" + quotedForShell(root_ + "erros");
        BatchResult result;
        const int status = std::system(command.c_str());
        if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
        result.out = readFile(root_ + "saida");
        result.err = readFile(root_ + "erros");
        return result;
    }

private:
    std::string root_;
};

std::string folderOf(const TestDatabase& database) {
    return std::filesystem::path(database.path()).parent_path().string();
}

std::vector<std::string> copyFilesBeside(const TestDatabase& database) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folderOf(database)))
        if (entry.path().extension() == ".fbk") files.push_back(entry.path().string());
    return files;
}

long long clientCount(const TestDatabase& database) {
    return std::stoll(test_support::queryRows(database, "SELECT COUNT(*) FROM CLIENTES").at(0).at(0));
}

const std::string kCopyLine = "\nCópia de segurança: ";

TEST(BatchCopy, SemCopiaGoesWithAnImportAndRestaurarOnlyWithDestinoAndSim) {
    const batch::BatchOptions run = batch::parseBatchOptions({"--sem-copia", "--tabelas", "clientes", "--sim"});
    EXPECT_TRUE(run.semCopia);
    EXPECT_FALSE(run.restaurar.has_value());
    EXPECT_FALSE(batch::parseBatchOptions({"--tabelas", "clientes"}).semCopia);

    const batch::BatchOptions restore = batch::parseBatchOptions({"--restaurar", "c.fbk", "--destino", "m.fdb"});
    EXPECT_EQ(restore.restaurar, "c.fbk");
    EXPECT_EQ(restore.destino, "m.fdb");
    EXPECT_FALSE(restore.sim);
    EXPECT_TRUE(batch::parseBatchOptions({"--sim", "--destino", "m.fdb", "--restaurar", "c.fbk"}).sim);
    EXPECT_FALSE(restore.aceitarCopiaSemRegistro);
    EXPECT_TRUE(batch::parseBatchOptions({"--restaurar", "c.fbk", "--destino", "m.fdb", "--aceitar-copia-sem-registro"})
                    .aceitarCopiaSemRegistro);

    const std::string onlyDestinoAndSim = "--restaurar aceita apenas --destino e --sim";
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--restaurar", "c.fbk"}, "falta --destino para --restaurar"},
        {{"--restaurar"}, "falta o valor de --restaurar"},
        {{"--restaurar", "c.fbk", "--destino", "m.fdb", "--tabelas", "clientes"}, onlyDestinoAndSim},
        {{"--restaurar", "c.fbk", "--destino", "m.fdb", "--origem", "t.fdb"}, onlyDestinoAndSim},
        {{"--restaurar", "c.fbk", "--destino", "m.fdb", "--sem-copia"}, onlyDestinoAndSim},
        {{"--restaurar", "c.fbk", "--restaurar", "d.fbk", "--destino", "m.fdb"}, "opção repetida: --restaurar"},
        {{"--tabelas", "clientes", "--sem-copia", "--sem-copia"}, "opção repetida: --sem-copia"},
        {{"--sem-copia"}, "falta --tabelas"},
        {{"--tabelas", "clientes", "--aceitar-copia-sem-registro"},
         "--aceitar-copia-sem-registro vai apenas com --restaurar"},
    };
    for (const auto& [arguments, message] : refused) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        try {
            batch::parseBatchOptions(arguments);
            ADD_FAILURE() << "accepted";
        } catch (const batch::UsageError& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
    }
}

TEST(BatchCopy, CopyIsMadeByDefaultAndNotWithSemCopiaAndAFailedOneStopsTheRunWithTwo) {
    const TestDatabase source(schemaFile("tavlo-schema.sql") + "\n" + schemaFile("tavlo-sample-data.sql"));
    struct Case {
        std::string name;
        bool semCopia;
        bool folderWritable;
        int status;
        bool copyMade;
    };
    const std::vector<Case> cases = {
        {"default", false, true, 1, true},
        {"--sem-copia", true, true, 1, false},
        {"copy fails", false, false, 2, false},
        {"copy fails, --sem-copia", true, false, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TestDatabase destination(schemaFile("merak-schema.sql") + "\n" + schemaFile("merak-sample-data.sql"));
        // No file can be created in the destination's folder (its lock file is already there).
        { const platform::DestinationLock made(destination.path()); }
        std::optional<test_support::ImmutableFolder> immutable;
        if (!c.folderWritable) immutable.emplace(folderOf(destination));
        const long long clientsBefore = clientCount(destination);
        const BatchProgram program;
        std::vector<std::string> arguments = {"--origem",  source.path(), "--destino", destination.path(),
                                              "--tabelas", "clientes",    "--sim"};
        if (c.semCopia) arguments.push_back("--sem-copia");
        const BatchResult result = program.run(arguments);

        EXPECT_EQ(result.status, c.status) << result.err;
        const std::vector<std::string> copies = copyFilesBeside(destination);
        EXPECT_EQ(copies.size(), c.copyMade ? 1u : 0u);
        EXPECT_EQ(std::filesystem::exists(program.folder() + "copias.log"), c.copyMade);
        if (c.copyMade && copies.size() == 1) {
            const std::string size = std::to_string(std::filesystem::file_size(copies[0]));
            EXPECT_NE(result.out.find(kCopyLine + copies[0] + " (" + size + " bytes)\n"), std::string::npos)
                << result.out;
            EXPECT_NE(readFile(program.folder() + "copias.log").find("\t" + copies[0] + "\t" + size + "\r\n"),
                      std::string::npos);
        } else {
            EXPECT_EQ(result.out.find(kCopyLine), std::string::npos) << result.out;
        }
        if (c.status == 2) {
            // The reason, the question answered No without a person, and nothing emptied.
            EXPECT_NE(result.err.find("C O N F I R M A Ç Ã O: Não foi possível fazer a cópia de segurança do banco "
                                      "de destino:\nCannot create file \"" +
                                      folderOf(destination) + "/test.fdb-"),
                      std::string::npos)
                << result.err;
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(clientCount(destination), clientsBefore);
        } else {
            EXPECT_NE(clientCount(destination), clientsBefore);
        }
    }
}

// A run of the batch program on the sample databases that imported the clients after its
// safety copy: the destination's clients before the run, and the copy beside it.
class BatchRestore : public testing::Test {
protected:
    const TestDatabase source{schemaFile("tavlo-schema.sql") + "\n" + schemaFile("tavlo-sample-data.sql")};
    const TestDatabase destination{schemaFile("merak-schema.sql") + "\n" + schemaFile("merak-sample-data.sql")};
    const long long clientsBefore = clientCount(destination);
    const BatchProgram program;
    std::vector<std::string> copies;

    void SetUp() override {
        ASSERT_EQ(
            program.run({"--origem", source.path(), "--destino", destination.path(), "--tabelas", "clientes", "--sim"})
                .status,
            1);
        copies = copyFilesBeside(destination);
        ASSERT_EQ(copies.size(), 1u);
    }
};

TEST_F(BatchRestore, RestaurarPutsTheDestinationBackAndRefusesWhileAnotherConnectionIsAttached) {
    const long long clientsAfterRun = clientCount(destination);
    ASSERT_NE(clientsAfterRun, clientsBefore);
    const std::vector<std::string> restore = {"--restaurar", copies[0], "--destino", destination.path(), "--sim"};

    {
        test_support::TestConnection other(destination.connectionString());
        other.attachment.open();
        const BatchResult refused = program.run(restore);
        EXPECT_EQ(refused.status, 2);
        EXPECT_NE(refused.err.find("A T E N Ç Ã O: O banco de destino não foi restaurado:\ncould not drop database " +
                                   destination.path() + " (database might be in use)"),
                  std::string::npos)
            << refused.err;
        other.attachment.close();
    }
    EXPECT_EQ(clientCount(destination), clientsAfterRun);

    const BatchResult missing =
        program.run({"--restaurar", copies[0] + ".x", "--destino", destination.path(), "--sim"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "A T E N Ç Ã O: O arquivo da cópia de segurança não existe:\n" + copies[0] + ".x\n");

    const BatchResult restored = program.run(restore);
    EXPECT_EQ(restored.status, 0) << restored.err;
    EXPECT_NE(restored.err.find("(s/n) s\nA V I S O: Banco de destino restaurado da cópia de segurança\n" + copies[0]),
              std::string::npos)
        << restored.err;
    EXPECT_EQ(clientCount(destination), clientsBefore);
}

TEST_F(BatchRestore, ARefusedLoginIsToldBeforeTheQuestionAndAnotherDatabasesCopyIsNotRestoredWithSim) {
    const long long clientsAfterRun = clientCount(destination);
    const BatchResult refusedLogin =
        program.run({"--restaurar", copies[0], "--destino", destination.path(), "--sim"}, "ISC_PASSWORD=errada ");
    EXPECT_EQ(refusedLogin.status, 2);
    EXPECT_NE(refusedLogin.err.find("O servidor recusou o usuário ou a senha."), std::string::npos) << refusedLogin.err;
    EXPECT_EQ(refusedLogin.err.find("C O N F I R M A Ç Ã O"), std::string::npos) << refusedLogin.err;
    EXPECT_EQ(refusedLogin.err.find("errada"), std::string::npos);

    // The copy offered to another database: --sim does not answer that question.
    const TestDatabase other(schemaFile("merak-schema.sql"));
    const BatchResult otherDatabase = program.run({"--restaurar", copies[0], "--destino", other.path(), "--sim"});
    EXPECT_EQ(otherDatabase.status, 2);
    EXPECT_NE(otherDatabase.err.find("ATENÇÃO: esta cópia foi feita de OUTRO banco de dados"), std::string::npos)
        << otherDatabase.err;
    EXPECT_NE(otherDatabase.err.find("Resposta: Não (--sim não responde a esta pergunta; responda num terminal)\n"),
              std::string::npos)
        << otherDatabase.err;
    EXPECT_EQ(clientCount(destination), clientsAfterRun);
}

TEST_F(BatchRestore, ACopyWithoutARecordIsRestoredOnlyWithItsOwnOptionNotWithSim) {
    // As a copy made by hand: no record beside it.
    ASSERT_TRUE(std::filesystem::remove(copies[0] + ".txt"));
    const long long clientsAfterRun = clientCount(destination);

    const BatchResult refused = program.run({"--restaurar", copies[0], "--destino", destination.path(), "--sim"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("C O N F I R M A Ç Ã O: ATENÇÃO: esta cópia não tem registro (" + copies[0] + ".txt)"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(clientCount(destination), clientsAfterRun);

    const BatchResult accepted = program.run(
        {"--restaurar", copies[0], "--destino", destination.path(), "--sim", "--aceitar-copia-sem-registro"});
    EXPECT_EQ(accepted.status, 0) << accepted.err;
    EXPECT_EQ(clientCount(destination), clientsBefore);
}

// The source on the Firebird 3.0 server (port 3050) and the destination on the Firebird 4.0
// server (port 3051): the same rows, sequences and logs as a run between two databases of the
// 3.0 server, and a safety copy made and restored by the destination's own server.
TEST(BatchAcrossServers, SourceOn30AndDestinationOn40ImportAsOnOneServerAndTheCopyRestoresThere) {
    const std::string tavlo = schemaFile("tavlo-schema.sql") + "\n" + schemaFile("tavlo-sample-data.sql");
    const std::string merak = schemaFile("merak-schema.sql") + "\n" + schemaFile("merak-sample-data.sql");
    const TestDatabase source(tavlo, 3, "ISO8859_1", "", "localhost/3050");
    const TestDatabase destination(merak, 3, "ISO8859_1", "", "localhost/3051");
    const TestDatabase reference(merak, 3, "ISO8859_1", "", "localhost/3050");
    const long long clientsBefore = clientCount(destination);
    const std::string tables = "clientes,fornecedores,produtos,vendedores";

    const BatchProgram across;
    const BatchResult run =
        across.run({"--origem", source.boxText(), "--destino", destination.boxText(), "--tabelas", tables, "--sim"});
    const BatchProgram single;
    const BatchResult referenceRun =
        single.run({"--origem", source.boxText(), "--destino", reference.boxText(), "--tabelas", tables, "--sim"});
    ASSERT_EQ(run.status, referenceRun.status) << run.err << referenceRun.err;
    EXPECT_NE(run.out.find("Servidor da origem: Firebird 3.0."), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Servidor do destino: Firebird 4.0."), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(", localhost/3051\n"), std::string::npos) << run.out;

    for (const char* table : {"CLIENTES", "FORNECEDORES", "GRUPO", "PRODUTOS", "VENDEDOR"}) {
        SCOPED_TRACE(table);
        const std::string all = std::string("SELECT * FROM ") + table + " ORDER BY 1, 2";
        const auto rows = test_support::queryRows(destination, all);
        EXPECT_FALSE(rows.empty());
        EXPECT_EQ(rows, test_support::queryRows(reference, all));
    }
    for (const char* sequence : {"GEN_CODCLI", "GEN_CODFOR", "GEN_ID_GRUPO", "CODIGO_PRODUTO"}) {
        SCOPED_TRACE(sequence);
        const std::string value = std::string("SELECT GEN_ID(") + sequence + ", 0) FROM RDB$DATABASE";
        EXPECT_EQ(test_support::queryRows(destination, value), test_support::queryRows(reference, value));
    }
    for (const char* log : {"quorel.log", "quorel2.log", "recusadas.csv"}) {
        SCOPED_TRACE(log);
        EXPECT_FALSE(readFile(single.folder() + log).empty());
        EXPECT_EQ(readFile(across.folder() + log), readFile(single.folder() + log));
    }

    const std::vector<std::string> copies = copyFilesBeside(destination);
    ASSERT_EQ(copies.size(), 1u);
    const BatchResult restored = across.run({"--restaurar", copies[0], "--destino", destination.boxText(), "--sim"});
    EXPECT_EQ(restored.status, 0) << restored.err;
    EXPECT_EQ(clientCount(destination), clientsBefore);
    // The database checked before the destination was restored over is gone.
    for (const auto& entry : std::filesystem::directory_iterator(folderOf(destination)))
        EXPECT_EQ(entry.path().string().find(".restaurando-"), std::string::npos) << entry.path();
}

}  // namespace
