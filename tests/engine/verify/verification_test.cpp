// The comparison of the destination with the source, after runs on databases of the test's
// own: what it finds, what it explains, and that it changes and blocks nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "copy_log.h"
#include "database_identity.h"
#include "import_fixture.h"
#include "run_lock.h"
#include "small_file_system.h"
#include "statement.h"
#include "test_connection.h"
#include "user_data_folder_setting.h"
#include "verification_run.h"

namespace {

using engine::CheckBox;
using engine::TableCheck;
using engine::VerificationReport;
using test_support::ImportFixture;
using test_support::readFile;
using test_support::schemaFile;
using test_support::ScriptedWindow;
using test_support::TestConnection;

const std::set<CheckBox> kAllTables = {CheckBox::Clientes, CheckBox::Fornec, CheckBox::Produtos, CheckBox::Vendedores};
const std::string kRepeated = "chave repetida na origem: a importação grava só a primeira";

// The sample databases after a run of every table without a safety copy.
struct SampleAfterRun {
    ImportFixture fixture{schemaFile("tavlo-sample-data.sql"), schemaFile("merak-sample-data.sql")};

    SampleAfterRun() {
        fixture.window.ticked = kAllTables;
        fixture.options.safetyCopy = false;
        fixture.importRun();
    }

    VerificationReport verify() {
        return engine::verifyDestination(
            fixture.programFolder, fixture.session.login,
            {fixture.source.path(), fixture.destination.path(), engine::tickedBoxes(kAllTables)}, fixture.window,
            fixture.window);
    }

    // Runs statements on the destination through an attachment of the test's own, committed.
    void change(const std::vector<std::string>& statements) const {
        TestConnection connection(fixture.destination.connectionString());
        connection.attachment.open();
        for (const std::string& sql : statements) {
            db::Statement statement("", connection.attachment, connection.transaction);
            statement.setText(sql);
            statement.execute();
        }
        connection.transaction.commit();
    }

    // Every row of the five tables and the four sequences.
    std::vector<ImportFixture::Rows> destinationContents() const {
        std::vector<ImportFixture::Rows> contents;
        for (const char* sql : {"SELECT * FROM CLIENTES ORDER BY CODIGO", "SELECT * FROM FORNECEDORES ORDER BY CODIGO",
                                "SELECT * FROM GRUPO ORDER BY ID_GRUPO", "SELECT * FROM PRODUTOS ORDER BY CODIGO",
                                "SELECT * FROM VENDEDOR ORDER BY VEN_CODIGO",
                                "SELECT GEN_ID(GEN_CODCLI, 0), GEN_ID(GEN_CODFOR, 0), GEN_ID(GEN_ID_GRUPO, 0), "
                                "GEN_ID(CODIGO_PRODUTO, 0) FROM RDB$DATABASE"})
            contents.push_back(fixture.destinationRows(sql));
        return contents;
    }
};

const TableCheck& tableOf(const VerificationReport& report, const std::string& name) {
    for (const TableCheck& table : report.tables)
        if (table.destinationTable == name) return table;
    throw std::runtime_error("no check of " + name);
}

std::map<std::string, std::string> missingOf(const TableCheck& table) {
    std::map<std::string, std::string> missing;
    for (const engine::MissingRow& row : table.missing) missing[row.key] = row.explanation;
    return missing;
}

std::string serverName(const test_support::TestDatabase& database) {
    TestConnection connection(database.connectionString());
    connection.attachment.open();
    return db::serverFileName(connection.attachment, connection.transaction);
}

TEST(Verification, AfterARunOnTheSampleEveryTableMatchesApartFromItsExplainedRefusalsAndNothingChanges) {
    SampleAfterRun sample;
    ASSERT_EQ(sample.fixture.report.end, engine::RunEnd::Finished);
    const auto before = sample.destinationContents();
    sample.fixture.window.events.clear();

    const VerificationReport report = sample.verify();

    ASSERT_TRUE(report.started);
    EXPECT_TRUE(report.matches()) << report.failure;
    const std::vector<std::string> order = {"CLIENTES", "FORNECEDORES", "GRUPO", "PRODUTOS", "VENDEDOR"};
    ASSERT_EQ(report.tables.size(), order.size());
    long long compared = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const TableCheck& table = report.tables[i];
        SCOPED_TRACE(order[i]);
        EXPECT_EQ(table.destinationTable, order[i]);
        EXPECT_EQ(table.failure, "");
        EXPECT_EQ(table.rowsDifferent, 0);
        EXPECT_EQ(table.rowsExtra, 0);
        EXPECT_EQ(table.rowsMissingUnexplained, 0);
        EXPECT_GT(table.rowsEqual, 0);
        compared += table.rowsEqual + table.rowsMissingExplained;
    }
    // Every source row was met: 110 read by the run.
    EXPECT_EQ(compared, 110);
    // The sample's refusals: a repeated client code and texts too long for their columns.
    const std::map<std::string, std::string> clientes = missingOf(tableOf(report, "CLIENTES"));
    ASSERT_EQ(clientes.size(), 3u);
    EXPECT_EQ(clientes.at("7"), kRepeated);
    // Each said as the outcome view says the refused row's cause, with its column.
    EXPECT_EQ(clientes.at("16"), "Texto longo demais para COMPL (máximo 50)");
    EXPECT_EQ(clientes.at("19"), "Texto longo demais para CEP (máximo 9)");
    EXPECT_EQ(missingOf(tableOf(report, "VENDEDOR")).at("7"), "Texto longo demais para VEN_NOME (máximo 50)");
    // The sequences and the highest keys.
    const TableCheck& produtos = tableOf(report, "PRODUTOS");
    EXPECT_EQ(produtos.sequenceName, "CODIGO_PRODUTO");
    EXPECT_EQ(produtos.sequenceValue, 32);
    EXPECT_EQ(produtos.highestKey, 32);
    EXPECT_FALSE(produtos.sequenceBehind());
    EXPECT_EQ(tableOf(report, "VENDEDOR").sequenceName, "");

    // Nothing in the destination changed, and nothing was asked.
    EXPECT_EQ(sample.destinationContents(), before);
    for (const std::string& event : sample.fixture.window.events)
        EXPECT_EQ(event.rfind("confirm", 0), std::string::npos);

    // conferencia.csv: UTF-8 with a byte-order mark, ";", one line per finding.
    EXPECT_EQ(report.csvPath, sample.fixture.programFolder + "conferencia.csv");
    const std::string csv = readFile(report.csvPath);
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBFTabela;Chave;Resultado;Coluna;Mapeamento;Destino;Explicação\r\n", 0), 0u);
    EXPECT_NE(csv.find("\r\nCLIENTES;7;ausente;;;;" + kRepeated + "\r\n"), std::string::npos) << csv;
}

TEST(Verification, RowsChangedDeletedOrAddedByHandAreFoundWithTheirKeysAndColumns) {
    SampleAfterRun sample;
    sample.change({"UPDATE CLIENTES SET NOME = 'Outro nome  ' WHERE CODIGO = 2",
                   "UPDATE CLIENTES SET CEP = NULL WHERE CODIGO = 3", "DELETE FROM PRODUTOS WHERE CODIGO = 4",
                   "INSERT INTO VENDEDOR (VEN_CODIGO, VEN_NOME, SUP_CODIGO) VALUES (99, 'Extra', 1)",
                   "UPDATE PRODUTOS SET PRECOCUSTO = 4.26 WHERE CODIGO = 1",
                   "UPDATE PRODUTOS SET DATAALTERACAO = CURRENT_DATE + 2 WHERE CODIGO = 2"});

    const VerificationReport report = sample.verify();

    ASSERT_TRUE(report.started);
    EXPECT_FALSE(report.matches());
    const TableCheck& clientes = tableOf(report, "CLIENTES");
    EXPECT_EQ(clientes.rowsDifferent, 2);
    ASSERT_EQ(clientes.differences.size(), 2u);
    EXPECT_EQ(clientes.differences[0].key, "2");
    EXPECT_EQ(clientes.differences[0].column, "NOME");
    EXPECT_EQ(clientes.differences[0].mapped, "Padaria Pão de Açúcar Ltda");
    EXPECT_EQ(clientes.differences[0].destination, "Outro nome");
    EXPECT_EQ(clientes.differences[1].key, "3");
    EXPECT_EQ(clientes.differences[1].column, "CEP");
    EXPECT_EQ(clientes.differences[1].mapped, "30180101");
    EXPECT_EQ(clientes.differences[1].destination, "(nulo)");

    const TableCheck& produtos = tableOf(report, "PRODUTOS");
    EXPECT_EQ(produtos.rowsMissingUnexplained, 1);
    EXPECT_EQ(missingOf(produtos).at("4"), "");
    ASSERT_EQ(produtos.differences.size(), 2u);
    EXPECT_EQ(produtos.differences[0].key, "1");
    EXPECT_EQ(produtos.differences[0].column, "PRECOCUSTO");
    // A "today" column set to a day after the comparison's own.
    EXPECT_EQ(produtos.differences[1].key, "2");
    EXPECT_EQ(produtos.differences[1].column, "DATAALTERACAO");

    const TableCheck& vendedores = tableOf(report, "VENDEDOR");
    EXPECT_EQ(vendedores.rowsExtra, 1);
    EXPECT_EQ(vendedores.extraKeys, std::vector<std::string>{"99"});
    EXPECT_FALSE(vendedores.matches());
    EXPECT_TRUE(tableOf(report, "FORNECEDORES").matches());

    const std::string csv = readFile(report.csvPath);
    for (const std::string line : {"CLIENTES;2;diferente;NOME;Padaria Pão de Açúcar Ltda;Outro nome;",
                                   "PRODUTOS;4;ausente;;;;", "VENDEDOR;99;excedente;;;;"})
        EXPECT_NE(csv.find("\r\n" + line + "\r\n"), std::string::npos) << line << "\n" << csv;
}

TEST(Verification, TodayColumnsMatchFromTheDayOfTheLastCopyOfThisDestinationToTheComparisonsDay) {
    SampleAfterRun sample;
    sample.change({"UPDATE PRODUTOS SET DATAALTERACAO = CURRENT_DATE - 1 WHERE CODIGO = 2",
                   "UPDATE FORNECEDORES SET DTCADASTRO = DATEADD(-3 DAY TO DTCADASTRO) WHERE CODIGO = 5"});
    // No copy recorded: the run may have been on any earlier day.
    EXPECT_TRUE(sample.verify().matches());

    // A copy of another destination today says nothing of this one; a copy of this one today
    // says that the run wrote today.
    const std::string log = sample.fixture.programFolder + engine::kCopyLogName;
    engine::appendCopyLog(log, {"/outro-x.fbk", 1, "/outro.fdb"}, std::time(nullptr));
    EXPECT_TRUE(sample.verify().matches());
    engine::appendCopyLog(log, {"/merak-x.fbk", 1, serverName(sample.fixture.destination)}, std::time(nullptr));
    const VerificationReport report = sample.verify();
    EXPECT_FALSE(report.matches());
    const TableCheck& produtos = tableOf(report, "PRODUTOS");
    ASSERT_EQ(produtos.differences.size(), 1u);
    EXPECT_EQ(produtos.differences[0].key, "2");
    EXPECT_EQ(produtos.differences[0].column, "DATAALTERACAO");
    const TableCheck& fornecedores = tableOf(report, "FORNECEDORES");
    ASSERT_EQ(fornecedores.differences.size(), 1u);
    EXPECT_EQ(fornecedores.differences[0].key, "5");
    EXPECT_EQ(fornecedores.differences[0].column, "DTCADASTRO");
}

// Sellers that a run refuses: 2 through a trigger (the server's text only), 4 for a name
// already in the destination (the server's codes name the column), 5 for a name too long for
// VEN_NOME (the import's own refusal).
struct SellersRefusedThreeWays {
    ImportFixture fixture{
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n"
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (2, 'Bia');\n"
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (3, 'Caio');\n"
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (4, 'Ana');\n"
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (5, '" +
            std::string(60, 'x') + "');\n",
        "ALTER TABLE VENDEDOR ADD CONSTRAINT VENDEDOR_NOME_UNICO UNIQUE (VEN_NOME);\n"
        "CREATE EXCEPTION RECUSA 'recusado pelo destino';\n"
        "SET TERM ^ ;\n"
        "CREATE TRIGGER RECUSA_VENDEDOR FOR VENDEDOR BEFORE INSERT AS BEGIN\n"
        "  IF (NEW.VEN_CODIGO = 2) THEN EXCEPTION RECUSA;\n"
        "END^\n"
        "SET TERM ; ^\n"};

    SellersRefusedThreeWays() {
        fixture.window.ticked = {CheckBox::Vendedores};
        fixture.options.safetyCopy = false;
        fixture.importRun();
    }

    VerificationReport verify() {
        return engine::verifyDestination(
            fixture.programFolder, fixture.session.login,
            {fixture.source.path(), fixture.destination.path(), engine::tickedBoxes({CheckBox::Vendedores})},
            fixture.window, fixture.window);
    }
};

TEST(Verification, AMissingRowIsExplainedByTheLastRunsLogOnlyWhileTheLogSaysSo) {
    SellersRefusedThreeWays sellers;
    ImportFixture& fixture = sellers.fixture;
    ASSERT_EQ(fixture.report.tables.at(0).rowsRefused, 3);

    const VerificationReport explained = sellers.verify();
    EXPECT_TRUE(explained.matches());
    const TableCheck& table = explained.tables.at(0);
    EXPECT_EQ(table.rowsEqual, 2);
    EXPECT_EQ(table.rowsMissingExplained, 3);
    const std::map<std::string, std::string> missing = missingOf(table);
    ASSERT_EQ(missing.size(), 3u);
    // The server's text only: the log's line, said to be the log's.
    EXPECT_EQ(missing.at("2").rfind("quorel.log: ", 0), 0u) << missing.at("2");
    // The server's codes named the column: the outcome view's cause.
    EXPECT_EQ(missing.at("4"), "Chave repetida (VEN_NOME)");
    EXPECT_EQ(missing.at("5"), "Texto longo demais para VEN_NOME (máximo 50)");

    // Seller 5 corrected in the source: the log's entry was the import's own refusal of a row
    // that is no longer there, and explains nothing.
    fixture.source.run("UPDATE VENDEDOR SET NOME = 'Eva' WHERE ID = 5;\nCOMMIT;\n");
    const VerificationReport corrected = sellers.verify();
    EXPECT_FALSE(corrected.matches());
    EXPECT_EQ(corrected.tables.at(0).rowsMissingUnexplained, 1);
    EXPECT_EQ(missingOf(corrected.tables.at(0)).at("5"), "");
    EXPECT_EQ(missingOf(corrected.tables.at(0)).at("4"), "Chave repetida (VEN_NOME)");

    // A log whose record names another destination, or has no record, explains nothing.
    const std::string record = fixture.programFolder + "quorel.log.origem-destino";
    const std::string recorded = readFile(record);
    const std::string destinationLine = "destino=" + serverName(fixture.destination) + "\r\n";
    ASSERT_NE(recorded.find(destinationLine), std::string::npos) << recorded;
    std::string foreign = recorded;
    foreign.replace(foreign.find(destinationLine), destinationLine.size(), "destino=/outro/merak.fdb\r\n");
    std::ofstream(record, std::ios::binary) << foreign;
    for (const bool withRecord : {true, false}) {
        SCOPED_TRACE(withRecord ? "another destination's record" : "no record");
        if (!withRecord) std::filesystem::remove(record);
        const VerificationReport unexplained = sellers.verify();
        EXPECT_FALSE(unexplained.matches());
        EXPECT_EQ(unexplained.tables.at(0).rowsMissingUnexplained, 3);
    }
    std::ofstream(record, std::ios::binary) << recorded;
    std::filesystem::remove(fixture.programFolder + "quorel.log");
    const VerificationReport unexplained = sellers.verify();
    EXPECT_FALSE(unexplained.matches());
    EXPECT_EQ(unexplained.tables.at(0).rowsMissingUnexplained, 3);
}

TEST(Verification, OnADestinationNobodyImportedIntoEachMissingKeyIsReportedOnce) {
    // Seller 1 twice in the source: the import would write the first.
    ImportFixture fixture(
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n"
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana de novo');\n"
        "INSERT INTO VENDEDOR (ID, NOME) VALUES (2, 'Bia');\n",
        "");
    const VerificationReport report = engine::verifyDestination(
        fixture.programFolder, fixture.session.login,
        {fixture.source.path(), fixture.destination.path(), engine::tickedBoxes({CheckBox::Vendedores})},
        fixture.window, fixture.window);

    ASSERT_TRUE(report.complete()) << report.failure;
    const TableCheck& table = report.tables.at(0);
    EXPECT_EQ(table.rowsMissingUnexplained, 2);
    EXPECT_EQ(table.rowsMissingExplained, 0);
    ASSERT_EQ(table.missing.size(), 2u);
    EXPECT_EQ(table.missing[0].key, "1");
    EXPECT_EQ(table.missing[1].key, "2");
    const std::string csv = readFile(report.csvPath);
    EXPECT_EQ(csv.find("VENDEDOR;1;ausente"), csv.rfind("VENDEDOR;1;ausente")) << csv;
}

TEST(Verification, AComparisonThatDidNotFinishIsIncompleteAndSaysWhatItComparedAndWhatNot) {
    const std::vector<std::string> order = {"CLIENTES", "FORNECEDORES", "GRUPO", "PRODUTOS", "VENDEDOR"};
    struct Case {
        const char* name;
        std::function<void(SampleAfterRun&)> fault;
        std::vector<std::string> complete;  // the tables compared to their end
        std::vector<std::string> reached;   // the tables begun
        bool stopped;
    };
    const std::vector<Case> cases = {
        {"a table missing in the destination",
         [](SampleAfterRun& sample) { sample.change({"DROP TABLE GRUPO"}); },
         {"CLIENTES", "FORNECEDORES", "PRODUTOS", "VENDEDOR"},
         order,
         false},
        {"a stop while comparing the suppliers",
         [](SampleAfterRun& sample) {
             ScriptedWindow& window = sample.fixture.window;
             window.onProcessMessages = [&window] {
                 if (!window.eventsStartingWith("status: Conferindo FORNECEDORES").empty()) window.stop = true;
             };
         },
         {"CLIENTES"},
         {"CLIENTES", "FORNECEDORES"},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SampleAfterRun sample;
        c.fault(sample);

        const VerificationReport report = sample.verify();

        ASSERT_TRUE(report.started);
        EXPECT_FALSE(report.complete());
        EXPECT_FALSE(report.matches());
        EXPECT_EQ(report.stopped, c.stopped);
        // Every chosen table is in the report, compared or not.
        ASSERT_EQ(report.tables.size(), order.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            const TableCheck& table = report.tables[i];
            SCOPED_TRACE(order[i]);
            EXPECT_EQ(table.destinationTable, order[i]);
            const bool complete = std::ranges::count(c.complete, order[i]) > 0;
            EXPECT_EQ(table.complete(), complete) << table.failure;
            EXPECT_EQ(table.reached, std::ranges::count(c.reached, order[i]) > 0);
            EXPECT_EQ(table.failure.empty(), complete);
            EXPECT_TRUE(!complete || table.matches());
        }
    }
}

TEST(Verification, ConferenciaCsvThatTheProgramFolderCannotHoldIsWholeInTheUserDataFolderOrTheComparisonIsIncomplete) {
    const test_support::SmallFileSystem disk(4 * 1024 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << "no full file system can be made here: " << disk.why();
    SampleAfterRun sample;
    // Findings enough for more than one block of the file.
    sample.change({"UPDATE CLIENTES SET NOME = 'Mudado ' || CODIGO"});
    const VerificationReport whole = sample.verify();
    ASSERT_TRUE(whole.complete());
    const std::string expected = readFile(whole.csvPath);
    ASSERT_GT(expected.size(), 1000u);

    const std::string programFolder = disk.folder() + "/programa/";
    std::filesystem::create_directory(programFolder);
    const std::string roomyData = sample.fixture.programFolder + "dados";
    struct Case {
        const char* name;
        std::string userData;
        bool complete;
    };
    for (const Case& c : {Case{"a user data folder with room", roomyData, true},
                          Case{"a user data folder on the full disk too", disk.folder() + "/dados", false}}) {
        SCOPED_TRACE(c.name);
        const test_support::UserDataFolderSetting userData(c.userData);
        disk.fillLeaving(0);

        const VerificationReport report = engine::verifyDestination(
            programFolder, sample.fixture.session.login,
            {sample.fixture.source.path(), sample.fixture.destination.path(), engine::tickedBoxes(kAllTables)},
            sample.fixture.window, sample.fixture.window);

        ASSERT_TRUE(report.started) << report.failure;
        EXPECT_FALSE(report.csvProgramFolderFailure.empty());
        EXPECT_EQ(report.complete(), c.complete);
        EXPECT_FALSE(report.matches());
        if (c.complete) {
            EXPECT_EQ(report.csvFailure, "");
            EXPECT_EQ(report.csvPath, c.userData + "/tavlo-merak/conferencia.csv");
            EXPECT_EQ(readFile(report.csvPath), expected);
            EXPECT_FALSE(std::filesystem::exists(programFolder + "conferencia.csv"));
        } else {
            EXPECT_NE(report.csvFailure, "");
        }
        std::filesystem::remove(disk.folder() + "/filler");
    }
}

TEST(Verification, ARefusedLoginIsAskedAgainAndTheTypedOneIsKeptForTheFrontEnd) {
    SampleAfterRun sample;
    sample.fixture.session.login = {std::nullopt, "errada"};
    sample.fixture.window.logins = {{"SYSDBA", "pinewheel"}};
    sample.fixture.window.events.clear();

    const VerificationReport report = sample.verify();

    EXPECT_TRUE(report.started) << report.failure;
    EXPECT_TRUE(report.matches()) << report.failure;
    EXPECT_EQ(sample.fixture.window.events.at(0), "login asked");
    EXPECT_EQ(sample.fixture.session.login.user, "SYSDBA");
    EXPECT_EQ(sample.fixture.session.login.password, "pinewheel");

    // Cancel in the login dialog: nothing is compared and the report says why.
    sample.fixture.session.login = {std::nullopt, "errada"};
    sample.fixture.window.events.clear();
    const VerificationReport cancelled = sample.verify();
    EXPECT_FALSE(cancelled.started);
    EXPECT_TRUE(cancelled.tables.empty());
    EXPECT_EQ(sample.fixture.window.events.at(0), "login asked");
}

TEST(Verification, IsRefusedWhileARunHoldsTheDestinationAndHoldsItWhileComparing) {
    SampleAfterRun sample;
    const std::string name = serverName(sample.fixture.destination);
    sample.fixture.window.boxes.clear();
    {
        const platform::DestinationLock otherRun(name);
        ASSERT_TRUE(otherRun.held());
        const VerificationReport refused = sample.verify();
        EXPECT_FALSE(refused.started);
        EXPECT_TRUE(refused.tables.empty());
        EXPECT_EQ(sample.fixture.window.boxes,
                  std::vector<std::string>{"warning: Outra importação está gravando neste banco de destino:\r\n" +
                                           name + "\r\nNada foi conferido. Tente de novo quando ela terminar."});
        EXPECT_FALSE(std::filesystem::exists(sample.fixture.programFolder + "conferencia.csv"));
    }
    bool heldWhileComparing = false;
    sample.fixture.window.onProcessMessages = [&] { heldWhileComparing = !platform::DestinationLock(name).held(); };
    EXPECT_TRUE(sample.verify().matches());
    EXPECT_TRUE(heldWhileComparing);
    EXPECT_TRUE(platform::DestinationLock(name).held());
}

TEST(Verification, BlocksNoUserOfTheDestinationAndSeesOnlyWhatIsCommitted) {
    SampleAfterRun sample;
    // A user's change not yet committed when the comparison starts.
    TestConnection user(sample.fixture.destination.connectionString());
    user.attachment.open();
    db::Statement pending("", user.attachment, user.transaction);
    pending.setText("UPDATE CLIENTES SET NOME = 'Pendente' WHERE CODIGO = 2");
    pending.execute();
    // Another user writes and commits while the comparison reads.
    bool otherUserWrote = false;
    sample.fixture.window.onProcessMessages = [&] {
        if (otherUserWrote) return;
        sample.change({"UPDATE VENDEDOR SET VEN_NOME = VEN_NOME WHERE VEN_CODIGO = 1"});
        otherUserWrote = true;
    };

    const VerificationReport report = sample.verify();

    EXPECT_TRUE(otherUserWrote);
    EXPECT_TRUE(report.matches()) << report.failure;
    user.transaction.commit();
    EXPECT_EQ(sample.fixture.destinationRows("SELECT NOME FROM CLIENTES WHERE CODIGO = 2"),
              (ImportFixture::Rows{{"Pendente"}}));
}

}  // namespace
