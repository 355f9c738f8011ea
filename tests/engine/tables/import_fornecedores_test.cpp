#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "destination_row.h"
#include "import_fixture.h"
#include "table_imports.h"

namespace {

using import_tests::expectDestinationRow;
using import_tests::ExpectedColumn;
using test_support::ImportFixture;

// The day of the import, as DTCADASTRO should hold it.
const std::string kToday = "IIF(DTCADASTRO = CURRENT_DATE, 'today', CAST(DTCADASTRO AS VARCHAR(10)))";

TEST(ImportaFornecedores, WritesEveryColumnShorteningTheCopiedTexts) {
    const std::string prefix = "Distribuidora de Alimentos São João ";  // 36 characters
    const std::string nome120 = prefix + std::string(84, 'x');
    ImportFixture fixture(
        "INSERT INTO FORNECEDOR (CODIGO, NOME, FANTASIA, ENDERECO, BAIRRO, CIDADE, UF, NUMERO, COMPLEMENTO, CONTATO,"
        " TELEFONE, CELULAR, EMAIL, CEP, CNPJ_CNPF, IE_RG) VALUES (12, '" +
            nome120 +
            "', 'Açúcar & Cia',"
            " 'Rua das Laranjeiras', 'Água Verde', 'Curitiba', 'PR - Paraná', '1200-A', 'Galpão 3', 'Sr. Joaquim',"
            " '(41) 3333-4444', '(41) 99999-8888 ramal', 'vendas@acucar.com.br', '80.620-000', '12.345.678/0001-95',"
            " ' 90.123.456-78 ');\n"
            "INSERT INTO FORNECEDOR (CODIGO) VALUES (NULL);\n",
        "");
    ASSERT_NO_FATAL_FAILURE(fixture.connect());

    engine::ImportaFornecedores(fixture.tables());

    EXPECT_EQ(fixture.window.boxes, std::vector<std::string>{});
    EXPECT_EQ(fixture.tables().LogErros, std::vector<std::string>{});
    const std::vector<ExpectedColumn> fixedValues = {
        {kToday, "today"},        {"X_PAIS", "BRASIL"},        {"COD_PAIS", "1058"},
        {"CODGRUPO", "<null>"},   {"RAMOATIVIDADE", "<null>"}, {"TIPOFORNECEDOR", "<null>"},
        {"COD_CIDADE", "<null>"}, {"STATUS", "<null>"},        {"FOR_OBS", "<null>"},
    };
    std::vector<ExpectedColumn> full = {
        {"FORNECEDOR", prefix + std::string(64, 'x')},
        {"FANTASIA", "Açúcar & Cia"},
        {"ENDERECO", "Rua das Laranjeiras"},
        {"BAIRRO", "Água Verde"},
        {"CIDADE", "Curitiba"},
        {"UF", "PR"},
        {"CEP", "80620000"},
        {"CNPJ", "12345678000195"},
        {"CPF", "<null>"},
        {"IE", " 90.123.456-78 "},
        {"TELEFONE", "(41) 3333-4444"},
        {"FAX", "(41) 99999-888"},
        {"REPRESENTANTE", "Sr. Joaquim"},
        {"NUMERO", "1200-A"},
        {"COMPL", "Galpão 3"},
        {"EMAIL", "vendas@acucar.com.br"},
    };
    full.insert(full.end(), fixedValues.begin(), fixedValues.end());
    expectDestinationRow(fixture, "FORNECEDORES", "CODIGO = 12", full);

    // A supplier with a null code and nothing else: code 0, only the fixed values written.
    std::vector<ExpectedColumn> empty = {
        {"FORNECEDOR", "<null>"},    {"FANTASIA", "<null>"}, {"ENDERECO", "<null>"}, {"BAIRRO", "<null>"},
        {"CIDADE", "<null>"},        {"UF", "<null>"},       {"CEP", "<null>"},      {"CNPJ", "<null>"},
        {"CPF", "<null>"},           {"IE", "<null>"},       {"TELEFONE", "<null>"}, {"FAX", "<null>"},
        {"REPRESENTANTE", "<null>"}, {"NUMERO", "<null>"},   {"COMPL", "<null>"},    {"EMAIL", "<null>"},
    };
    empty.insert(empty.end(), fixedValues.begin(), fixedValues.end());
    expectDestinationRow(fixture, "FORNECEDORES", "CODIGO = 0", empty);
}

TEST(ImportaFornecedores, SplitsTheDocumentByDigitCountAndTestsTrimmedTexts) {
    struct Case {
        std::string column;
        std::string literal;
        std::vector<ExpectedColumn> expected;
    };
    auto document = [](const std::string& literal, const std::string& cnpj, const std::string& cpf) {
        return Case{"CNPJ_CNPF", literal, {{"CNPJ", cnpj}, {"CPF", cpf}}};
    };
    const std::vector<Case> cases = {
        document("'123.456.789-0'", "<null>", "1234567890"),
        document("'123.456.789-09'", "<null>", "12345678909"),
        document("'123.456.789-012'", "123456789012", "<null>"),
        document("'1.234.567/8901-23'", "1234567890123", "<null>"),
        document("'12.345.678/0001-95'", "12345678000195", "<null>"),
        document("'   '", "<null>", "<null>"),
        document("NULL", "<null>", "<null>"),
        document("'isento'", "<null>", "<null>"),
        {"IE_RG", "'  '", {{"IE", "<null>"}}},
        {"CEP", "'80620-000'", {{"CEP", "80620000"}}},
        {"CEP", "'  '", {{"CEP", "<null>"}}},
    };
    std::string source;
    for (std::size_t i = 0; i < cases.size(); ++i)
        source += "INSERT INTO FORNECEDOR (CODIGO, " + cases[i].column + ") VALUES (" + std::to_string(i + 1) + ", " +
                  cases[i].literal + ");\n";
    ImportFixture fixture(source, "");
    ASSERT_NO_FATAL_FAILURE(fixture.connect());

    engine::ImportaFornecedores(fixture.tables());

    EXPECT_EQ(fixture.tables().LogErros, std::vector<std::string>{});
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].column + " = " + cases[i].literal);
        expectDestinationRow(fixture, "FORNECEDORES", "CODIGO = " + std::to_string(i + 1), cases[i].expected);
    }
}

TEST(ImportaFornecedores, LogsRowsWithTextsTooLongForTheirColumns) {
    ImportFixture fixture(
        "INSERT INTO FORNECEDOR (CODIGO, NUMERO) VALUES (1, '123456789012');\n"
        "INSERT INTO FORNECEDOR (CODIGO, EMAIL) VALUES (2, '" +
            std::string(101, 'e') +
            "');\n"
            "INSERT INTO FORNECEDOR (CODIGO, IE_RG) VALUES (3, '" +
            std::string(21, '9') +
            "');\n"
            "INSERT INTO FORNECEDOR (CODIGO, CEP) VALUES (4, '80.620-000-123');\n"
            "INSERT INTO FORNECEDOR (CODIGO, CNPJ_CNPF) VALUES (5, '12.345.678/0001-95.12345');\n"
            "INSERT INTO FORNECEDOR (CODIGO, NUMERO, EMAIL) VALUES (6, '12345678901', '" +
            std::string(100, 'e') +
            "');\n"
            "INSERT INTO FORNECEDOR (CODIGO, NUMERO) VALUES (NULL, '123456789012');\n",
        "");
    ASSERT_NO_FATAL_FAILURE(fixture.connect());

    engine::ImportaFornecedores(fixture.tables());

    auto entry = [](const std::string& codigo, int length, int column) {
        return "Erro na importação de FORNECEDORES no Registro " + codigo + "\r\nTrying to store a string of length " +
               std::to_string(length) + " into a field that can only contain " + std::to_string(column) + "\r\n";
    };
    EXPECT_EQ(fixture.tables().LogErros,
              (std::vector<std::string>{entry("1", 12, 11), entry("2", 101, 100), entry("3", 21, 20),
                                        entry("4", 11, 10), entry("5", 19, 18), entry("0", 12, 11)}));
    EXPECT_EQ(fixture.window.boxes, std::vector<std::string>{});
    EXPECT_EQ(fixture.destinationRows("SELECT CODIGO FROM FORNECEDORES"), ImportFixture::Rows{{"6"}});
}

TEST(ImportaFornecedores, RestartsTheSequenceWithTheLastHandledCode) {
    struct Case {
        std::string name;
        std::string source;
        long long nextValue;
    };
    const std::string rows592 =
        "INSERT INTO FORNECEDOR (CODIGO) VALUES (5);\n"
        "INSERT INTO FORNECEDOR (CODIGO) VALUES (9);\n";
    const std::vector<Case> cases = {
        {"last row written", rows592 + "INSERT INTO FORNECEDOR (CODIGO) VALUES (2);\n", 3},
        {"last row refused", rows592 + "INSERT INTO FORNECEDOR (CODIGO) VALUES (5);\n", 6},
        {"last row refused, code 2", rows592 + "INSERT INTO FORNECEDOR (CODIGO, NUMERO) VALUES (2, '123456789012');\n",
         3},
        {"no row", "", 51},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImportFixture fixture(c.source,
                              "INSERT INTO FORNECEDORES (CODIGO) VALUES (77);\n"
                              "SET GENERATOR GEN_CODFOR TO 50;\n");
        ASSERT_NO_FATAL_FAILURE(fixture.connect());

        engine::ImportaFornecedores(fixture.tables());

        EXPECT_EQ(fixture.window.boxes, std::vector<std::string>{});
        EXPECT_EQ(test_support::nextSequenceValue(fixture.destination, "GEN_CODFOR"), c.nextValue);
        EXPECT_EQ(fixture.destinationRows("SELECT COUNT(*) FROM FORNECEDORES WHERE CODIGO = 77"),
                  ImportFixture::Rows{{"0"}});
    }
}

}  // namespace
