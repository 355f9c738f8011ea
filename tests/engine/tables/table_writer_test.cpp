#include "table_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "database_error.h"
#include "statement.h"
#include "test_connection.h"
#include "test_database.h"
#include "transaction.h"

namespace {

using engine::FieldKind;

// Tables of every field kind, one with a column shorter than its declaration, one for the
// open failures, and four that change the row on insert with or without a default value
// or a computed column.
constexpr const char* kScript = R"(
create table ITENS (
  CODIGO integer not null primary key,
  NOME varchar(15),
  SIGLA char(1),
  CURTO varchar(1),
  TRES varchar(3),
  VALOR numeric(18,4),
  PRECO numeric(18,2),
  DIA date,
  MOMENTO timestamp,
  TOTAL bigint,
  PESO double precision,
  EXTRA varchar(10)
);
create table CURTA (CODIGO integer not null primary key, NOME varchar(15));
create table TIPOS (CODIGO integer not null primary key, NOME varchar(15), PRECO numeric(18,3));
create domain D_STATUS char(1) default 'A';
create table SEM_PADRAO (CODIGO integer not null primary key, NOME varchar(15), PRECO numeric(18,2));
create table COM_PADRAO (CODIGO integer not null primary key, NOME varchar(15), PRECO numeric(18,2),
  STATUS char(1) default 'A');
create table COM_DOMINIO (CODIGO integer not null primary key, NOME varchar(15), PRECO numeric(18,2),
  STATUS D_STATUS);
create table COM_CALCULO (CODIGO integer not null primary key, NOME varchar(15), PRECO numeric(18,2),
  TAMANHO computed by (char_length(NOME)));
set term ^ ;
create trigger SEM_PADRAO_BI for SEM_PADRAO before insert as begin new.NOME = upper(new.NOME); new.PRECO = 2.5; end^
create trigger COM_PADRAO_BI for COM_PADRAO before insert as begin new.NOME = upper(new.NOME); new.PRECO = 2.5; end^
create trigger COM_DOMINIO_BI for COM_DOMINIO before insert as begin new.NOME = upper(new.NOME); new.PRECO = 2.5; end^
create trigger COM_CALCULO_BI for COM_CALCULO before insert as begin new.NOME = upper(new.NOME); new.PRECO = 2.5; end^
set term ; ^
)";

constexpr engine::FieldDeclaration kItensFields[] = {
    {.name = "CODIGO", .kind = FieldKind::Integer, .required = true},
    {.name = "NOME", .kind = FieldKind::Text, .length = 15},
    {.name = "SIGLA", .kind = FieldKind::FixedText, .length = 1},
    {.name = "CURTO", .kind = FieldKind::Text, .length = 1},
    {.name = "TRES", .kind = FieldKind::Text, .length = 3},
    {.name = "VALOR", .kind = FieldKind::Decimal, .scale = 4},
    {.name = "PRECO", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "DIA", .kind = FieldKind::Date},
    {.name = "MOMENTO", .kind = FieldKind::DateTime},
    {.name = "TOTAL", .kind = FieldKind::BigInteger},
    {.name = "PESO", .kind = FieldKind::Double},
};

// The insert names the columns in another order than the declaration: parameters are bound
// by name.
constexpr engine::TableDeclaration kItens{
    .table = "ITENS",
    .fields = kItensFields,
    .insertSql =
        "insert into ITENS (CODIGO, CURTO, DIA, MOMENTO, NOME, PESO, PRECO, SIGLA, TOTAL, TRES, VALOR) "
        "values (:CODIGO, :CURTO, :DIA, :MOMENTO, :NOME, :PESO, :PRECO, :SIGLA, :TOTAL, :TRES, :VALOR)",
    .refreshSql =
        "Select CODIGO, NOME, SIGLA, CURTO, TRES, VALOR, PRECO, DIA, MOMENTO, TOTAL, PESO from ITENS "
        "where CODIGO = :CODIGO",
};

// A declaration built at run time for one table with a key, a name and a price.
struct Declaration {
    std::string table;
    std::vector<engine::FieldDeclaration> fields;
    std::string insertSql;
    std::string refreshSql;

    engine::TableDeclaration get() const { return {table, fields, insertSql, refreshSql}; }
};

Declaration codeAndName(const std::string& table, int nameLength) {
    return {table,
            {{.name = "CODIGO", .kind = FieldKind::Integer, .required = true},
             {.name = "NOME", .kind = FieldKind::Text, .length = nameLength}},
            "insert into " + table + " (CODIGO, NOME) values (:CODIGO, :NOME)",
            "Select CODIGO, NOME from " + table + " where CODIGO = :CODIGO"};
}

// A destination database attached as the import attaches it, with its transaction started.
class Destination {
public:
    explicit Destination(const std::string& script)
        : database_(script),
          connection_(database_.connectionString(), test_support::kDestinationParams, "IBDatabaseDestino") {
        attachment.open();
        transaction.start();
    }

    // Opens a query in the destination transaction, which sees the rows not yet committed.
    std::unique_ptr<db::Statement> select(const std::string& sql) {
        auto query = std::make_unique<db::Statement>("check", attachment, transaction);
        query->setText(sql);
        query->open();
        return query;
    }

    void execute(const std::string& sql) {
        db::Statement command("check", attachment, transaction);
        command.setText(sql);
        command.execute();
    }

    int count(const std::string& table) { return select("select count(*) from " + table)->column(0).asInteger(); }

    std::string connectionString() const { return database_.connectionString(); }

private:
    test_support::TestDatabase database_;
    test_support::TestConnection connection_;

public:
    db::Attachment& attachment = connection_.attachment;
    db::Transaction& transaction = connection_.transaction;
};

// The message of the failure that the call raises, or "" when it raises none.
template <typename Call>
std::string failureOf(Call call) {
    try {
        call();
    } catch (const db::DatabaseError& error) {
        return error.text();
    }
    return "";
}

class TableWriter : public ::testing::Test {
protected:
    void SetUp() override { writer.open(); }

    // Starts a row with its key set.
    void startRow(int key) {
        writer.startNewRow();
        field("CODIGO").setInteger(key);
    }

    engine::WriterField& field(const char* name) { return writer.fieldByName(name); }

    std::unique_ptr<db::Statement> stored(int key) {
        return destination.select("select * from ITENS where CODIGO = " + std::to_string(key));
    }

    Destination destination{kScript};
    engine::TableWriter writer{"IBDS_Teste", destination.attachment, destination.transaction, kItens};
};

TEST_F(TableWriter, RowWithOnlyItsKeyInsertsEveryOtherColumnNull) {
    startRow(1);
    writer.post();

    auto row = stored(1);
    ASSERT_FALSE(row->isEmpty());
    EXPECT_EQ(row->column("CODIGO").asInteger(), 1);
    for (const char* name :
         {"NOME", "SIGLA", "CURTO", "TRES", "VALOR", "PRECO", "DIA", "MOMENTO", "TOTAL", "PESO", "EXTRA"})
        EXPECT_TRUE(row->column(name).isNull()) << name;
}

TEST_F(TableWriter, EmptyTextMakesTheFieldNullAndBlanksAreKept) {
    startRow(1);
    field("NOME").setText("Ana");
    field("NOME").setText("");
    field("SIGLA").setText(" ");
    writer.post();
    startRow(2);
    field("NOME").setText("   ");
    writer.post();

    EXPECT_TRUE(stored(1)->column("NOME").isNull());
    EXPECT_EQ(stored(1)->column("SIGLA").asText(), " ");
    EXPECT_FALSE(stored(2)->column("NOME").isNull());
    EXPECT_EQ(stored(2)->column("NOME").asText(), "   ");
}

TEST_F(TableWriter, TextLongerThanItsColumnFailsThePostWithTheKeptLength) {
    // Lengths count characters, not UTF-8 bytes: "ç" is one byte in the destination.
    const std::string fifteen = "ABCDEFGHIJKLMNO";
    const std::string accented15 = [] {
        std::string text;
        for (int i = 0; i < 15; ++i) text += "ç";
        return text;
    }();
    struct Case {
        std::string text;
        std::string failure;
    };
    const std::string tooLong = "Trying to store a string of length 16 into a field that can only contain 15";
    const Case cases[] = {
        {fifteen, ""},
        {accented15, ""},
        {fifteen + "P", tooLong},
        {accented15 + "ç", tooLong},
        {std::string(40, 'x'), tooLong},
    };
    int key = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        startRow(++key);
        field("NOME").setText(c.text);
        EXPECT_EQ(failureOf([&] { writer.post(); }), c.failure);
        auto row = stored(key);
        if (c.failure.empty()) {
            EXPECT_EQ(row->column("NOME").asText(), c.text);
        } else {
            EXPECT_TRUE(row->isEmpty());
        }
    }
}

TEST_F(TableWriter, IntegerIntoTextIsWrittenAsItsDecimalText) {
    struct Case {
        const char* field;
        int value;
        const char* stored;
        std::string failure;
    };
    const Case cases[] = {
        {"CURTO", 3, "3", ""},
        {"TRES", 0, "0", ""},
        {"TRES", -42, "-42", ""},
        {"CURTO", 12345, "", "Trying to store a string of length 2 into a field that can only contain 1"},
    };
    int key = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        startRow(++key);
        field(c.field).setInteger(c.value);
        EXPECT_EQ(failureOf([&] { writer.post(); }), c.failure);
        auto row = stored(key);
        if (c.failure.empty()) {
            EXPECT_EQ(row->column(c.field).asText(), c.stored);
        } else {
            EXPECT_TRUE(row->isEmpty());
        }
    }
}

TEST_F(TableWriter, NumbersReachTheDatabaseByTheFieldKind) {
    struct Case {
        const char* field;
        double value;
        std::int64_t stored;  // the column's own stored integer
    };
    // Into a decimal, the exact value of the double is rounded to ten-thousandths, a value
    // exactly halfway between two of them going to the even one. The doubles nearest to
    // 0.00035 and 123.45675 lie just below the half, those nearest to -0.00005 and 0.00025
    // just beyond it, although value × 10000 rounds to the half in each case.
    const Case cases[] = {
        {"VALOR", 1.03125, 10312},     {"VALOR", 1.09375, 10938}, {"VALOR", -1.03125, -10312},
        {"VALOR", 2.00005001, 20001},  {"VALOR", 0.00035, 3},     {"VALOR", -0.00005, -1},
        {"VALOR", 0.00025, 3},         {"VALOR", -0.00025, -3},   {"VALOR", 0.00015, 1},
        {"VALOR", 123.45675, 1234567}, {"VALOR", 1e-300, 0},      {"VALOR", 922337203685477.5, 9223372036854775000},
        {"PRECO", 17.0, 1700},
    };
    int key = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        startRow(++key);
        field(c.field).setDouble(c.value);
        writer.post();
        EXPECT_EQ(stored(key)->column(c.field).asStoredInteger(), c.stored);
    }

    startRow(++key);
    field("PRECO").setInteger(5);
    field("TOTAL").setInteger(1058);
    field("PESO").setDouble(0.1);
    writer.post();
    auto row = stored(key);
    EXPECT_EQ(row->column("PRECO").asStoredInteger(), 500);
    EXPECT_EQ(row->column("TOTAL").asStoredInteger(), 1058);
    EXPECT_EQ(row->column("PESO").asDouble(), 0.1);
}

// Setting a field tests no range: a value with no count of ten-thousandths in 64 bits is
// refused by its row's post, and the next row goes in.
TEST_F(TableWriter, DecimalThatCannotBeSentFailsOnlyItsRowsPost) {
    struct Case {
        double value;
        const char* failure;
    };
    const Case cases[] = {
        {922337203685477.5807, "IBDS_Teste: Field 'VALOR' cannot hold 922337203685478"},
        {-1e19, "IBDS_Teste: Field 'VALOR' cannot hold -1E+19"},
        {std::numeric_limits<double>::infinity(), "IBDS_Teste: Field 'VALOR' cannot hold INF"},
        {std::numeric_limits<double>::quiet_NaN(), "IBDS_Teste: Field 'VALOR' cannot hold NAN"},
    };
    int key = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failure);
        startRow(++key);
        EXPECT_EQ(failureOf([&] { field("VALOR").setDouble(c.value); }), "");
        field("NOME").setText("recusada");
        EXPECT_EQ(failureOf([&] { writer.post(); }), c.failure);
        startRow(++key);
        field("VALOR").setDouble(1.5);
        EXPECT_EQ(failureOf([&] { writer.post(); }), "");
    }
    EXPECT_EQ(destination.count("ITENS"), 4);
    EXPECT_EQ(destination.select("select count(*) from ITENS where NOME = 'recusada'")->column(0).asInteger(), 0);
}

TEST_F(TableWriter, DateAndTimeIntoADateFieldKeepsTheDay) {
    startRow(1);
    field("DIA").setDateTime(db::DateTime::fromCivil(2021, 3, 4, 15, 30));
    field("MOMENTO").setDateTime(db::DateTime::fromCivil(2021, 3, 4, 15, 30));
    writer.post();

    auto row = stored(1);
    EXPECT_EQ(row->column("DIA").asDateTime(), db::DateTime::fromCivil(2021, 3, 4));
    EXPECT_EQ(row->column("MOMENTO").asDateTime(), db::DateTime::fromCivil(2021, 3, 4, 15, 30));
}

TEST_F(TableWriter, RefusedRowIsDroppedByTheNextRowAndNeverSentAgain) {
    startRow(1);
    field("NOME").setText("Primeiro");
    writer.post();
    destination.transaction.commitRetaining();

    startRow(1);
    field("NOME").setText("Repetido");
    const std::string failure = failureOf([&] { writer.post(); });
    EXPECT_NE(failure.find("PRIMARY or UNIQUE KEY constraint"), std::string::npos) << failure;
    EXPECT_EQ(failure.find("IBDS_Teste"), std::string::npos) << failure;

    startRow(2);
    writer.post();
    destination.transaction.commitRetaining();

    EXPECT_EQ(destination.count("ITENS"), 2);
    EXPECT_EQ(stored(1)->column("NOME").asText(), "Primeiro");
    EXPECT_TRUE(stored(2)->column("NOME").isNull());
}

TEST_F(TableWriter, KeyReadsTheLastPostedRow) {
    engine::WriterField& key = field("CODIGO");
    EXPECT_EQ(key.asInteger(), 0);
    EXPECT_EQ(key.asText(), "");

    for (int code : {5, 9, 7}) {
        startRow(code);
        writer.post();
    }
    EXPECT_EQ(key.asInteger(), 7);
    EXPECT_EQ(key.asText(), "7");
}

TEST_F(TableWriter, FailedPostKeepsItsRowCurrentUntilTheNextRow) {
    destination.execute("insert into ITENS (CODIGO) values (7)");
    engine::WriterField& key = field("CODIGO");
    for (int code : {5, 9}) {
        startRow(code);
        writer.post();
    }
    startRow(7);
    EXPECT_NE(failureOf([&] { writer.post(); }), "");
    EXPECT_EQ(key.asInteger(), 7);
    EXPECT_EQ(key.asText(), "7");

    writer.startNewRow();
    EXPECT_EQ(key.asInteger(), 0);
}

TEST_F(TableWriter, MissingKeyFailsThePostAndKeepsTheRow) {
    writer.startNewRow();
    field("NOME").setText("Sem código");
    EXPECT_EQ(failureOf([&] { writer.post(); }), "Field 'CODIGO' must have a value");
    EXPECT_EQ(destination.count("ITENS"), 0);

    // Still inserting, with the values set so far.
    field("CODIGO").setInteger(3);
    writer.post();
    EXPECT_EQ(stored(3)->column("NOME").asText(), "Sem código");
}

TEST_F(TableWriter, SettingAFieldOutsideANewRowFails) {
    EXPECT_EQ(failureOf([&] { field("CODIGO").setInteger(1); }), "Not in edit mode");
    startRow(1);
    writer.post();
    EXPECT_EQ(failureOf([&] { field("NOME").setText("x"); }), "Not in edit mode");
    writer.close();
    EXPECT_EQ(failureOf([&] { field("PESO").setDouble(1); }), "Not in edit mode");
}

TEST_F(TableWriter, FieldByNameIgnoresCaseAndKnowsOnlyDeclaredFields) {
    EXPECT_EQ(&writer.fieldByName("codigo"), &field("CODIGO"));
    EXPECT_EQ(failureOf([&] { writer.fieldByName("NOMEX"); }), "IBDS_Teste: Field 'NOMEX' not found");
    EXPECT_EQ(failureOf([&] { writer.fieldByName("EXTRA"); }), "IBDS_Teste: Field 'EXTRA' not found");
}

TEST_F(TableWriter, ColumnShorterThanItsDeclarationLowersTheFieldLength) {
    const Declaration declaration = codeAndName("CURTA", 40);
    const engine::TableDeclaration table = declaration.get();
    engine::TableWriter shorter("IBDS_Teste", destination.attachment, destination.transaction, table);
    shorter.open();
    EXPECT_EQ(shorter.fieldByName("NOME").declaration().length, 15);

    shorter.startNewRow();
    shorter.fieldByName("CODIGO").setInteger(1);
    shorter.fieldByName("NOME").setText(std::string(40, 'x'));
    EXPECT_EQ(failureOf([&] { shorter.post(); }),
              "Trying to store a string of length 16 into a field that can only contain 15");
}

TEST_F(TableWriter, OpenFailsOnDeclaredFieldsThatDoNotMatchTheTable) {
    struct Case {
        Declaration declaration;
        std::string failure;
    };
    const engine::FieldDeclaration key{.name = "CODIGO", .kind = FieldKind::Integer, .required = true};
    const std::string refresh = "Select CODIGO from TIPOS where CODIGO = :CODIGO";
    const Case cases[] = {
        {{"TIPOS",
          {key, {.name = "FALTA", .kind = FieldKind::Integer}},
          "insert into TIPOS (CODIGO) values (:CODIGO)",
          refresh},
         "IBDS_Teste: Field 'FALTA' not found"},
        {{"TIPOS",
          {key, {.name = "NOME", .kind = FieldKind::Integer}},
          "insert into TIPOS (CODIGO, NOME) values (:CODIGO, :NOME)",
          refresh},
         "IBDS_Teste: Type mismatch for field 'NOME', expecting: INTEGER actual: VARCHAR"},
        {{"TIPOS",
          {key, {.name = "PRECO", .kind = FieldKind::Decimal, .scale = 2}},
          "insert into TIPOS (CODIGO, PRECO) values (:CODIGO, :PRECO)",
          refresh},
         "IBDS_Teste: Size mismatch for field 'PRECO', expecting: 2 actual: 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failure);
        const engine::TableDeclaration table = c.declaration.get();
        engine::TableWriter failing("IBDS_Teste", destination.attachment, destination.transaction, table);
        EXPECT_EQ(failureOf([&] { failing.open(); }), c.failure);
        EXPECT_FALSE(failing.isOpen());
    }
}

TEST_F(TableWriter, RowIsReadBackWhenTheTableHasADefaultOrComputedColumn) {
    // Each table's trigger capitalises NOME and sets PRECO; only a read-back shows it.
    struct Case {
        const char* table;
        const char* name;
        const char* price;
    };
    const Case cases[] = {
        {"SEM_PADRAO", "ana", ""},
        {"COM_PADRAO", "ANA", "2,5"},
        {"COM_DOMINIO", "ANA", "2,5"},
        {"COM_CALCULO", "ANA", "2,5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        Declaration declaration = codeAndName(c.table, 15);
        declaration.fields.push_back({.name = "PRECO", .kind = FieldKind::Decimal, .scale = 2});
        declaration.insertSql =
            std::string("insert into ") + c.table + " (CODIGO, NOME, PRECO) values (:CODIGO, :NOME, :PRECO)";
        declaration.refreshSql = std::string("Select CODIGO, NOME, PRECO from ") + c.table + " where CODIGO = :CODIGO";
        const engine::TableDeclaration table = declaration.get();
        engine::TableWriter refreshing("IBDS_Teste", destination.attachment, destination.transaction, table);
        refreshing.open();
        refreshing.startNewRow();
        refreshing.fieldByName("CODIGO").setInteger(1);
        refreshing.fieldByName("NOME").setText("ana");
        refreshing.post();
        EXPECT_EQ(refreshing.fieldByName("NOME").asText(), c.name);
        EXPECT_EQ(refreshing.fieldByName("PRECO").asText(), c.price);
        EXPECT_EQ(refreshing.fieldByName("CODIGO").asInteger(), 1);
    }
}

TEST_F(TableWriter, ClosingTheAttachmentClosesTheWriter) {
    startRow(5);
    writer.post();
    destination.attachment.close();

    EXPECT_FALSE(writer.isOpen());
    EXPECT_EQ(field("CODIGO").asInteger(), 0);
    EXPECT_EQ(failureOf([&] { field("CODIGO").setInteger(6); }), "Not in edit mode");

    // Opening again attaches and starts the transaction; the closed attachment committed row 5.
    writer.open();
    startRow(6);
    writer.post();
    EXPECT_EQ(destination.count("ITENS"), 2);
}

// A lost destination closes the writer with its attachment; what the writer is asked next
// fails with the lost connection's own text, as the failure that closed it did.
TEST_F(TableWriter, LostDestinationIsReportedWithTheConnectionsOwnText) {
    startRow(1);
    writer.post();
    destination.transaction.commitRetaining();
    startRow(2);
    const std::string gfix = "gfix -user SYSDBA -password pinewheel ";
    ASSERT_EQ(std::system((gfix + "-shut full -force 0 " + destination.connectionString()).c_str()), 0);
    db::Statement lookup("lookup", destination.attachment, destination.transaction);
    lookup.setText("select CODIGO from ITENS");
    const std::string lost = failureOf([&] { lookup.open(); });
    EXPECT_NE(lost.find("shutdown"), std::string::npos) << lost;
    EXPECT_FALSE(writer.isOpen());

    EXPECT_EQ(failureOf([&] { field("NOME").setText("x"); }), lost);
    EXPECT_EQ(failureOf([&] { writer.post(); }), lost);
    EXPECT_EQ(failureOf([&] { writer.startNewRow(); }), lost);
    ASSERT_EQ(std::system((gfix + "-online " + destination.connectionString()).c_str()), 0);

    // Once attached again the writer knows only its own state.
    writer.open();
    EXPECT_EQ(failureOf([&] { field("NOME").setText("x"); }), "Not in edit mode");
    EXPECT_EQ(destination.count("ITENS"), 1);
}

// The real declarations, each against a table built from its own fields.

std::string columnType(const engine::FieldDeclaration& field) {
    switch (field.kind) {
    case FieldKind::Integer:
        return "integer";
    case FieldKind::BigInteger:
        return "bigint";
    case FieldKind::Decimal:
        return "numeric(18," + std::to_string(field.scale) + ")";
    case FieldKind::Double:
        return "double precision";
    case FieldKind::Text:
        return "varchar(" + std::to_string(field.length) + ")";
    case FieldKind::FixedText:
        return "char(" + std::to_string(field.length) + ")";
    case FieldKind::Date:
        return "date";
    case FieldKind::DateTime:
        return "timestamp";
    case FieldKind::TextBlob:
        return "blob sub_type text";
    case FieldKind::Blob:
        return "blob";
    }
    return "";
}

std::string joined(const std::vector<std::string>& names, const std::string& prefix = "") {
    std::string out;
    for (const std::string& name : names) out += (out.empty() ? "" : ", ") + prefix + name;
    return out;
}

std::vector<std::string> namesOf(const engine::TableDeclaration& declaration) {
    std::vector<std::string> names;
    for (const engine::FieldDeclaration& field : declaration.fields) names.emplace_back(field.name);
    return names;
}

std::string keyOf(const engine::TableDeclaration& declaration) {
    for (const engine::FieldDeclaration& field : declaration.fields)
        if (field.required) return std::string(field.name);
    return "";
}

std::string createTable(const engine::TableDeclaration& declaration) {
    std::string sql = "create table " + std::string(declaration.table) + " (";
    for (const engine::FieldDeclaration& field : declaration.fields) {
        if (&field != declaration.fields.data()) sql += ", ";
        sql += std::string(field.name) + " " + columnType(field) + (field.required ? " not null primary key" : "");
    }
    return sql + ");\n";
}

// The insert statement's columns as it names them, checked against the statement's shape.
std::vector<std::string> insertColumns(const engine::TableDeclaration& declaration) {
    const std::string sql(declaration.insertSql);
    const std::string head = "insert into " + std::string(declaration.table) + " (";
    const std::size_t end = sql.find(") values (");
    if (sql.rfind(head, 0) != 0 || end == std::string::npos) return {};
    std::vector<std::string> columns;
    std::string list = sql.substr(head.size(), end - head.size()) + ", ";
    for (std::size_t at = 0, comma; (comma = list.find(", ", at)) != std::string::npos; at = comma + 2)
        columns.push_back(list.substr(at, comma - at));
    return columns;
}

TEST(TableWriterDeclarations, EachOpensAndPostsAgainstATableBuiltFromItsFields) {
    struct Case {
        const engine::TableDeclaration& declaration;
        const char* writer;
        std::size_t fields;
    };
    const Case cases[] = {
        {engine::kClientesDeclaration, "IBDS_clientes", 45},
        {engine::kFornecedoresDeclaration, "IBDS_Fornecedor", 26},
        {engine::kGrupoDeclaration, "IBDS_Grupos", 4},
        {engine::kProdutosDeclaration, "IBDS_Produtos", 87},
    };
    std::string script;
    for (const Case& c : cases) script += createTable(c.declaration);
    Destination destination(script);

    for (const Case& c : cases) {
        const engine::TableDeclaration& declaration = c.declaration;
        const std::string table(declaration.table);
        SCOPED_TRACE(table);
        const std::vector<std::string> names = namesOf(declaration);
        const std::string key = keyOf(declaration);
        EXPECT_EQ(names.size(), c.fields);
        EXPECT_EQ(std::count_if(declaration.fields.begin(), declaration.fields.end(),
                                [](const engine::FieldDeclaration& field) { return field.required; }),
                  1);

        // The insert names every declared column once, in its own order, each with its parameter.
        const std::vector<std::string> columns = insertColumns(declaration);
        std::vector<std::string> sortedColumns = columns;
        std::vector<std::string> sortedNames = names;
        std::sort(sortedColumns.begin(), sortedColumns.end());
        std::sort(sortedNames.begin(), sortedNames.end());
        EXPECT_EQ(sortedColumns, sortedNames);
        EXPECT_EQ(declaration.insertSql,
                  "insert into " + table + " (" + joined(columns) + ") values (" + joined(columns, ":") + ")");
        EXPECT_EQ(declaration.refreshSql,
                  "Select " + joined(names) + " from " + table + " where " + key + " = :" + key);

        engine::TableWriter writer(c.writer, destination.attachment, destination.transaction, declaration);
        writer.open();
        writer.startNewRow();
        writer.fieldByName(key).setInteger(42);
        writer.post();
        EXPECT_EQ(writer.fieldByName(key).asInteger(), 42);
        EXPECT_EQ(destination.count(table), 1);
    }
}

}  // namespace
