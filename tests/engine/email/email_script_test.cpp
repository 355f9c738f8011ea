#include "email_script.h"

#include <stdexcept>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "database_error.h"
#include "statement.h"
#include "test_connection.h"
#include "test_database.h"

namespace {

TEST(EmailScript, LineQuotesTheEmailAndWritesTheCodeAsAWholeNumber) {
    struct Case {
        const char* email;
        const char* code;
        const char* line;
    };
    const Case cases[] = {
        {"ana@loja.com.br", "7", "UPDATE CLIENTE SET CLIENTE.CLI_EMAIL='ana@loja.com.br' WHERE CLIENTE.CLI_CODIGO=7;"},
        {"d'arc@x.com", "0042", "UPDATE CLIENTE SET CLIENTE.CLI_EMAIL='d''arc@x.com' WHERE CLIENTE.CLI_CODIGO=42;"},
        {"", "  +15", "UPDATE CLIENTE SET CLIENTE.CLI_EMAIL='' WHERE CLIENTE.CLI_CODIGO=15;"},
        {"''", "-3", "UPDATE CLIENTE SET CLIENTE.CLI_EMAIL='''''' WHERE CLIENTE.CLI_CODIGO=-3;"},
        {"x@y", "$1F", "UPDATE CLIENTE SET CLIENTE.CLI_EMAIL='x@y' WHERE CLIENTE.CLI_CODIGO=31;"},
    };
    for (const Case& c : cases) EXPECT_EQ(engine::emailUpdateLine(c.email, c.code), c.line) << c.code;
}

TEST(EmailScript, ACodeThatIsNotAWholeNumberRaisesItsText) {
    for (const std::string code : {"", "12a", "12 ", "1.5", "99999999999"}) {
        try {
            engine::emailUpdateLine("x@y", code);
            ADD_FAILURE() << "no failure for " << code;
        } catch (const db::DatabaseError& failure) {
            EXPECT_EQ(std::string(failure.what()), "''" + code + "'' is not a valid integer value");
        }
    }
}

// A Tavlo source database with a CLIENTE table, read through a cursor of its own.
class EmailScriptSource : public testing::Test {
protected:
    test_support::TestDatabase database{
        "CREATE TABLE CLIENTE (CODIGO VARCHAR(10), NOME VARCHAR(40), EMAIL VARCHAR(80));"};
    test_support::TestConnection origem{database.connectionString(), test_support::kSourceParams, "IBDBOrigem"};
    db::Statement cursor{"IBQueryOrigem", origem.attachment, origem.transaction};

    std::vector<std::string> readLines(std::string& failure) {
        std::vector<std::string> lines;
        try {
            engine::readEmailScript(cursor, [&](const std::string& line) { lines.push_back(line); });
        } catch (const std::exception& raised) {
            failure = raised.what();
        }
        return lines;
    }
};

TEST_F(EmailScriptSource, OneLinePerClientInTheOrderOfTheRows) {
    database.run(
        "INSERT INTO CLIENTE VALUES ('0042', 'João', 'joão@café.com.br');"
        "INSERT INTO CLIENTE VALUES ('7', 'Sem e-mail', NULL);"
        "INSERT INTO CLIENTE VALUES ('8', 'Joana', 'd''arc@x.com');");
    // The cursor is used before by something else: the script replaces its statement.
    cursor.setText("SELECT NOME FROM CLIENTE");
    cursor.open();

    std::string failure;
    const std::vector<std::string> lines = readLines(failure);

    EXPECT_EQ(failure, "");
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "UPDATE CLIENTE SET CLIENTE.CLI_EMAIL='joão@café.com.br' WHERE CLIENTE.CLI_CODIGO=42;",
                         "UPDATE CLIENTE SET CLIENTE.CLI_EMAIL='' WHERE CLIENTE.CLI_CODIGO=7;",
                         "UPDATE CLIENTE SET CLIENTE.CLI_EMAIL='d''arc@x.com' WHERE CLIENTE.CLI_CODIGO=8;",
                     }));
}

TEST_F(EmailScriptSource, ANullCodeStopsTheScriptAfterTheLinesBeforeIt) {
    database.run(
        "INSERT INTO CLIENTE VALUES ('1', 'Um', 'um@x.com');"
        "INSERT INTO CLIENTE VALUES (NULL, 'Sem codigo', 'nulo@x.com');"
        "INSERT INTO CLIENTE VALUES ('3', 'Tres', 'tres@x.com');");
    std::string failure;
    const std::vector<std::string> lines = readLines(failure);

    EXPECT_EQ(failure, "'''' is not a valid integer value");
    EXPECT_EQ(lines,
              std::vector<std::string>{"UPDATE CLIENTE SET CLIENTE.CLI_EMAIL='um@x.com' WHERE CLIENTE.CLI_CODIGO=1;"});
}

TEST_F(EmailScriptSource, AnEmptyTableGivesNoLineAndAMissingTableRaises) {
    std::string failure;
    EXPECT_TRUE(readLines(failure).empty());
    EXPECT_EQ(failure, "");

    origem.attachment.close();
    database.run("DROP TABLE CLIENTE;");
    EXPECT_TRUE(readLines(failure).empty());
    EXPECT_NE(failure.find("CLIENTE"), std::string::npos) << failure;
}

TEST(EmailScriptFile, IsWrittenInWindows1252AndReplacesAnOlderOne) {
    QTemporaryDir folder;
    const std::string path = folder.path().toStdString() + "/UPDATE Email Clientes.SQL";
    engine::writeEmailScript(path, "uma linha mais longa\r\n");
    engine::writeEmailScript(path, "café\r\nç\r\n");
    EXPECT_EQ(test_support::readFile(path), "caf\xE9\r\n\xE7\r\n");

    engine::writeEmailScript(path, "");
    EXPECT_EQ(test_support::readFile(path), "");
}

TEST(EmailScriptFile, AFileThatCannotBeCreatedRaisesCannotCreateFile) {
    QTemporaryDir folder;
    const std::string path = folder.path().toStdString() + "/sem pasta/UPDATE Email Clientes.SQL";
    try {
        engine::writeEmailScript(path, "x\r\n");
        FAIL() << "no failure raised";
    } catch (const std::runtime_error& failure) {
        EXPECT_EQ(std::string(failure.what()), "Cannot create file \"" + path + "\". No such file or directory");
    }
}

}  // namespace
