#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <future>
#include <limits>

#include "accented_folder.h"
#include "attachment.h"
#include "client_library.h"
#include "database_error.h"
#include "statement.h"
#include "test_connection.h"
#include "test_database.h"
#include "test_user.h"
#include "transaction.h"

namespace {

using test_support::TestDatabase;

using test_support::kDestinationParams;
using Connection = test_support::TestConnection;

std::string failureText(const std::function<void()>& action) {
    try {
        action();
    } catch (const db::DatabaseError& e) {
        return e.text();
    }
    return "<no failure>";
}

std::string scalar(db::Attachment& attachment, db::Transaction& transaction, const std::string& sql) {
    db::Statement query("Query", attachment, transaction);
    query.setText(sql);
    query.open();
    return query.column(0).isNull() ? "<null>" : query.column(0).asText();
}

const char* const kTables =
    "CREATE TABLE PESSOA (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(15));\n"
    "CREATE TABLE TIPOS (C CHAR(5), V VARCHAR(10), S SMALLINT, I INTEGER, B BIGINT, N NUMERIC(18,2),\n"
    "  N4 NUMERIC(9,4), D DOUBLE PRECISION, DT DATE, TS TIMESTAMP);\n"
    "INSERT INTO TIPOS VALUES ('ab', ' 42', -3, 12345, 9000000000, 17.00, 2.5000, 2.5, '2021-03-04',"
    " '2019-05-05 14:10:00');\n"
    "INSERT INTO TIPOS VALUES (NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL);\n"
    "INSERT INTO TIPOS (C, N, N4, D) VALUES ('Ação', 1.50, 3.5000, 3.5);\n";

class AccessLayer : public testing::Test {
protected:
    TestDatabase database{kTables};
    Connection connection{database.connectionString()};
};

TEST(ClientLibrary, MissingLibraryGivesTheNotFoundText) {
    EXPECT_EQ(failureText([] { db::bindClientLibrary("libfbclient-missing.so.2"); }),
              "Firebird client library libfbclient-missing.so.2 not found in the path. Please install the Firebird "
              "client to use this functionality");
    EXPECT_NO_THROW(db::clientLibrary());
}

TEST_F(AccessLayer, AttachReadsTheDialectAndTheCharacterSetAsWritten) {
    connection.attachment.open();
    EXPECT_TRUE(connection.attachment.isOpen());
    EXPECT_EQ(connection.attachment.databaseDialect(), 3);
    EXPECT_EQ(connection.attachment.characterSet(), "ISO8859_1 ");
    EXPECT_EQ(failureText([&] { connection.attachment.setConnectionString("x"); }),
              "Cannot perform operation -- DB is currently open");
    connection.attachment.close();
    EXPECT_FALSE(connection.attachment.isOpen());
    EXPECT_EQ(connection.attachment.databaseDialect(), 1);
}

TEST(AccessLayerDialect, RequestedDialectIsLoweredForADialectOneDatabase) {
    TestDatabase old("CREATE TABLE T (A INTEGER);", 1);
    Connection connection(old.connectionString());
    connection.attachment.open();
    EXPECT_EQ(connection.attachment.databaseDialect(), 1);
    EXPECT_EQ(connection.attachment.sqlDialect(), 1);
    EXPECT_EQ(failureText([&] { connection.attachment.setSqlDialect(3); }), "SQL Dialect Invalid");
    db::Statement insert("Insert", connection.attachment, connection.transaction);
    insert.setText("INSERT INTO T VALUES (1)");
    EXPECT_NO_THROW(insert.execute());
}

TEST_F(AccessLayer, TransactionOverTwoAttachmentsIsCommittedByClosingEither) {
    TestDatabase other{"CREATE TABLE PESSOA (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(15));"};
    for (int closeFirst : {0, 1}) {
        Connection source(other.connectionString(), test_support::kSourceParams, "Origem");
        // The destination's transaction also spans the source attachment, as after connecting.
        source.attachment.setDefaultTransaction(&connection.transaction);
        ASSERT_EQ(connection.transaction.attachments().size(), 2u);
        EXPECT_EQ(source.attachment.transactions().size(), 2u);
        connection.attachment.open();
        source.attachment.open();
        connection.transaction.start();
        db::Statement toDestination("A", connection.attachment, connection.transaction);
        db::Statement toSource("B", source.attachment, connection.transaction);
        const std::string id = std::to_string(10 + closeFirst);
        toDestination.setText("INSERT INTO PESSOA VALUES (" + id + ", 'd')");
        toSource.setText("INSERT INTO PESSOA VALUES (" + id + ", 's')");
        toDestination.execute();
        toSource.execute();
        if (closeFirst == 0) {
            source.attachment.close();
        } else {
            connection.attachment.close();
        }
        EXPECT_FALSE(connection.transaction.isActive());
        connection.attachment.close();
        source.attachment.close();

        Connection checkDestination(database.connectionString(), kDestinationParams, "C1");
        Connection checkSource(other.connectionString(), kDestinationParams, "C2");
        const std::string where = "SELECT NOME FROM PESSOA WHERE ID = " + id;
        EXPECT_EQ(scalar(checkDestination.attachment, checkDestination.transaction, where), "d");
        EXPECT_EQ(scalar(checkSource.attachment, checkSource.transaction, where), "s");
        source.attachment.setDefaultTransaction(nullptr);
    }
}

// Only an explicit call commits: a transaction dropped while active rolls back, and closing
// the attachment ends it with its close action, a commit unless set to a rollback.
TEST_F(AccessLayer, OnlyAnExplicitCommitOrTheCommitCloseActionKeepsTheRows) {
    enum class End { Dropped, ClosedWithCommitAction, ClosedWithRollbackAction };
    const std::pair<End, const char*> cases[] = {
        {End::Dropped, "<none>"}, {End::ClosedWithCommitAction, "Ana"}, {End::ClosedWithRollbackAction, "<none>"}};
    int id = 20;
    for (const auto& [end, expected] : cases) {
        SCOPED_TRACE(expected);
        const std::string key = std::to_string(++id);
        {
            Connection writer(database.connectionString(), kDestinationParams, "Escritor");
            if (end == End::ClosedWithRollbackAction) writer.transaction.setCloseAction(db::CloseAction::Rollback);
            db::Statement insert("I", writer.attachment, writer.transaction);
            insert.setText("INSERT INTO PESSOA (ID, NOME) VALUES (" + key + ", 'Ana')");
            insert.execute();
            if (end != End::Dropped) writer.attachment.close();
            // Dropped: the connection goes away here with its transaction still active.
        }
        Connection reader(database.connectionString(), kDestinationParams, "Leitor");
        const std::string found = scalar(reader.attachment, reader.transaction,
                                         "SELECT COALESCE(MAX(NOME), '<none>') FROM PESSOA WHERE ID = " + key);
        EXPECT_EQ(found, expected);
    }
}

TEST_F(AccessLayer, DuplicateKeyFailureIsTheServerLinesJoinedWithoutFinalPeriod) {
    db::Statement insert("IBQueryFireBird", connection.attachment, connection.transaction);
    insert.setText("INSERT INTO PESSOA (ID, NOME) VALUES (:ID, :NOME)");
    insert.param("id").setInteger(1);
    insert.param("NOME").setText("Ana");
    insert.execute();
    try {
        insert.execute();
        FAIL() << "a duplicate key was accepted";
    } catch (const db::DatabaseError& e) {
        const std::string text = e.text();
        EXPECT_NE(text.find("PRIMARY or UNIQUE KEY constraint"), std::string::npos) << text;
        EXPECT_NE(text.find("\r\n"), std::string::npos);
        EXPECT_EQ(text.find("\n\r\n"), std::string::npos);
        EXPECT_NE(text.back(), '.');
        EXPECT_EQ(text.find("SQLCODE"), std::string::npos);
        EXPECT_EQ(e.sqlCode(), -803);
        EXPECT_EQ(e.errorCode(), isc_unique_key_violation);
    }
    // The failed statement left the transaction and the prepared statement usable.
    insert.param("ID").setInteger(2);
    EXPECT_NO_THROW(insert.execute());
    EXPECT_NO_THROW(connection.transaction.commitRetaining());
}

TEST_F(AccessLayer, TextLongerThanTheDescribedParameterFailsBeforeTheServer) {
    db::Statement insert("IBQueryFireBird", connection.attachment, connection.transaction);
    insert.setText("INSERT INTO PESSOA (ID, NOME) VALUES (:ID, :NOME)");
    insert.param("ID").setInteger(1);
    insert.param("NOME").setText(std::string(16, 'x'));
    EXPECT_EQ(failureText([&] { insert.execute(); }),
              "Trying to store a string of length 16 into a field that can only contain 15");
    insert.param("NOME").setText("çççççççççççççç!");  // 15 characters, 15 bytes in the code page
    EXPECT_NO_THROW(insert.execute());
    EXPECT_EQ(scalar(connection.attachment, connection.transaction, "SELECT NOME FROM PESSOA"), "çççççççççççççç!");
}

TEST_F(AccessLayer, ColumnReadsByTypeAndRequestedForm) {
    db::Statement query("IBQueryOrigem", connection.attachment, connection.transaction);
    query.setText("SELECT * FROM TIPOS");
    query.open();
    auto text = [&](const char* name) { return query.column(name).asText(); };
    auto integer = [&](const char* name) { return query.column(name).asInteger(); };
    auto real = [&](const char* name) { return query.column(name).asDouble(); };

    EXPECT_EQ(text("C"), "ab   ");  // CHAR keeps its trailing blanks
    EXPECT_EQ(text("v"), " 42");
    EXPECT_EQ(integer("V"), 42);
    EXPECT_EQ(text("S"), "-3");
    EXPECT_EQ(integer("I"), 12345);
    EXPECT_EQ(text("B"), "9000000000");
    EXPECT_EQ(text("N"), "17");
    EXPECT_EQ(integer("N4"), 2);
    EXPECT_DOUBLE_EQ(real("N"), 17.0);
    EXPECT_EQ(integer("D"), 2);
    EXPECT_EQ(text("DT"), "04/03/2021");
    EXPECT_EQ(query.column("DT").asDateTime(), db::DateTime::fromCivil(2021, 3, 4));
    EXPECT_EQ(query.column("TS").asDateTime(), db::DateTime::fromCivil(2019, 5, 5, 14, 10));
    EXPECT_DOUBLE_EQ(real("DT"), db::DateTime::fromCivil(2021, 3, 4).serial());
    EXPECT_EQ(failureText([&] { query.column("NOPE"); }), "IBQueryOrigem: Field 'NOPE' not found");
    EXPECT_EQ(failureText([&] { integer("C"); }), "''ab   '' is not a valid integer value");

    query.next();  // the row of nulls
    for (const char* name : {"C", "V", "S", "I", "N", "D", "DT", "TS"}) EXPECT_EQ(text(name), "") << name;
    for (const char* name : {"S", "I", "B", "N", "D"}) EXPECT_EQ(integer(name), 0) << name;
    EXPECT_DOUBLE_EQ(real("N"), 0.0);
    EXPECT_EQ(query.column("DT").asDateTime(), db::DateTime{});
    EXPECT_EQ(query.column("TS").asDateTime().day, 0);
    EXPECT_EQ(failureText([&] { integer("C"); }), "'''' is not a valid integer value");
    EXPECT_THROW(real("V"), db::DatabaseError);

    query.next();
    EXPECT_EQ(text("C"), "Ação ");
    EXPECT_EQ(text("N"), "1,5");
    EXPECT_EQ(integer("N4"), 4);  // 3.5 rounds to the even neighbour
    EXPECT_EQ(integer("D"), 4);
}

// Firebird 4.0 answers aggregates over BIGINT and NUMERIC(18) as INT128 and the time of the
// server and its MON$ tables WITH TIME ZONE, which this client library cannot describe: the
// attachment asks it for the older types, and the same statements read alike on every server.
TEST_F(AccessLayer, AggregatesTimesAndMonitoringTablesReadOnEveryServer) {
    connection.attachment.open();
    struct Case {
        std::string sql;
        std::string value;  // empty: any value but null
    };
    const std::vector<Case> cases = {
        {"SELECT SUM(B) FROM TIPOS", "9000000000"},
        {"SELECT SUM(N) FROM TIPOS", "18,5"},
        {"SELECT AVG(B) FROM TIPOS", "9000000000"},
        {"SELECT COUNT(*) FROM TIPOS", "3"},
        {"SELECT CAST(SUM(N) * 2 AS NUMERIC(18,2)) FROM TIPOS", "37"},
        {"SELECT CURRENT_TIMESTAMP FROM RDB$DATABASE", ""},
        {"SELECT CURRENT_TIME FROM RDB$DATABASE", ""},
        {"SELECT MON$CREATION_DATE FROM MON$DATABASE", ""},
        {"SELECT MAX(MON$TIMESTAMP) FROM MON$ATTACHMENTS", ""},
        {"SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        const std::string value = failureText([&] {
            const std::string read = scalar(connection.attachment, connection.transaction, c.sql);
            throw db::DatabaseError("read: " + read);
        });
        if (c.value.empty()) {
            EXPECT_EQ(value.rfind("read: ", 0), 0u) << value;
            EXPECT_NE(value, "read: <null>");
        } else {
            EXPECT_EQ(value, "read: " + c.value);
        }
    }
    const db::ServerVersion version = connection.attachment.serverVersion();
    EXPECT_GE(version.major, 3) << version.text();
    EXPECT_EQ(scalar(connection.attachment, connection.transaction,
                     "SELECT RDB$GET_CONTEXT('SYSTEM', 'ENGINE_VERSION') FROM RDB$DATABASE"),
              version.text());
}

TEST_F(AccessLayer, CursorPositionFlagsAndRecordCount) {
    db::Statement query("IBQueryOrigem", connection.attachment, connection.transaction);
    query.setText("SELECT ID, NOME FROM PESSOA");
    query.open();
    EXPECT_EQ(query.recordCount(), 0);
    EXPECT_TRUE(query.isEmpty());
    query.first();
    EXPECT_TRUE(query.eof());
    EXPECT_EQ(query.column("NOME").asText(), "");

    db::Statement insert("Insert", connection.attachment, connection.transaction);
    insert.setText("INSERT INTO PESSOA VALUES (7, 'Sete')");
    insert.execute();
    query.close();
    query.open();
    EXPECT_EQ(query.recordCount(), 1);
    query.first();
    EXPECT_FALSE(query.eof());
    EXPECT_TRUE(query.bof());
    query.next();
    EXPECT_TRUE(query.eof());
    EXPECT_FALSE(query.isEmpty());
    EXPECT_EQ(query.column("NOME").asText(), "Sete");
    EXPECT_EQ(query.column("ID").asInteger(), 7);
    query.next();  // no effect at the end
    EXPECT_EQ(query.recordCount(), 1);
    EXPECT_EQ(failureText([&] { query.execute(); }), "IBQueryOrigem: Cannot perform this operation on an open dataset");
}

TEST_F(AccessLayer, CursorKeepsOnlyTheCurrentRowAndCannotGoBack) {
    db::Statement insert("Insert", connection.attachment, connection.transaction);
    insert.setText("INSERT INTO PESSOA VALUES (:ID, 'x')");
    for (int id = 1; id <= 3; ++id) {
        insert.param("ID").setInteger(id);
        insert.execute();
    }
    db::Statement query("IBQueryOrigem", connection.attachment, connection.transaction);
    query.setText("SELECT ID FROM PESSOA ORDER BY ID");
    query.open();
    query.first();  // right after open, first stands on the first row
    EXPECT_EQ(query.column("ID").asInteger(), 1);
    int seen = 0;
    for (; !query.eof(); query.next()) ++seen;
    EXPECT_EQ(seen, 3);
    EXPECT_EQ(query.recordCount(), 3);
    EXPECT_EQ(query.column("ID").asInteger(), 3);
    EXPECT_THROW(query.first(), db::DatabaseError);
}

TEST_F(AccessLayer, ParametersKeepTheirValuesAcrossTextChanges) {
    db::Statement statement("IBQueryFireBird", connection.attachment, connection.transaction);
    statement.setText("INSERT INTO PESSOA (ID, NOME) VALUES (:ID, :NOME)");
    statement.param("ID").setInteger(5);
    statement.param("NOME").setText("Cinco");
    statement.setText("INSERT INTO PESSOA (NOME, ID) VALUES (:nome, :Id)");
    statement.execute();
    EXPECT_EQ(scalar(connection.attachment, connection.transaction, "SELECT ID || NOME FROM PESSOA"), "5Cinco");
    EXPECT_EQ(failureText([&] { statement.param("CODIGO"); }), "IBQueryFireBird: Parameter 'CODIGO' not found");
    EXPECT_EQ(statement.text(), "INSERT INTO PESSOA (NOME, ID) VALUES (:nome, :Id)\r\n");
}

TEST_F(AccessLayer, BadInputGivesClearFailuresAndLeavesObjectsUsable) {
    db::Statement statement("IBQueryFireBird", connection.attachment, connection.transaction);
    EXPECT_EQ(failureText([&] { statement.execute(); }), "Empty SQL Statement");
    statement.setText("x");
    statement.clearText();
    EXPECT_EQ(failureText([&] { statement.execute(); }), "Empty SQL Statement");
    statement.setText("");
    EXPECT_EQ(failureText([&] { statement.execute(); }), "Empty SQL Statement");
    EXPECT_EQ(failureText([&] { statement.open(); }), "Empty SQL Statement");
    statement.setText(" ");
    EXPECT_NE(failureText([&] { statement.execute(); }).find("Unexpected end of command"), std::string::npos);
    statement.setText("SELEC nothing");
    EXPECT_NE(failureText([&] { statement.execute(); }).find("Token unknown"), std::string::npos);
    statement.setText("INSERT INTO PESSOA VALUES (1, 'ok')");
    EXPECT_NO_THROW(statement.execute());

    struct Case {
        std::string connectionString;
        std::vector<std::string> params;
        std::string expected;  // a part of the server's text
    };
    for (const Case& c : std::vector<Case>{
             {"localhost:/nonexistent/folder/none.fdb", kDestinationParams, "I/O error"},
             {database.connectionString(), {"user_name=SYSDBA", "password=wrong"}, "password"},
             {"localhost/3999:" + database.path(), kDestinationParams, "localhost"},
             {"", kDestinationParams, "Database name is missing"},
         }) {
        Connection bad(c.connectionString, c.params, "Bad");
        const std::string text = failureText([&] { bad.attachment.open(); });
        EXPECT_NE(text.find(c.expected), std::string::npos) << text;
        EXPECT_FALSE(bad.attachment.isOpen());
        // The same object opens once it is given what it needs.
        bad.attachment.setConnectionString(database.connectionString());
        bad.attachment.setParams(kDestinationParams);
        EXPECT_NO_THROW(bad.attachment.open());
    }

    Connection unknownParam(database.connectionString(), {"user=SYSDBA"}, "Bad");
    EXPECT_EQ(failureText([&] { unknownParam.attachment.open(); }), "DPB Constant (user) is unknown");

    db::Transaction lonely("Lonely");
    EXPECT_EQ(failureText([&] { lonely.start(); }), "No databases are listed in transaction component");
    EXPECT_EQ(failureText([&] { lonely.commit(); }), "Transaction is not active");
    ASSERT_TRUE(connection.transaction.isActive());  // started by the first execution
    EXPECT_EQ(failureText([&] { connection.transaction.start(); }), "Transaction is active");
}

TEST_F(AccessLayer, LostConnectionClosesTheAttachmentAndRaises) {
    db::Statement query("IBQueryOrigem", connection.attachment, connection.transaction);
    query.setText("SELECT COUNT(*) FROM PESSOA");
    query.open();
    query.close();
    const std::string gfix = "gfix -user SYSDBA -password pinewheel ";
    ASSERT_EQ(std::system((gfix + "-shut full -force 0 " + database.connectionString()).c_str()), 0);

    // The server drops the attachment; the next calls fail at once and the one that sees the
    // broken connection closes the attachment.
    auto attempts = std::async(std::launch::async, [&] {
        std::string last;
        for (int i = 0; i < 5 && connection.attachment.isOpen(); ++i)
            last = failureText([&] {
                query.open();
                query.close();
            });
        return last;
    });
    ASSERT_EQ(attempts.wait_for(std::chrono::seconds(60)), std::future_status::ready) << "a call hung";
    const std::string last = attempts.get();
    EXPECT_FALSE(connection.attachment.isOpen()) << last;
    EXPECT_FALSE(connection.transaction.isActive());
    EXPECT_NE(last, "<no failure>");

    ASSERT_EQ(std::system((gfix + "-online " + database.connectionString()).c_str()), 0);
    EXPECT_NO_THROW(query.open());  // opens its attachment again
}

db::DatabaseError failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const db::DatabaseError& e) {
        return e;
    }
    return db::DatabaseError("<no failure>");
}

void execute(db::Attachment& attachment, db::Transaction& transaction, const std::string& sql) {
    db::Statement statement("Command", attachment, transaction);
    statement.setText(sql);
    statement.execute();
}

// The server's own failures, each sorted by its codes: what a statement or its data did stays
// the statement's; a cut attachment is a connection loss; an I/O error, whatever its system
// reason, is the server's.
TEST_F(AccessLayer, FailureKindFollowsTheServersCodes) {
    Connection other{database.connectionString()};
    execute(connection.attachment, connection.transaction, "INSERT INTO PESSOA VALUES (1, 'Ana')");
    connection.transaction.commitRetaining();
    const struct {
        const char* name;
        std::function<void()> action;
        db::FailureKind kind;
    } cases[] = {
        {"duplicate key",
         [&] { execute(connection.attachment, connection.transaction, "INSERT INTO PESSOA VALUES (1, 'B')"); },
         db::FailureKind::Statement},
        {"truncation",
         [&] {
             execute(connection.attachment, connection.transaction,
                     "INSERT INTO PESSOA VALUES (2, 'longo demais, bem longo')");
         },
         db::FailureKind::Statement},
        {"conversion",
         [&] { execute(connection.attachment, connection.transaction, "INSERT INTO PESSOA VALUES ('x', 'B')"); },
         db::FailureKind::Statement},
        {"lock conflict",
         [&] {
             execute(connection.attachment, connection.transaction, "UPDATE PESSOA SET NOME = 'A1' WHERE ID = 1");
             execute(other.attachment, other.transaction, "UPDATE PESSOA SET NOME = 'A2' WHERE ID = 1");
         },
         db::FailureKind::Statement},
        {"attachment cut by the server",
         [&] {
             execute(other.attachment, other.transaction,
                     "DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION AND MON$REMOTE_PID = " +
                         std::to_string(::getpid()));
             other.transaction.commit();
             execute(connection.attachment, connection.transaction, "INSERT INTO PESSOA VALUES (3, 'C')");
         },
         db::FailureKind::ConnectionLoss},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const db::DatabaseError failure = failureOf(c.action);
        EXPECT_NE(failure.errorCode(), 0) << failure.text();
        EXPECT_EQ(failure.kind(), c.kind) << failure.text();
    }
    EXPECT_FALSE(connection.attachment.isOpen());
    // The codes the server gives for a write to a full disk or a read from a failing device (the
    // system's reason follows as a number of its own), and for a lost network.
    EXPECT_EQ(db::DatabaseError("", 0, {isc_io_error, isc_io_write_err}).kind(), db::FailureKind::ServerIo);
    EXPECT_EQ(db::DatabaseError("", 0, {isc_io_error, isc_io_read_err}).kind(), db::FailureKind::ServerIo);
    for (long code : {isc_lost_db_connection, isc_net_read_err, isc_net_write_err, isc_network_error, isc_shutdown})
        EXPECT_EQ(db::DatabaseError("", 0, {code}).kind(), db::FailureKind::ConnectionLoss) << code;
    EXPECT_EQ(db::DatabaseError("layer's own").kind(), db::FailureKind::Statement);
}

void shutDown(const TestDatabase& database) {
    const std::string gfix = "gfix -user SYSDBA -password pinewheel -shut full -force 0 " + database.connectionString();
    ASSERT_EQ(std::system(gfix.c_str()), 0);
}

void bringOnline(const TestDatabase& database) {
    const std::string gfix = "gfix -user SYSDBA -password pinewheel -online " + database.connectionString();
    ASSERT_EQ(std::system(gfix.c_str()), 0);
}

// Firebird's client refuses a password byte that is no letter of the system's character set
// ("Bad international character in tag isc_dpb_password"): the block sends such a password in
// UTF-8 and says so.
TEST(AccessLayerLogin, APasswordWithLettersBeyondAsciiLogsIn) {
    const test_support::TestUser user("S\xC3\xA3o-Jos\xC3\xA9-\xC3\xA7");
    const TestDatabase database;
    Connection right(database.connectionString(), {"user_name=" + user.name(), "password=" + user.password()});
    EXPECT_EQ(failureText([&] { right.attachment.open(); }), "<no failure>");
    EXPECT_EQ(scalar(right.attachment, right.transaction, "SELECT CURRENT_USER FROM RDB$DATABASE"), user.name());
    Connection wrong(database.connectionString(), {"user_name=" + user.name(), "password=S\xC3\xA3o"});
    try {
        wrong.attachment.open();
        ADD_FAILURE() << "a wrong password logged in";
    } catch (const db::DatabaseError& failure) {
        EXPECT_TRUE(failure.hasCode(isc_login)) << failure.text();
    }
}

TEST(AccessLayerFileNames, DatabaseInAFolderWithAnAccentedNameOpensAndTakesWrites) {
    TestDatabase database{kTables};
    test_support::AccentedFolder folder;
    for (const std::string& name : {std::string("merak.fdb"), std::string("Cópia de ação.fdb")}) {
        SCOPED_TRACE(name);
        const std::string path = folder.add(database, name);
        ASSERT_NE(path.find("/Área de Trabalho/"), std::string::npos);
        Connection accented("localhost:" + path);
        ASSERT_EQ(failureText([&] { accented.attachment.open(); }), "<no failure>");
        db::Statement insert("IBQueryFireBird", accented.attachment, accented.transaction);
        insert.setText("INSERT INTO PESSOA (ID, NOME) VALUES ((SELECT COUNT(*) FROM PESSOA) + 1, :NOME)");
        insert.param("NOME").setText(name.substr(0, name.find('.')).substr(0, 9));
        insert.execute();
        accented.attachment.close();
    }
    Connection check(database.connectionString());
    EXPECT_EQ(scalar(check.attachment, check.transaction, "SELECT LIST(NOME, '|') FROM PESSOA"), "merak|Cópia de");

    // A missing file is named in the server's text as the user wrote it.
    Connection missing("localhost:" + folder.path() + "/Ação.fdb");
    const std::string failure = failureText([&] { missing.attachment.open(); });
    EXPECT_NE(failure.find("\"" + folder.path() + "/Ação.fdb\""), std::string::npos) << failure;
}

// The destination transaction started over the destination and a source, as after connecting.
class SharedTransaction : public AccessLayer {
protected:
    void SetUp() override {
        source.attachment.setDefaultTransaction(&connection.transaction);
        connection.attachment.open();
        source.attachment.open();
        connection.transaction.start();
    }
    void TearDown() override { source.attachment.setDefaultTransaction(nullptr); }

    TestDatabase sourceDatabase{"CREATE TABLE PRODUTO (PRO_CODIGO INTEGER);"};
    Connection source{sourceDatabase.connectionString(), test_support::kSourceParams, "IBDBOrigem"};
};

// The destination transaction spans the source after connecting; losing the source must end
// it on the destination too, so that the destination can still be written and closed.
TEST_F(SharedTransaction, LostSourceEndsItOnTheDestination) {
    db::Statement insert("IBQueryFireBird", connection.attachment, connection.transaction);
    insert.setText("INSERT INTO PESSOA (ID) VALUES (:ID)");
    insert.param("ID").setInteger(1);
    insert.execute();
    connection.transaction.commitRetaining();
    insert.param("ID").setInteger(2);
    insert.execute();  // posted, not yet committed

    // The source cursor reads in the source's own transaction and sees the loss.
    db::Statement origem("IBQueryOrigem", source.attachment, source.transaction);
    origem.setText("SELECT PRO_CODIGO FROM PRODUTO");
    shutDown(sourceDatabase);
    auto attempt = std::async(std::launch::async, [&] { return failureText([&] { origem.open(); }); });
    ASSERT_EQ(attempt.wait_for(std::chrono::seconds(60)), std::future_status::ready) << "a call hung";
    const std::string lost = attempt.get();
    EXPECT_NE(lost.find("shutdown"), std::string::npos) << lost;
    EXPECT_FALSE(source.attachment.isOpen());
    EXPECT_FALSE(connection.transaction.isActive());

    // A new destination transaction would span the closed source: it is refused in so many
    // words, and the destination closes without a failure.
    insert.param("ID").setInteger(3);
    EXPECT_EQ(failureText([&] { insert.execute(); }), "Cannot perform operation -- DB is not open");
    EXPECT_EQ(failureText([&] { connection.attachment.close(); }), "<no failure>");
    bringOnline(sourceDatabase);

    Connection check(database.connectionString(), kDestinationParams, "Check");
    EXPECT_EQ(
        scalar(check.attachment, check.transaction, "SELECT LIST(ID, ',') FROM (SELECT ID FROM PESSOA ORDER BY ID)"),
        "1,2");
    // No attachment of the closed destination is left on the server.
    EXPECT_EQ(scalar(check.attachment, check.transaction,
                     "SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION "
                     "AND MON$SYSTEM_FLAG = 0"),
              "0");
}

// The mirror case: the destination is lost in a call made in the shared transaction itself. The
// server may still hold that transaction busy on the lost connection, where ending it can wait
// forever: it is forgotten, the failure comes back at once, and the source still reads.
TEST_F(SharedTransaction, LostDestinationInItFailsAtOnceAndTheSourceStillReads) {
    db::Statement origem("IBQueryOrigem", source.attachment, source.transaction);
    origem.setText("SELECT PRO_CODIGO FROM PRODUTO");
    origem.open();
    db::Statement insert("IBQueryFireBird", connection.attachment, connection.transaction);
    insert.setText("INSERT INTO PESSOA (ID) VALUES (1)");
    insert.prepare();
    shutDown(database);
    auto attempt = std::async(std::launch::async, [&] { return failureText([&] { insert.execute(); }); });
    ASSERT_EQ(attempt.wait_for(std::chrono::seconds(60)), std::future_status::ready) << "a call hung";
    EXPECT_NE(attempt.get().find("shutdown"), std::string::npos);
    EXPECT_FALSE(connection.attachment.isOpen());
    EXPECT_FALSE(connection.transaction.isActive());
    EXPECT_EQ(origem.column("PRO_CODIGO").asText(), "");
    bringOnline(database);
}

TEST_F(AccessLayer, MisuseFailsWithAClearText) {
    connection.attachment.open();
    db::Statement statement("IBQueryOrigem", connection.attachment, connection.transaction);
    statement.setText("UPDATE PESSOA SET NOME = 'x'");
    EXPECT_EQ(failureText([&] { statement.open(); }), "IBQueryOrigem: Cannot open a statement that returns no rows");
    EXPECT_FALSE(statement.isOpen());
    EXPECT_NO_THROW(statement.execute());

    // A text bound to a parameter that is not a text is limited by the length field.
    statement.setText("INSERT INTO PESSOA (ID) VALUES (:ID)");
    for (const std::size_t length : {std::size_t{32768}, std::size_t{70000}}) {
        statement.param("ID").setText(std::string(length, '1'));
        EXPECT_EQ(failureText([&] { statement.execute(); }), "Trying to store a string of length " +
                                                                 std::to_string(length) +
                                                                 " into a field that can only contain 32767");
    }
    statement.param("ID").setText("  12");
    EXPECT_NO_THROW(statement.execute());

    // Values that are not numbers read as integers fail like texts that are not integers.
    statement.setText("INSERT INTO TIPOS (C, D) VALUES (:C, :D)");
    struct Case {
        const char* tag;
        double value;
        const char* shown;
    };
    const Case cases[] = {{"nan", std::numeric_limits<double>::quiet_NaN(), "NAN"},
                          {"inf", std::numeric_limits<double>::infinity(), "INF"},
                          {"-in", -std::numeric_limits<double>::infinity(), "-INF"},
                          {"big", 3e9, "3000000000"}};
    for (const Case& c : cases) {
        statement.param("C").setText(c.tag);
        statement.param("D").setDouble(c.value);
        statement.execute();
    }
    db::Statement query("IBQueryOrigem", connection.attachment, connection.transaction);
    for (const Case& c : cases) {
        query.setText(std::string("SELECT D FROM TIPOS WHERE C = '") + c.tag + "'");
        query.open();
        EXPECT_EQ(failureText([&] { query.column("D").asInteger(); }),
                  std::string("''") + c.shown + "'' is not a valid integer value");
        query.close();
    }
}

// An exact numeric read as a floating-point number is the double nearest to its decimal.
TEST(AccessLayerNumbers, ExactNumericsReadAsTheNearestDouble) {
    // Every stored integer from 0 to 9999 at scales 3, 4 and 2.
    TestDatabase database{
        "CREATE TABLE NUMEROS (N3 NUMERIC(18,3), N4 NUMERIC(18,4), N2 NUMERIC(9,2), B NUMERIC(18,4));\n"
        "SET TERM ^ ;\n"
        "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 10000) DO BEGIN\n"
        "  INSERT INTO NUMEROS (N3, N4, N2) VALUES (:I / 1000.000, :I / 10000.0000, :I / 100.00); I = I + 1;\n"
        "END END^\n"
        "SET TERM ; ^\n"};
    Connection connection{database.connectionString()};
    db::Statement extremes("Extremes", connection.attachment, connection.transaction);
    extremes.setText("INSERT INTO NUMEROS (B) VALUES (:B)");
    for (const std::int64_t stored :
         {std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::min(),
          std::int64_t{9007199254740993}, std::int64_t{-70}}) {
        extremes.param("B").setScaled(stored, -4);
        extremes.execute();
    }

    db::Statement query("IBQueryOrigem", connection.attachment, connection.transaction);
    query.setText("SELECT * FROM NUMEROS");
    query.open();
    int rows = 0;
    for (; !query.eof(); query.next(), ++rows) {
        for (const char* name : {"N3", "N4", "N2", "B"}) {
            const db::Column column = query.column(name);
            if (column.isNull()) continue;
            // strtod rounds the decimal text once, correctly.
            const std::string decimal =
                std::to_string(column.asStoredInteger()) + "e" + std::to_string(column.description().scale);
            ASSERT_EQ(column.asDouble(), std::strtod(decimal.c_str(), nullptr)) << name << " " << decimal;
        }
    }
    EXPECT_EQ(rows, 10004);
}

}  // namespace
