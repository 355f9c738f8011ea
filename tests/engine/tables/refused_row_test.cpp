// The column at fault in a refused row: carried by the writer, the statement and the server's
// status beside the failure text, and explained in Portuguese.
#include "refused_row.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "database_error.h"
#include "statement.h"
#include "table_writer.h"
#include "test_connection.h"
#include "test_database.h"
#include "transaction.h"

namespace {

using db::ColumnFault;
using engine::FieldKind;

// Two text columns with the same limit, so that only the writer can tell which one it was
// binding; a required one; a decimal; a composite key, a foreign key and a trigger that
// makes a text longer than its column.
constexpr const char* kScript = R"(
create table DONOS (ID integer not null primary key);
create table PARES (
  A integer not null,
  B integer not null,
  PRIMEIRO varchar(5),
  SEGUNDO varchar(5),
  EXIGIDO varchar(5) not null,
  VALOR numeric(18,4),
  DONO integer references DONOS (ID),
  constraint PK_PARES primary key (A, B)
);
create table ALONGA (ID integer not null primary key, TEXTO varchar(5));
set term ^ ;
create trigger ALONGA_BI for ALONGA before insert as begin new.TEXTO = new.TEXTO || 'xxxxx'; end^
set term ; ^
insert into DONOS values (1);
insert into PARES (A, B, EXIGIDO) values (1, 2, 'x');
commit;
)";

constexpr engine::FieldDeclaration kParesFields[] = {
    {.name = "A", .kind = FieldKind::Integer, .required = true},
    {.name = "B", .kind = FieldKind::Integer, .required = true},
    {.name = "PRIMEIRO", .kind = FieldKind::Text, .length = 5},
    {.name = "SEGUNDO", .kind = FieldKind::Text, .length = 5},
    {.name = "EXIGIDO", .kind = FieldKind::Text, .length = 5, .required = true},
    {.name = "VALOR", .kind = FieldKind::Decimal, .scale = 4},
};

constexpr engine::TableDeclaration kPares{
    .table = "PARES",
    .fields = kParesFields,
    .insertSql =
        "insert into PARES (A, B, PRIMEIRO, SEGUNDO, EXIGIDO, VALOR) "
        "values (:A, :B, :PRIMEIRO, :SEGUNDO, :EXIGIDO, :VALOR)",
    .refreshSql = "select A, B, PRIMEIRO, SEGUNDO, EXIGIDO, VALOR from PARES where A = :A and B = :B",
};

class ColumnFaults : public ::testing::Test {
protected:
    ColumnFaults() : connection(database.connectionString()) {
        connection.attachment.open();
        connection.transaction.start();
    }

    // The failure the call raises; fails the test when it raises none.
    db::DatabaseError failureOf(const std::function<void()>& call) {
        try {
            call();
        } catch (const db::DatabaseError& failure) {
            return failure;
        }
        ADD_FAILURE() << "no failure";
        return db::DatabaseError("");
    }

    void execute(const std::string& sql) {
        db::Statement command("command", connection.attachment, connection.transaction);
        command.setText(sql);
        command.execute();
    }

    test_support::TestDatabase database{kScript};
    test_support::TestConnection connection;
};

struct ExpectedFault {
    ColumnFault::Kind kind;
    std::string column;
    std::string value;
    std::size_t length = 0;
    std::size_t limit = 0;
};

void expectFault(const db::DatabaseError& failure, const ExpectedFault& expected) {
    SCOPED_TRACE(failure.text());
    ASSERT_TRUE(failure.columnFault().has_value());
    const ColumnFault& fault = *failure.columnFault();
    EXPECT_EQ(fault.kind, expected.kind);
    EXPECT_EQ(fault.column, expected.column);
    EXPECT_EQ(fault.value, expected.value);
    EXPECT_EQ(fault.length, expected.length);
    EXPECT_EQ(fault.limit, expected.limit);
}

TEST_F(ColumnFaults, TheWriterNamesTheFieldItWasBindingAmongColumnsOfTheSameLimit) {
    engine::TableWriter writer("IBDS_Pares", connection.attachment, connection.transaction, kPares);
    writer.open();
    struct Case {
        const char* what;
        std::function<void()> fill;
        std::string text;
        ExpectedFault fault;
    };
    const std::vector<Case> cases = {
        {"the second of two 5-character texts",
         [&] {
             writer.fieldByName("PRIMEIRO").setText("abcde");
             writer.fieldByName("SEGUNDO").setText("abcdef");
             writer.fieldByName("EXIGIDO").setText("x");
         },
         "Trying to store a string of length 6 into a field that can only contain 5",
         {ColumnFault::Kind::TextTooLong, "SEGUNDO", "abcdef", 6, 5}},
        {"the first, counted in characters",
         [&] {
             writer.fieldByName("PRIMEIRO").setText("çãoéíú");
             writer.fieldByName("SEGUNDO").setText("abcde");
             writer.fieldByName("EXIGIDO").setText("x");
         },
         "Trying to store a string of length 6 into a field that can only contain 5",
         {ColumnFault::Kind::TextTooLong, "PRIMEIRO", "çãoéíú", 6, 5}},
        // The writer sends one character more than the column takes; the fault keeps the
        // length of the text it was given, which is what the source holds.
        {"a text longer than the character the writer adds",
         [&] {
             writer.fieldByName("SEGUNDO").setText("abcdefghijkl");
             writer.fieldByName("EXIGIDO").setText("x");
         },
         "Trying to store a string of length 6 into a field that can only contain 5",
         {ColumnFault::Kind::TextTooLong, "SEGUNDO", "abcdef", 12, 5}},
        {"a text the import cut first, counted whole",
         [&] {
             writer.fieldByName("PRIMEIRO").setFirstCharacters("çãoéíúçãoéíú", 8);
             writer.fieldByName("EXIGIDO").setText("x");
         },
         "Trying to store a string of length 6 into a field that can only contain 5",
         {ColumnFault::Kind::TextTooLong, "PRIMEIRO", "çãoéíú", 12, 5}},
        {"a required field left empty",
         [&] { writer.fieldByName("PRIMEIRO").setText("a"); },
         "Field 'EXIGIDO' must have a value",
         {ColumnFault::Kind::Missing, "EXIGIDO", ""}},
        {"a decimal the field cannot send",
         [&] {
             writer.fieldByName("EXIGIDO").setText("x");
             writer.fieldByName("VALOR").setDouble(1e300);
         },
         "IBDS_Pares: Field 'VALOR' cannot hold 1E+300",
         {ColumnFault::Kind::NotConvertible, "VALOR", "1E+300"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writer.startNewRow();
        writer.fieldByName("A").setInteger(5);
        writer.fieldByName("B").setInteger(5);
        c.fill();
        const db::DatabaseError failure = failureOf([&] { writer.post(); });
        EXPECT_EQ(std::string(failure.text()), c.text);
        expectFault(failure, c.fault);
    }
}

TEST_F(ColumnFaults, TheServersRefusalsNameTheirColumnsAndValuesFromTheStatus) {
    struct Case {
        const char* sql;
        ExpectedFault fault;
    };
    const std::vector<Case> cases = {
        {"insert into PARES (A, B, EXIGIDO) values (1, 2, 'y')", {ColumnFault::Kind::Duplicate, "A, B", "1, 2"}},
        {"insert into PARES (A, B) values (1, 3)", {ColumnFault::Kind::Missing, "EXIGIDO", ""}},
        {"insert into PARES (A, B, EXIGIDO, DONO) values (1, 4, 'z', 99)",
         {ColumnFault::Kind::MissingReference, "DONO", "99"}},
        {"insert into ALONGA (ID, TEXTO) values (1, 'abc')", {ColumnFault::Kind::TextTooLong, "", "", 8, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        expectFault(failureOf([&] { execute(c.sql); }), c.fault);
    }
    // A refusal that names no column carries none.
    EXPECT_FALSE(failureOf([&] { execute("insert into NENHUMA values (1)"); }).columnFault().has_value());
}

TEST_F(ColumnFaults, AStatementNamesTheParameterWhoseTextIsTooLong) {
    db::Statement insert("IBQueryFireBird", connection.attachment, connection.transaction);
    insert.setText("insert into PARES (A, B, PRIMEIRO, SEGUNDO, EXIGIDO) values (:A, :B, :PRIMEIRO, :SEGUNDO, 'x')");
    insert.param("A").setInteger(7);
    insert.param("B").setInteger(7);
    insert.param("PRIMEIRO").setText("abc");
    insert.param("SEGUNDO").setText("abcdefg");
    const db::DatabaseError failure = failureOf([&] { insert.execute(); });
    EXPECT_EQ(std::string(failure.text()), "Trying to store a string of length 7 into a field that can only contain 5");
    expectFault(failure, {ColumnFault::Kind::TextTooLong, "SEGUNDO", "abcdefg", 7, 5});
}

TEST(RefusalExplanation, EachKindSaysInPortugueseWhatToChangeInTavlo) {
    struct Case {
        std::optional<ColumnFault> fault;
        std::string table;
        std::string cause;
        std::string advice;
    };
    const std::vector<Case> cases = {
        {ColumnFault{ColumnFault::Kind::TextTooLong, "NOME", "x", 51, 50}, "CLIENTES",
         "Texto longo demais para NOME (máximo 50)",
         "NOME tem 51 caracteres; o Merak aceita 50 — encurte esse texto no cadastro do cliente 16 no Tavlo"},
        {ColumnFault{ColumnFault::Kind::Missing, "DESCRICAO", ""}, "PRODUTOS", "DESCRICAO sem valor",
         "DESCRICAO está vazio e o Merak exige um valor — preencha esse campo no cadastro do produto 16 no Tavlo"},
        {ColumnFault{ColumnFault::Kind::Duplicate, "CODIGO", "16"}, "CLIENTES", "Chave repetida (CODIGO)",
         "CODIGO = 16 já foi importado nesta tabela — o cliente 16 no Tavlo repete outro registro; corrija o código "
         "ou apague a cópia"},
        {ColumnFault{ColumnFault::Kind::MissingReference, "ID_GRUPO", "9"}, "PRODUTOS",
         "Referência inexistente (ID_GRUPO)",
         "ID_GRUPO = 9 não existe na tabela a que o Merak o liga — cadastre-o no Merak ou corrija o produto 16 no "
         "Tavlo"},
        {ColumnFault{ColumnFault::Kind::NotConvertible, "PRECO", "1E+300"}, "PRODUTOS", "Valor que PRECO não comporta",
         "PRECO não comporta o valor 1E+300 — corrija esse valor no cadastro do produto 16 no Tavlo"},
        {std::nullopt, "VENDEDOR", "Recusado pelo Merak",
         "o Merak recusou o vendedor 16 no Tavlo — veja a mensagem do servidor"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cause);
        engine::RefusedRow row;
        row.table = c.table;
        row.key = "16";
        if (c.fault) {
            row.column = c.fault->column;
            row.value = c.fault->value;
        }
        engine::explainRefusal(row, c.fault);
        EXPECT_EQ(row.cause, c.cause);
        EXPECT_EQ(row.advice, c.advice);
    }
}

}  // namespace
