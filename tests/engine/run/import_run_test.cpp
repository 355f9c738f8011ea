#include "import_run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <stdlib.h>

#include <filesystem>
#include <optional>

#include <fstream>
#include "import_fixture.h"
#include "user_data_folder_setting.h"

#include "run_log_file.h"

namespace {

using test_support::ImportFixture;
using test_support::readFile;
using Rows = ImportFixture::Rows;
using engine::CheckBox;

const std::string kConfirm =
    "confirm: Atenção os registros das tabelas marcadas serão apagadas e importadas: \r\nConfirma ?";
const std::string kLogPrompt = "confirm: Ocorreu erro durante a importação.\r\nDeseja visualiazar os erros?";

TEST(RunLogFile, EachEntryIsOnDiskAsItIsAppendedFollowedByCrLfInTheCodePage) {
    test_support::TestDatabase unused;  // only for a folder the test may write in
    const std::string folder = std::filesystem::path(unused.path()).parent_path().string() + "/";
    std::ofstream(folder + "quorel.log") << "an earlier run's entries, longer than this run's";
    engine::RunLogFile log(folder, "quorel.log");
    const std::vector<std::pair<std::string, std::string>> entries = {
        {"Erro na importação de PRODUTO no Registro 7\r\nfalha\r",
         "Erro na importa\xE7\xE3o de PRODUTO no Registro 7\r\nfalha\r\r\n"},
        {"linha\r\nfalha\r\n", "linha\r\nfalha\r\n\r\n"},
        {"fora da página: 日", "fora da p\xE1gina: ?\r\n"}};
    std::string expected;
    for (const auto& [entry, written] : entries) {
        log.append(entry);
        expected += written;
        EXPECT_EQ(readFile(folder + "quorel.log"), expected);
    }
    log.finish();
    EXPECT_EQ(log.entries(), entries.size());
    EXPECT_EQ(log.path(), folder + "quorel.log");
    EXPECT_EQ(log.programFolderFailure(), "");
    // The earlier run's file was readable by everyone; the log names customers: now it is not.
    struct stat status {};
    ASSERT_EQ(::stat((folder + "quorel.log").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);
}

TEST(ImportRun, NothingTickedShowsThePlainMessageAndConnectsNothing) {
    ImportFixture fixture("", "");
    fixture.importRun();
    EXPECT_EQ(fixture.window.boxes,
              std::vector<std::string>{"plain: Marque uma ou mais de uma tabela para ser importado!!"});
    EXPECT_FALSE(fixture.session.IBDatabaseDestino.isOpen());
    // The hidden boxes count too, even though they start no import.
    fixture.window.ticked = {CheckBox::Receber};
    fixture.window.boxes.clear();
    fixture.importRun();
    EXPECT_EQ(fixture.window.boxes,
              (std::vector<std::string>{kConfirm, "information: Importação finalizada com sucesso"}));
}

TEST(ImportRun, NoAnswerEmptiesNothingAndLeavesBothConnected) {
    ImportFixture fixture("INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');",
                          "INSERT INTO VENDEDOR (VEN_CODIGO, VEN_NOME) VALUES (9, 'Antigo');");
    fixture.window.ticked = {CheckBox::Vendedores};
    fixture.window.answers = {false};
    fixture.importRun();
    EXPECT_EQ(fixture.window.boxes, std::vector<std::string>{kConfirm});
    EXPECT_TRUE(fixture.session.IBDatabaseDestino.isOpen());
    EXPECT_TRUE(fixture.session.IBDBOrigem.isOpen());
    EXPECT_TRUE(fixture.session.IBTransactionFireBird.isActive());
    EXPECT_FALSE(fixture.window.importando);
    EXPECT_TRUE(fixture.window.eventsStartingWith("import enabled").empty());
    EXPECT_EQ(fixture.destinationRows("SELECT VEN_CODIGO FROM VENDEDOR"), (Rows{{"9"}}));
}

TEST(ImportRun, CleanRunEndsWithTheSuccessMessageInTheInformationStyle) {
    ImportFixture fixture("INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');", "");
    fixture.window.ticked = {CheckBox::Vendedores};
    bool flagDuringRun = false;
    bool buttonsDuringRun = true;
    fixture.window.onProcessMessages = [&] {
        flagDuringRun = fixture.window.importando;
        buttonsDuringRun = fixture.window.importEnabled || fixture.window.connectionTestEnabled;
    };
    fixture.importRun();

    EXPECT_TRUE(flagDuringRun);
    EXPECT_FALSE(buttonsDuringRun);
    EXPECT_EQ(fixture.window.boxes,
              (std::vector<std::string>{kConfirm, "information: Importação finalizada com sucesso"}));
    const std::vector<std::string>& events = fixture.window.events;
    // The end message comes before the status label and the gauge change.
    const std::vector<std::string> tail(events.end() - 4, events.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"information: Importação finalizada com sucesso",
                                              "status: Importação finalizada com sucesso", "import enabled: 1",
                                              "connection test enabled: 1"}));
    EXPECT_EQ(fixture.window.gauge.position(), 0);
    EXPECT_FALSE(fixture.session.IBDatabaseDestino.isOpen());
    EXPECT_TRUE(fixture.session.IBDBOrigem.isOpen());
    EXPECT_FALSE(fixture.window.importando);
    EXPECT_FALSE(std::filesystem::exists(fixture.programFolder + "quorel.log"));
    EXPECT_EQ(fixture.destinationRows("SELECT VEN_CODIGO FROM VENDEDOR"), (Rows{{"1"}}));
}

TEST(ImportRun, RefusedRowsAreSavedOfferedAndTheRunEndsWithErrors) {
    ImportFixture fixture(
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n"
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Bia');",
        "");
    fixture.window.ticked = {CheckBox::Vendedores};
    fixture.window.answers = {true, true};
    fixture.importRun();

    EXPECT_EQ(readFile(fixture.programFolder + "quorel.log"),
              "Erro na importa\xE7\xE3o de VENDEDOR no Registro 1\r\n"
              "violation of PRIMARY or UNIQUE KEY constraint \"PK_VENDEDOR\" on table \"VENDEDOR\"\r\n"
              "Problematic key value is (\"VEN_CODIGO\" = 1)\r\n\r\n");
    EXPECT_EQ(fixture.window.boxes,
              (std::vector<std::string>{kConfirm, kLogPrompt, "warning: Importação finalizada com erros"}));
    EXPECT_EQ(fixture.window.eventsStartingWith("open: "),
              std::vector<std::string>{"open: quorel.log in " + fixture.programFolder});
    EXPECT_EQ(fixture.window.eventsStartingWith("status: ").back(), "status: Importação finalizada com erros");

    // A second run without refusals leaves the earlier file as it was.
    fixture.source.run("DELETE FROM VENDEDOR WHERE NOME = 'Bia';");
    const std::string before = readFile(fixture.programFolder + "quorel.log");
    fixture.window.boxes.clear();
    fixture.importRun();
    EXPECT_EQ(fixture.window.boxes,
              (std::vector<std::string>{kConfirm, "information: Importação finalizada com sucesso"}));
    EXPECT_EQ(readFile(fixture.programFolder + "quorel.log"), before);
}

TEST(ImportRun, BothLogsAreSavedAndOfferedErrorsFirst) {
    ImportFixture fixture(
        "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (1, 'Ana');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (1, 'Ana Maria');\n"
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Bia');\n"
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Bia de novo');",
        "");
    fixture.window.ticked = {CheckBox::Clientes, CheckBox::Vendedores};
    fixture.window.answers = {true, false, true};  // the run, quorel.log, quorel2.log
    fixture.importRun();

    EXPECT_EQ(fixture.window.boxes,
              (std::vector<std::string>{kConfirm, kLogPrompt, kLogPrompt, "warning: Importação finalizada com erros"}));
    EXPECT_EQ(fixture.window.eventsStartingWith("open: "),
              std::vector<std::string>{"open: quorel2.log in " + fixture.programFolder});
    EXPECT_EQ(readFile(fixture.programFolder + "quorel2.log"), "Cod. Cliente: 1 Nome Cliente: Ana Maria\r\n");
    EXPECT_EQ(readFile(fixture.programFolder + "quorel.log")
                  .rfind("Erro na importa\xE7\xE3o de VENDEDOR no Registro 1\r\n", 0),
              0u);
}

TEST(ImportRun, TableLevelFailureAloneStillEndsWithErrors) {
    ImportFixture fixture("INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');", "DROP TABLE VENDEDOR;");
    fixture.window.ticked = {CheckBox::Vendedores};
    fixture.importRun();
    ASSERT_EQ(fixture.window.boxes.size(), 3u);
    EXPECT_EQ(fixture.window.boxes[1].rfind("plain: Falha na importação da tabela de Vendedores, Falha: \r\n", 0), 0u);
    EXPECT_EQ(fixture.window.boxes[2], "warning: Importação finalizada com erros");
}

TEST(ImportRun, LogThatTheProgramFolderCannotTakeGoesToTheUserDataFolderAndIsNamed) {
    ImportFixture fixture(
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n"
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Bia');",
        "");
    std::filesystem::create_directory(fixture.programFolder + "quorel.log");  // cannot be opened as a file
    fixture.window.ticked = {CheckBox::Vendedores};
    const std::string data = fixture.programFolder + "dados";
    const test_support::UserDataFolderSetting userData(data);
    fixture.window.answers = {true, true};
    fixture.importRun();

    const std::string fallback = data + "/tavlo-merak/quorel.log";
    EXPECT_EQ(readFile(fallback).rfind("Erro na importa\xE7\xE3o de VENDEDOR no Registro 1\r\n", 0), 0u);
    ASSERT_EQ(fixture.window.boxes.size(), 4u);
    EXPECT_EQ(
        fixture.window.boxes[1].rfind("warning: Cannot create file \"" + fixture.programFolder + "quorel.log\". ", 0),
        0u)
        << fixture.window.boxes[1];
    const std::string named = "\r\nOs registros deste log estão em: " + fallback;
    EXPECT_EQ(fixture.window.boxes[1].substr(fixture.window.boxes[1].size() - named.size()), named);
    EXPECT_EQ(fixture.window.boxes[2], kLogPrompt);
    EXPECT_EQ(fixture.window.boxes[3], "warning: Importação finalizada com erros");
    EXPECT_EQ(fixture.window.eventsStartingWith("open: "),
              std::vector<std::string>{"open: quorel.log in " + data + "/tavlo-merak/"});
}

TEST(ImportRun, LogThatNoFolderCanTakeIsReportedAfterLeavingTheWindowUsable) {
    ImportFixture fixture(
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n"
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Bia');",
        "");
    std::filesystem::create_directory(fixture.programFolder + "quorel.log");
    std::ofstream(fixture.programFolder + "arquivo") << "not a folder";
    const test_support::UserDataFolderSetting userData(fixture.programFolder + "arquivo");
    fixture.window.ticked = {CheckBox::Vendedores};
    const engine::RunReport& report = fixture.importRun();
    EXPECT_EQ(report.end, engine::RunEnd::Failed) << "the unwritable log was not reported";
    EXPECT_EQ(report.failure.rfind("Cannot create file \"" + fixture.programFolder + "quorel.log\". ", 0), 0u)
        << report.failure;
    EXPECT_FALSE(fixture.window.importando);
    EXPECT_TRUE(fixture.window.importEnabled);
    EXPECT_TRUE(fixture.window.connectionTestEnabled);
}

// Both logs lost: the failure names each of them with the entries it lost.
TEST(ImportRun, EachLogThatNoFolderCanTakeIsNamedWithTheEntriesItLost) {
    ImportFixture fixture(
        "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (1, 'Ana');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (1, 'Ana de novo');\n"
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n"
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Bia');\n"
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Carla');",
        "");
    std::filesystem::create_directory(fixture.programFolder + "quorel.log");
    std::filesystem::create_directory(fixture.programFolder + "quorel2.log");
    std::ofstream(fixture.programFolder + "arquivo") << "not a folder";
    const test_support::UserDataFolderSetting userData(fixture.programFolder + "arquivo");
    fixture.window.ticked = {CheckBox::Clientes, CheckBox::Vendedores};
    const engine::RunReport& report = fixture.importRun();
    ASSERT_EQ(report.end, engine::RunEnd::Failed);
    EXPECT_EQ(report.failure.rfind("Cannot create file \"" + fixture.programFolder + "quorel.log\". ", 0), 0u)
        << report.failure;
    EXPECT_NE(report.failure.find("\r\nquorel.log: 2 registros perdidos, nenhuma pasta aceitou o arquivo"),
              std::string::npos)
        << report.failure;
    EXPECT_NE(report.failure.find("\r\nquorel2.log: 1 registro perdido, nenhuma pasta aceitou o arquivo"),
              std::string::npos)
        << report.failure;
    ASSERT_EQ(report.logs.size(), 2u);
    EXPECT_EQ(report.logs[0].lostEntries, 2u);
    EXPECT_EQ(report.logs[1].lostEntries, 1u);
}

TEST(ImportRun, EachBoxIsReadWhenTheRunReachesItsTable) {
    ImportFixture fixture(
        "INSERT INTO GRUPOS (ID, DESCRICAO) VALUES (1, 'A');\n"
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');",
        "");
    fixture.window.ticked = {CheckBox::Produtos, CheckBox::Vendedores};
    fixture.window.onProcessMessages = [&] { fixture.window.ticked.erase(CheckBox::Vendedores); };
    fixture.importRun();
    EXPECT_EQ(fixture.window.eventsStartingWith("status: Importando"),
              (std::vector<std::string>{"status: Importando Grupos", "status: Importando Produtos"}));
    EXPECT_TRUE(fixture.destinationRows("SELECT * FROM VENDEDOR").empty());
}

}  // namespace
