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

// A decimal or floating-point column as the server writes it, the same on every machine.
std::string decimal(const std::string& column) { return "CAST(" + column + " AS VARCHAR(40))"; }
std::string fourPlaces(const std::string& column) { return decimal("CAST(" + column + " AS NUMERIC(18, 4))"); }

const std::string kToday = "IIF(DATAALTERACAO = CURRENT_DATE, 'today', CAST(DATAALTERACAO AS VARCHAR(10)))";

const std::string kCest =
    "INSERT INTO CEST (ID, CODIGO) VALUES ('17.001.00', 1700100);\n"
    "INSERT INTO CEST (ID, CODIGO) VALUES ('01.003.00', 100300);\n"
    "INSERT INTO CEST (ID, CODIGO) VALUES ('A''B', 42);\n"
    "INSERT INTO CEST (ID, CODIGO) VALUES ('99.000.01', 12345678);\n";

// The tax columns of a product: ICMS, PERC_ICMS_EFETIVA, the four CFOP codes and CSOSN.
std::vector<ExpectedColumn> taxProfile(const std::string& icms, const std::string& cfopSaidaDentro,
                                       const std::string& cfopSaidaFora, const std::string& cfopEntradaDentro,
                                       const std::string& cfopEntradaFora, const std::string& csosn) {
    return {{decimal("ICMS"), icms},
            {decimal("PERC_ICMS_EFETIVA"), icms},
            {"CFOP_SAIDA_DENTRO", cfopSaidaDentro},
            {"CFOP_SAIDA_FORA", cfopSaidaFora},
            {"CFOP_ENTRADA_DENTRO", cfopEntradaDentro},
            {"CFOP_ENTRADA_FORA", cfopEntradaFora},
            {"CSOSN", csosn}};
}

TEST(ImportaProdutos, WritesEveryColumnWithTheFixedDefaults) {
    ImportFixture fixture(
        kCest +
            "INSERT INTO ESTOQUE (CODIGO, UND, BARRAS, QTD, PRECO_CUSTO, PRECO_VENDA, MARGEM_LUCRO, DESCRICAO, "
            "ID_GRUPO,"
            " ST, COD_NCM, COD_CEST) VALUES (10, ' KG ', ' 7891000100103 ', 12.5, 3.45, 5.99, 73.6232,"
            " 'Queijo minas frescal artesanal da Serra da Canastra, peça de aproximadamente 1 kg', 3, '102',"
            " ' 04061010 ', '17.001.00');\n",
        "");
    ASSERT_NO_FATAL_FAILURE(fixture.connect());

    engine::ImportaProdutos(fixture.tables());

    EXPECT_EQ(fixture.window.boxes, std::vector<std::string>{});
    EXPECT_EQ(fixture.tables().LogErros, std::vector<std::string>{});
    std::vector<ExpectedColumn> expected = {
        {"CODIGO", "10"},
        {"CODGRUPO", "3"},
        {"CODBARRAS", "7891000100103"},
        {"DESCRICAO", "Queijo minas frescal artesanal da Serra da Canastra, peça de"},
        {"MODELO", "56e45"},
        {fourPlaces("SALDO"), "12.5000"},
        {decimal("PRECOCUSTO"), "3.45"},
        {decimal("PRECOVENDA"), "5.99"},
        {"PONTO", "<null>"},
        {decimal("ESTMIN"), "0.000"},
        {decimal("ESTMAX"), "0.000"},
        {"CODFORNECEDOR", "<null>"},
        {"UNIDADE", "KG"},
        {"FOTO", "<null>"},
        {kToday, "today"},
        {fourPlaces("MARGEM"), "73.6232"},
        {"FANTASIA", "<null>"},
        {decimal("PRECOATACADO"), "0.00"},
        {fourPlaces("MARGEMATACADO"), "0.0000"},
        {"CODIGOFISCAL", "<null>"},
        {"CODIGOALTERNATIVO", "10"},
        {"QTDCAIXA", "<null>"},
        {"PRECODOLAR", "<null>"},
        {"TIPOPRODUTO", "P"},
        {"CODFAMILIA", "0"},
        {"PESOCAIXA", "<null>"},
        {"IPI", "<null>"},
        {"CST", "<null>"},
        {"ICMS_ALIQ_ST", "<null>"},
        {"ICMS_REDUCAO", "<null>"},
        {"ICMS_REDUCAO_ST", "<null>"},
        {"ICMS_BC_MOD", "3"},
        {"ICMS_BC_MARGEM", "<null>"},
        {"ICMS_BC_VALOR", "<null>"},
        {"ICMS_BC_ST_MOD", "<null>"},
        {"ICMS_BC_ST_MARGEM", "<null>"},
        {"ICMS_BC_ST_VALOR", "<null>"},
        {"COD_PIS", "07"},
        {"ALIQ_PIS", "<null>"},
        {"ALIQ_PIS_VALOR", "<null>"},
        {"COD_COFINS", "07"},
        {"ALIQ_COFINS", "<null>"},
        {"ALIQ_COFINS_VALOR", "<null>"},
        {"IPI_SIT", "52"},
        {"ORIGEM", "0"},
        {"NCM", "04061010"},
        {"CEST", "1700100"},
        {"ICMS_PMVAST", "<null>"},
        {"CFOP_IMPORTACAO", "<null>"},
        {"CFOP_EXPORTACAO", "<null>"},
        {"ICMS_IMPORTACAO", "<null>"},
        {"N_SERIE", "<null>"},
        {"STATUS", "S"},
        {"COD_ENQ_IPI", "304"},
        {"SALDO_LOJA", "<null>"},
        {"COD_FORN_ULTIMA", "<null>"},
        {"DATA_ULT_COMPRA", "<null>"},
        {"PRECO_ULT_COMPRA", "<null>"},
        {"QTD_ULT_COMPRA", "<null>"},
        {"USUARIO_INC", "<null>"},
        {"DATA_HORA_INC", "<null>"},
        {"USUARIO_ALT", "<null>"},
        {"DATA_HORA_ALT", "<null>"},
        {"VALIDADE", "0"},
        {"LOCALIDADE", "<null>"},
        {"ELO_LIG", "<null>"},
        {"OBS", "<null>"},
        {decimal("FAT_CONV"), "1.00"},
        {"UND_ENT", "<null>"},
        {"BALANCA", "S"},
        {"KIT", "N"},
        {"PERC_RED_BC_EFETIVA", "<null>"},
        {"VL_BC_ST_RET", "<null>"},
        {"PERC_ST", "<null>"},
        {"VL_ICMS_RET", "<null>"},
        {"VL_BC_EFETIVA", "<null>"},
        {"VL_ICMS_EFETIVA", "<null>"},
        {"VALOR_ICMS_ST", "<null>"},
        {"VALOR_BC_ST", "<null>"},
        {decimal("PERC_CUSTO_ESTIMADO"), "0.00"},
    };
    const std::vector<ExpectedColumn> tax = taxProfile("17.00", "5102", "6102", "1102", "2102", "102");
    expected.insert(expected.end(), tax.begin(), tax.end());
    expectDestinationRow(fixture, "PRODUTOS", "CODIGO = 10", expected);
}

TEST(ImportaProdutos, ChoosesScaleFlagTaxProfileAndCestPerProduct) {
    struct Case {
        std::string column;
        std::string literal;
        std::vector<ExpectedColumn> expected;
    };
    auto unidade = [](const std::string& literal, const std::string& unit, const std::string& balanca) {
        return Case{"UND", literal, {{"UNIDADE", unit}, {"BALANCA", balanca}}};
    };
    auto st = [](const std::string& literal, std::vector<ExpectedColumn> tax) {
        tax.push_back({"IPI_SIT", "52"});  // the fixed defaults do not depend on the profile
        return Case{"ST", literal, tax};
    };
    auto cest = [](const std::string& literal, const std::string& code) {
        return Case{"COD_CEST", literal, {{"CEST", code}}};
    };
    const std::vector<ExpectedColumn> noProfile =
        taxProfile("<null>", "<null>", "<null>", "<null>", "<null>", "<null>");
    const std::vector<Case> cases = {
        unidade("' KG '", "KG", "S"),
        unidade("'kg'", "kg", "<null>"),
        unidade("'UN'", "UN", "<null>"),
        unidade("NULL", "<null>", "<null>"),
        st("'500'", taxProfile("0.00", "5405", "6405", "1405", "2405", "500")),
        st("' 102'", noProfile),
        st("'102 '", noProfile),
        st("NULL", noProfile),
        cest("'01.003.00'", "100300"),
        cest("'A''B'", "42"),
        cest("'17.999.99'", "0"),
        cest("' 17.001.00'", "0"),
        cest("''", "<null>"),
        cest("NULL", "<null>"),
    };
    std::string source = kCest;
    for (std::size_t i = 0; i < cases.size(); ++i)
        source += "INSERT INTO ESTOQUE (CODIGO, " + cases[i].column + ") VALUES (" + std::to_string(i + 1) + ", " +
                  cases[i].literal + ");\n";
    ImportFixture fixture(source, "");
    ASSERT_NO_FATAL_FAILURE(fixture.connect());

    engine::ImportaProdutos(fixture.tables());

    EXPECT_EQ(fixture.window.boxes, std::vector<std::string>{});
    EXPECT_EQ(fixture.tables().LogErros, std::vector<std::string>{});
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].column + " = " + cases[i].literal);
        expectDestinationRow(fixture, "PRODUTOS", "CODIGO = " + std::to_string(i + 1), cases[i].expected);
    }
}

TEST(ImportaProdutos, LogsRefusedProductsWithAnEntryEndingInACarriageReturn) {
    ImportFixture fixture(kCest +
                              "INSERT INTO ESTOQUE (CODIGO) VALUES (10);\n"
                              "INSERT INTO ESTOQUE (CODIGO, BARRAS) VALUES (40, ' 789100010010312345678 ');\n"
                              "INSERT INTO ESTOQUE (CODIGO, COD_CEST) VALUES (30, '99.000.01');\n"
                              "INSERT INTO ESTOQUE (CODIGO, UND) VALUES (20, ' CAIXA1 ');\n",
                          "");
    ASSERT_NO_FATAL_FAILURE(fixture.connect());

    engine::ImportaProdutos(fixture.tables());

    EXPECT_EQ(fixture.window.boxes, std::vector<std::string>{});
    EXPECT_EQ(fixture.tables().LogErros,
              (std::vector<std::string>{
                  "Erro na importação de PRODUTO no Registro 40\r\n"
                  "Trying to store a string of length 21 into a field that can only contain 20\r",
                  "Erro na importação de PRODUTO no Registro 30\r\n"
                  "Trying to store a string of length 8 into a field that can only contain 7\r",
                  "Erro na importação de PRODUTO no Registro 20\r\n"
                  "Trying to store a string of length 6 into a field that can only contain 5\r",
              }));
    EXPECT_EQ(fixture.destinationRows("SELECT CODIGO FROM PRODUTOS"), ImportFixture::Rows{{"10"}});
}

TEST(ImportaProdutos, RestartsTheSequenceWithTheLastHandledCode) {
    struct Case {
        std::string name;
        std::string source;
        long long nextValue;
    };
    const std::string rows1040 =
        "INSERT INTO ESTOQUE (CODIGO) VALUES (10);\n"
        "INSERT INTO ESTOQUE (CODIGO) VALUES (40);\n";
    const std::vector<Case> cases = {
        {"last row written", rows1040 + "INSERT INTO ESTOQUE (CODIGO) VALUES (20);\n", 21},
        {"last row refused", rows1040 + "INSERT INTO ESTOQUE (CODIGO, UND) VALUES (20, 'CAIXA1');\n", 21},
        {"no row", "", 51},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImportFixture fixture(c.source,
                              "INSERT INTO PRODUTOS (CODIGO) VALUES (77);\n"
                              "SET GENERATOR CODIGO_PRODUTO TO 50;\n");
        ASSERT_NO_FATAL_FAILURE(fixture.connect());

        engine::ImportaProdutos(fixture.tables());

        EXPECT_EQ(fixture.window.boxes, std::vector<std::string>{});
        EXPECT_EQ(test_support::nextSequenceValue(fixture.destination, "CODIGO_PRODUTO"), c.nextValue);
        EXPECT_EQ(fixture.destinationRows("SELECT COUNT(*) FROM PRODUTOS WHERE CODIGO = 77"),
                  ImportFixture::Rows{{"0"}});
    }
}

TEST(ImportaProdutos, SourceWithoutCestTableEndsTheTableAtTheFirstLookup) {
    ImportFixture fixture(
        "DROP TABLE CEST;\n"
        "INSERT INTO ESTOQUE (CODIGO, COD_CEST) VALUES (10, NULL);\n"
        "INSERT INTO ESTOQUE (CODIGO, COD_CEST) VALUES (40, '17.001.00');\n"
        "INSERT INTO ESTOQUE (CODIGO, COD_CEST) VALUES (20, NULL);\n",
        "SET GENERATOR CODIGO_PRODUTO TO 50;\n");
    ASSERT_NO_FATAL_FAILURE(fixture.connect());

    engine::ImportaProdutos(fixture.tables());

    EXPECT_EQ(fixture.window.boxes,
              std::vector<std::string>{"plain: Falha na importação da tabela de Produtos, Falha: \r\n"
                                       "Dynamic SQL Error\r\n"
                                       "SQL error code = -204\r\n"
                                       "Table unknown\r\n"
                                       "CEST\r\n"
                                       "At line 1, column 20"});
    EXPECT_EQ(fixture.tables().LogErros, std::vector<std::string>{});
    EXPECT_EQ(fixture.destinationRows("SELECT CODIGO FROM PRODUTOS"), ImportFixture::Rows{{"10"}});
    EXPECT_EQ(test_support::nextSequenceValue(fixture.destination, "CODIGO_PRODUTO"), 51);
}

}  // namespace
