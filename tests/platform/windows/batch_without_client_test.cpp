// The batch program on a Windows machine without the Firebird client, run from a folder with
// accents: it answers for its options, and a run stops before it starts with a message that
// names fbclient.dll.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"
#include "file_paths.h"
#include "test_files.h"

namespace {

class BatchWithoutClient : public testing::Test {
protected:
    // The program and the DLLs it loads, copied into a folder of their own.
    windows_test::TemporaryFolder folder{"Área de Trabalho – Łódź"};
    std::filesystem::path program = folder.path() / L"tavlo-merak-batch.exe";

    void SetUp() override {
        const std::filesystem::path built = platform::filePath(BATCH_PROGRAM);
        std::filesystem::copy_file(built, program);
        for (const auto& entry : std::filesystem::directory_iterator(built.parent_path()))
            if (entry.path().extension() == L".dll" && entry.path().stem().native().rfind(L"tavlo_probe", 0) != 0)
                std::filesystem::copy_file(entry.path(), folder.path() / entry.path().filename());
    }

    struct Outcome {
        int status;
        std::string output;
    };
    Outcome run(const std::vector<std::wstring>& arguments) {
        const std::filesystem::path output = folder.path() / L"saida.txt";
        windows_test::ChildProcess child(program.native(), arguments, output.native());
        EXPECT_TRUE(child.started());
        const int status = child.wait();
        return {status, windows_test::readAll(output)};
    }
};

TEST_F(BatchWithoutClient, AnswersForItsOptions) {
    const struct {
        std::vector<std::wstring> arguments;
        int status;
        std::vector<std::string> shown;
    } cases[] = {
        {{L"--help"}, 0, {"Uso:", "tavlo-merak-batch --help"}},
        {{L"--version"}, 0, {"tavlo-merak-batch " TAVLO_MERAK_VERSION}},
        // One line naming the fault, one naming where the usage is.
        {{L"--nao-existe"}, 2, {"tavlo-merak-batch: opção desconhecida: --nao-existe", "--help"}},
        {{L"--tabelas", L"clientes", L"--tabelas", L"produtos"}, 2, {"tavlo-merak-batch: opção repetida: --tabelas"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(platform::utf8Path(c.arguments.back()));
        const Outcome outcome = run(c.arguments);
        EXPECT_EQ(outcome.status, c.status) << outcome.output;
        for (const std::string& shown : c.shown)
            EXPECT_NE(outcome.output.find(shown), std::string::npos) << shown << " in " << outcome.output;
    }
}

TEST_F(BatchWithoutClient, ARunStopsBeforeItStartsNamingTheClientLibrary) {
    const std::wstring databases = folder.path().native() + L"\\";
    const Outcome outcome = run({L"--origem", databases + L"tavlo.fdb", L"--destino", databases + L"merak.fdb",
                                 L"--tabelas", L"clientes", L"--sim"});
    EXPECT_EQ(outcome.status, 2) << outcome.output;
    EXPECT_NE(outcome.output.find("fbclient.dll"), std::string::npos) << outcome.output;
    // Nothing was started, so nothing was logged.
    EXPECT_FALSE(std::filesystem::exists(folder.path() / L"quorel.log"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / L"quorel2.log"));
}

}  // namespace
