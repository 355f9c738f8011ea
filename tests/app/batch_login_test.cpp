// The batch program's login: ISC_USER and ISC_PASSWORD, a refused login asked on a terminal
// only; --help and --version.
#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "batch_program.h"
#include "import_fixture.h"
#include "terminal_progress.h"
#include "terminal_window.h"
#include "test_user.h"

namespace {

using test_support::BatchProgram;
using test_support::BatchResult;
using test_support::ImportFixture;
using test_support::schemaFile;
using test_support::TestDatabase;

TEST(BatchLogin, ARefusedLoginOffATerminalFailsWithTheServersTextAndEmptiesNothing) {
    const test_support::TestUser user;
    const TestDatabase source(schemaFile("tavlo-schema.sql") +
                              "\nINSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n");
    const TestDatabase destination(schemaFile("merak-schema.sql") +
                                   "\nINSERT INTO VENDEDOR (VEN_CODIGO, VEN_NOME) VALUES (9, 'Antigo');\n");
    const BatchProgram program;
    const std::vector<std::string> arguments = {"--origem",  source.path(), "--destino", destination.path(),
                                                "--tabelas", "vendedores",  "--sim",     "--sem-copia"};
    struct Case {
        std::string name;
        std::vector<std::string> env;
    };
    for (const Case& c : std::vector<Case>{
             {"wrong password of SYSDBA", {"ISC_PASSWORD=errada"}},
             {"wrong password of another user", {"ISC_USER=" + user.name(), "ISC_PASSWORD=errada"}},
         }) {
        SCOPED_TRACE(c.name);
        test_support::BatchStart how;
        how.input = "s\n";
        how.env = c.env;
        const BatchResult result = program.run(arguments, how);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.rfind("A T E N Ç Ã O: Falha na função: \"Connectar\"\nFalha: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find("Your user name and password are not defined"), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find("errada"), std::string::npos) << result.err;
        EXPECT_EQ(test_support::queryRows(destination, "SELECT VEN_CODIGO, VEN_NOME FROM VENDEDOR"),
                  (ImportFixture::Rows{{"9", "Antigo"}}));
    }

    // The right password in the environment: the run goes ahead.
    test_support::BatchStart how;
    how.input = "s\n";
    how.env = {"ISC_USER=SYSDBA", "ISC_PASSWORD=pinewheel"};
    const BatchResult right = program.run(arguments, how);
    EXPECT_EQ(right.status, 0) << right.err;
    EXPECT_EQ(test_support::queryRows(destination, "SELECT VEN_CODIGO, VEN_NOME FROM VENDEDOR"),
              (ImportFixture::Rows{{"1", "Ana"}}));
}

TEST(BatchLogin, OnATerminalTheUserIsAskedAndThePasswordIsNotWritten) {
    std::istringstream input("ana\nsegredo-digitado\n");
    std::ostringstream errors;
    batch::TerminalProgress progress(errors, false);
    batch::TerminalWindow terminal({input, errors, true}, progress, false);
    const std::optional<engine::Credentials> typed = terminal.askLogin();
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->user, "ana");
    EXPECT_EQ(typed->password, "segredo-digitado");
    EXPECT_EQ(errors.str(), "O servidor recusou o usuário ou a senha.\nUsuário: Senha: ");

    // Without a person at a terminal, or at the end of the input, nothing is asked back.
    std::istringstream script("ana\nsegredo\n");
    batch::TerminalWindow offTerminal({script, errors, false}, progress, false);
    EXPECT_FALSE(offTerminal.askLogin());
    std::istringstream ended("ana\n");
    batch::TerminalWindow endedInput({ended, errors, true}, progress, false);
    EXPECT_FALSE(endedInput.askLogin());
}

TEST(BatchLogin, HelpAndVersion) {
    const BatchProgram program;
    const BatchResult version = program.run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("tavlo-merak-batch ") + TAVLO_MERAK_VERSION + "\n");
    const BatchResult help = program.run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Uso:\n", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("ISC_USER"), std::string::npos);
}

}  // namespace
