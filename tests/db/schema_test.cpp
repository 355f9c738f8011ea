// The Merak and Tavlo schema files, with their sample data, load into fresh databases, and
// the destination tables stay in step with the table writers that fill them.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "statement.h"
#include "test_connection.h"
#include "test_database.h"

namespace {

// A database made from a schema file and its sample data, attached through the access layer.
class SchemaDatabase {
public:
    explicit SchemaDatabase(const std::string& name)
        : database_(test_support::schemaFile(name + "-schema.sql") +
                    test_support::schemaFile(name + "-sample-data.sql")),
          connection_(database_.connectionString()) {
        attachment_.open();
    }

    // The columns that "select * from" the table returns.
    std::size_t columnCount(const std::string& table) {
        db::Statement statement("columns", attachment_, transaction_);
        statement.setText("select * from " + table);
        statement.prepare();
        return statement.columns().size();
    }

    // Prepares the statement; throws when a table or column it names is missing.
    void prepare(const std::string& sql) {
        db::Statement statement("prepare", attachment_, transaction_);
        statement.setText(sql);
        statement.prepare();
    }

    // The column QTD of the first row that the query returns.
    std::int32_t count(const std::string& sql) {
        db::Statement statement("count", attachment_, transaction_);
        statement.setText(sql);
        statement.open();
        return statement.column("QTD").asInteger();
    }

private:
    test_support::TestDatabase database_;
    test_support::TestConnection connection_;
    db::Attachment& attachment_ = connection_.attachment;
    db::Transaction& transaction_ = connection_.transaction;
};

TEST(Schema, DestinationTablesHaveTheColumnsTheirWritersDeclare) {
    SchemaDatabase merak("merak");
    struct Case {
        const char* table;
        std::size_t columns;
    };
    for (const Case& c : {Case{"CLIENTES", 45}, Case{"FORNECEDORES", 26}, Case{"GRUPO", 4}, Case{"PRODUTOS", 87}})
        EXPECT_EQ(merak.columnCount(c.table), c.columns) << c.table;

    // A default value or a computed column would make a writer read every posted row back.
    EXPECT_EQ(merak.count("SELECT COUNT(*) AS QTD FROM RDB$RELATION_FIELDS RF"
                          " JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE"
                          " WHERE RF.RDB$RELATION_NAME IN ('CLIENTES', 'FORNECEDORES', 'GRUPO', 'PRODUTOS')"
                          " AND (RF.RDB$DEFAULT_SOURCE IS NOT NULL OR F.RDB$DEFAULT_SOURCE IS NOT NULL"
                          " OR F.RDB$COMPUTED_BLR IS NOT NULL)"),
              0);

    EXPECT_NO_THROW(merak.prepare("SELECT CID_CODMUNICIPIO FROM CIDADE WHERE CID_NOME = 'SÃO PAULO'"));
    EXPECT_NO_THROW(merak.prepare("SELECT VEN_CODIGO, VEN_NOME, SUP_CODIGO, VEN_EXPORTATABLET FROM VENDEDOR"));
    for (const char* sequence : {"GEN_CODCLI", "GEN_CODFOR", "GEN_ID_GRUPO", "CODIGO_PRODUTO"})
        EXPECT_NO_THROW(merak.prepare(std::string("SELECT GEN_ID(") + sequence + ", 0) FROM RDB$DATABASE")) << sequence;
}

TEST(Schema, SourceTablesHaveTheColumnsTheImportsRead) {
    SchemaDatabase tavlo("tavlo");
    const std::vector<std::string> selects = {
        "SELECT CODIGO, NOME, NASCIMENTO, CELULAR, ID_MUNICIPIO, COMPLEMENTO, ENDERECO, NUMERO, BAIRRO, CEP,"
        " CNPJ_CNPF, CADASTRO, IE_RG, TELEFONE, CIDADE, EMAIL FROM CLIENTE",
        "SELECT CODIGO, NOME, FANTASIA, ENDERECO, BAIRRO, CIDADE, UF, NUMERO, COMPLEMENTO, CONTATO, TELEFONE,"
        " CELULAR, EMAIL, CEP, CNPJ_CNPF, IE_RG FROM FORNECEDOR",
        "SELECT ID, DESCRICAO FROM GRUPOS",
        "SELECT CODIGO, UND, BARRAS, QTD, PRECO_CUSTO, PRECO_VENDA, MARGEM_LUCRO, DESCRICAO, ID_GRUPO, ST,"
        " COD_NCM, COD_CEST FROM ESTOQUE",
        "SELECT CODIGO FROM CEST WHERE ID = '03.010.00'",
        "SELECT ID, NOME FROM VENDEDOR",
    };
    for (const std::string& select : selects) EXPECT_NO_THROW(tavlo.prepare(select)) << select;

    // Repeated codes must reach the import: the source has no keys.
    EXPECT_EQ(tavlo.count("SELECT COUNT(*) AS QTD FROM RDB$RELATION_CONSTRAINTS"
                          " WHERE RDB$CONSTRAINT_TYPE IN ('PRIMARY KEY', 'UNIQUE') AND RDB$RELATION_NAME IN"
                          " ('CLIENTE', 'FORNECEDOR', 'GRUPOS', 'ESTOQUE', 'CEST', 'VENDEDOR')"),
              0);
}

}  // namespace
