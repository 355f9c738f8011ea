#include "batch_options.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>

#include "file_paths.h"

namespace {

using batch::BatchOptions;
using batch::DatabasePaths;
using engine::CheckBox;

struct AcceptedCase {
    std::vector<std::string> arguments;
    std::set<CheckBox> tabelas;
    std::optional<std::string> origem;
    std::optional<std::string> destino;
    bool sim;
};

TEST(BatchOptions, AcceptedCommandLinesGiveTheirTablesPathsAndAnswer) {
    const std::vector<AcceptedCase> cases = {
        {{"--tabelas", "clientes"}, {CheckBox::Clientes}, std::nullopt, std::nullopt, false},
        // Any order, any repetition: the run keeps its own order.
        {{"--tabelas", "vendedores,produtos,clientes,fornecedores,clientes"},
         {CheckBox::Clientes, CheckBox::Fornec, CheckBox::Produtos, CheckBox::Vendedores},
         std::nullopt,
         std::nullopt,
         false},
        // Paths are taken as given, blanks included; an empty one is not replaced by the settings.
        {{"--sim", "--destino", "", "--tabelas", "fornecedores", "--origem", " /dados/tavlo velho.fdb"},
         {CheckBox::Fornec},
         " /dados/tavlo velho.fdb",
         "",
         true},
        // A value is the next argument whatever it looks like.
        {{"--origem", "--sim", "--tabelas", "produtos"}, {CheckBox::Produtos}, "--sim", std::nullopt, false},
    };
    for (const AcceptedCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const BatchOptions options = batch::parseBatchOptions(c.arguments);
        EXPECT_FALSE(options.help);
        EXPECT_EQ(options.tabelas, c.tabelas);
        EXPECT_EQ(options.origem, c.origem);
        EXPECT_EQ(options.destino, c.destino);
        EXPECT_EQ(options.sim, c.sim);
    }
}

TEST(BatchOptions, ConferirTakesTheTablesAndPathsOfARun) {
    const BatchOptions options =
        batch::parseBatchOptions({"--tabelas", "produtos,clientes", "--conferir", "--destino", "m.fdb"});
    EXPECT_TRUE(options.conferir);
    EXPECT_EQ(options.tabelas, (std::set<CheckBox>{CheckBox::Clientes, CheckBox::Produtos}));
    EXPECT_EQ(options.destino, "m.fdb");
    EXPECT_EQ(options.origem, std::nullopt);
    EXPECT_FALSE(batch::parseBatchOptions({"--tabelas", "clientes"}).conferir);
}

TEST(BatchOptions, HelpAndVersionAreAskedAloneAndTakeNoOtherOption) {
    EXPECT_TRUE(batch::parseBatchOptions({"--help"}).help);
    EXPECT_FALSE(batch::parseBatchOptions({"--help"}).version);
    EXPECT_TRUE(batch::parseBatchOptions({"--version"}).version);
    EXPECT_FALSE(batch::parseBatchOptions({"--version"}).help);
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--tabelas", "mesas", "--help"}, "--help não aceita outras opções"},
        {{"--depressa", "--help"}, "--help não aceita outras opções"},
        {{"--version", "--help"}, "--help não aceita outras opções"},
        {{"--tabelas", "clientes", "--version"}, "--version não aceita outras opções"},
    };
    for (const auto& [arguments, message] : refused) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        try {
            batch::parseBatchOptions(arguments);
            ADD_FAILURE() << "accepted";
        } catch (const batch::UsageError& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
}

// Every option added to each command: taken when the command's table says so, else refused
// with a one-line usage error.
TEST(BatchOptions, EachCommandTakesItsOwnOptionsAndRefusesEveryOther) {
    const std::vector<std::vector<std::string>> options = {
        {"--origem", "a.fdb"},
        {"--destino", "m.fdb"},
        {"--tabelas", "clientes"},
        {"--sim"},
        {"--simular"},
        {"--atomico"},
        {"--sem-copia"},
        {"--relatorio", "r.pdf"},
        {"--conferir"},
        {"--ajustar-sequencias"},
        {"--restaurar", "c.fbk"},
        {"--aceitar-copia-sem-registro"},
        {"--help"},
        {"--version"},
    };
    struct Command {
        std::string name;
        std::vector<std::string> base;
        std::set<std::string> takes;
    };
    const std::vector<Command> commands = {
        {"import",
         {"--tabelas", "clientes"},
         {"--origem", "--destino", "--sim", "--atomico", "--sem-copia", "--relatorio", "--simular", "--conferir"}},
        {"preview",
         {"--simular", "--tabelas", "clientes"},
         {"--origem", "--destino", "--sim", "--atomico", "--sem-copia", "--relatorio"}},
        {"comparison", {"--conferir", "--tabelas", "clientes"}, {"--origem", "--destino", "--ajustar-sequencias"}},
        {"comparison and adjustment",
         {"--conferir", "--ajustar-sequencias", "--tabelas", "clientes"},
         {"--origem", "--destino", "--sim"}},
        {"restore", {"--restaurar", "c.fbk", "--destino", "m.fdb"}, {"--sim", "--aceitar-copia-sem-registro"}},
        {"help", {"--help"}, {}},
        {"version", {"--version"}, {}},
    };
    for (const Command& command : commands) {
        for (const std::vector<std::string>& option : options) {
            if (std::find(command.base.begin(), command.base.end(), option.front()) != command.base.end()) continue;
            std::vector<std::string> arguments = command.base;
            arguments.insert(arguments.end(), option.begin(), option.end());
            SCOPED_TRACE(command.name + ": " + testing::PrintToString(arguments));
            if (command.takes.count(option.front()) != 0) {
                EXPECT_NO_THROW(batch::parseBatchOptions(arguments));
            } else {
                EXPECT_THROW(batch::parseBatchOptions(arguments), batch::UsageError);
            }
        }
    }
}

TEST(BatchOptions, RefusedCommandLinesSayWhatIsWrong) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "falta --tabelas"},
        {{"--sim", "--origem", "a.fdb"}, "falta --tabelas"},
        {{"--tabelas", "clientes,estoque"}, "tabela desconhecida: \"estoque\""},
        {{"--tabelas", "Clientes"}, "tabela desconhecida: \"Clientes\""},
        {{"--tabelas", "clientes, vendedores"}, "tabela desconhecida: \" vendedores\""},
        {{"--tabelas", "clientes,"}, "tabela desconhecida: \"\""},
        {{"--tabelas", ""}, "tabela desconhecida: \"\""},
        {{"--tabelas"}, "falta o valor de --tabelas"},
        {{"--tabelas", "clientes", "--destino"}, "falta o valor de --destino"},
        {{"--tabelas", "clientes", "--origem", "a.fdb", "--origem", "b.fdb"}, "opção repetida: --origem"},
        {{"--tabelas", "clientes", "--tabelas", "produtos"}, "opção repetida: --tabelas"},
        {{"--tabelas", "clientes", "--sim", "--sim"}, "opção repetida: --sim"},
        {{"--tabelas", "clientes", "-s"}, "opção desconhecida: -s"},
        {{"--tabelas=clientes"}, "opção desconhecida: --tabelas=clientes"},
        {{"--tabelas", "clientes", "merak.fdb"}, "opção desconhecida: merak.fdb"},
        // A comparison changes nothing: nothing to confirm, preview, undo or copy.
        {{"--conferir", "--tabelas", "clientes", "--sim"}, "--conferir aceita apenas --origem, --destino e --tabelas"},
        {{"--conferir", "--tabelas", "clientes", "--simular"},
         "--conferir aceita apenas --origem, --destino e --tabelas"},
        {{"--atomico", "--conferir", "--tabelas", "clientes"},
         "--conferir aceita apenas --origem, --destino e --tabelas"},
        {{"--conferir", "--tabelas", "clientes", "--sem-copia"},
         "--conferir aceita apenas --origem, --destino e --tabelas"},
        {{"--conferir", "--restaurar", "c.fbk", "--destino", "d.fdb"}, "--restaurar aceita apenas --destino e --sim"},
        {{"--conferir", "--conferir", "--tabelas", "clientes"}, "opção repetida: --conferir"},
        {{"--conferir", "--origem", "a.fdb"}, "falta --tabelas"},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        try {
            batch::parseBatchOptions(arguments);
            ADD_FAILURE() << "accepted";
        } catch (const batch::UsageError& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
}

struct PathCase {
    std::string settings;  // Config.ini's content; empty: no file
    std::optional<std::string> origem;
    std::optional<std::string> destino;
    DatabasePaths expected;
};

TEST(DatabasePaths, GivenPathsElseTheSettingsAsTheBoxesHoldThem) {
    // An absolute path and a relative one made absolute, in the platform's own spelling: "/" and
    // "/tmp/dados/x.fdb" on Linux, "C:\\" and "C:\\Temp\\dados\\x.fdb" on Windows.
    const std::string root = platform::utf8Path(std::filesystem::current_path().root_path());
    const std::string cwd = platform::utf8Path(std::filesystem::current_path());
    const std::string separator = platform::utf8Path(std::filesystem::path("/").make_preferred());
    const std::string settings =
        "[Bancos]\r\nOrigem=\"/dados/tavlo velho.fdb\"\r\nDestino=  /dados/me\"r\"ak.fdb  \r\n";
    const std::vector<PathCase> cases = {
        {"", std::nullopt, std::nullopt, {"", ""}},
        // The settings lose blanks around the value and every quotation mark.
        {settings, std::nullopt, std::nullopt, {"/dados/tavlo velho.fdb", "/dados/merak.fdb"}},
        // A given path wins, even empty, and is used as given: blanks and quotation marks too.
        {settings, root + "outro/a\"b/tavlo.fdb ", "", {root + "outro/a\"b/tavlo.fdb ", ""}},
        {"[Outra]\r\nOrigem=/x.fdb\r\n", std::nullopt, root + "m.fdb", {"", root + "m.fdb"}},
        // A relative path is named from the current folder; a bare name that is no file
        // there stays as it is, for the server to resolve as an alias.
        {"", "dados/tavlo.fdb", "merak", {cwd + separator + "dados" + separator + "tavlo.fdb", "merak"}},
        // A path that names its server keeps it; only its file part is made absolute.
        {"",
         "localhost/3050:dados/tavlo.fdb",
         "localhost/3051:" + root + "m.fdb",
         {"localhost/3050:" + cwd + separator + "dados" + separator + "tavlo.fdb", "localhost/3051:" + root + "m.fdb"}},
        {"[Bancos]\r\nDestino=localhost/3051:/dados/merak.fdb\r\n",
         std::nullopt,
         std::nullopt,
         {"", "localhost/3051:/dados/merak.fdb"}},
    };
    // A folder of this run's own, by a name no other run takes at the same time.
    const std::string folder =
        (std::filesystem::temp_directory_path() /
         ("tavlo-merak-settings-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())))
            .string();
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    const std::string path = folder + "/Config.ini";
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.settings);
        std::filesystem::remove(path);
        if (!c.settings.empty()) std::ofstream(path, std::ios::binary) << c.settings;
        BatchOptions options;
        options.origem = c.origem;
        options.destino = c.destino;
        const DatabasePaths paths = batch::databasePaths(options, path);
        EXPECT_EQ(paths.origem, c.expected.origem);
        EXPECT_EQ(paths.destino, c.expected.destino);
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
