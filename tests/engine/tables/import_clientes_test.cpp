#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "destination_row.h"
#include "import_fixture.h"
#include "statement.h"
#include "table_imports.h"

namespace {

using import_tests::expectDestinationRow;
using import_tests::ExpectedColumn;
using test_support::ImportFixture;

const std::string kCidades =
    "INSERT INTO CIDADE (CID_CODMUNICIPIO, CID_NOME) VALUES (3550308, 'SÃO PAULO');\n"
    "INSERT INTO CIDADE (CID_CODMUNICIPIO, CID_NOME) VALUES (3545803, 'SANTA BÁRBARA D''OESTE');\n"
    "INSERT INTO CIDADE (CID_CODMUNICIPIO, CID_NOME) VALUES (4106902, 'CURITIBA');\n";

// One source client: some of its columns with their SQL literals, and what the import
// should write for it.
struct ClienteCase {
    std::string sourceColumns;
    std::string sourceValues;
    std::vector<ExpectedColumn> expected;
};

// Imports one client per case, with codes 1, 2, 3, ..., and checks what each became. None of
// the cases is refused and none logs anything.
void importAndCheck(const std::vector<ClienteCase>& cases) {
    std::string source;
    for (std::size_t i = 0; i < cases.size(); ++i)
        source += "INSERT INTO CLIENTE (CODIGO, NOME, " + cases[i].sourceColumns + ") VALUES (" +
                  std::to_string(i + 1) + ", 'Cliente " + std::to_string(i + 1) + "', " + cases[i].sourceValues +
                  ");\n";
    ImportFixture fixture(source, kCidades);
    ASSERT_NO_FATAL_FAILURE(fixture.connect());

    engine::ImportaClientes(fixture.tables());

    EXPECT_EQ(fixture.window.boxes, std::vector<std::string>{});
    EXPECT_EQ(fixture.tables().LogErros, std::vector<std::string>{});
    EXPECT_EQ(fixture.tables().LogClienteRepetido, std::vector<std::string>{});
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].sourceColumns + " = " + cases[i].sourceValues);
        expectDestinationRow(fixture, "CLIENTES", "CODIGO = " + std::to_string(i + 1), cases[i].expected);
    }
}

TEST(ImportaClientes, WritesEveryColumnOfAFullAndOfAnEmptyClient) {
    const std::string source =
        "INSERT INTO CLIENTE (CODIGO, NOME, NASCIMENTO, CELULAR, ID_MUNICIPIO, COMPLEMENTO, ENDERECO, NUMERO, BAIRRO,"
        " CEP, CNPJ_CNPF, CADASTRO, IE_RG, TELEFONE, CIDADE, EMAIL) VALUES (7, 'Padaria Pão de Açúcar Ltda',"
        " '1980-02-15', '(11) 98765-4321 ramal 2', 3550308, 'Sala 2',"
        " 'Avenida Paulista, 1578 - Bela Vista - Edifício Conjunto Nacional', '1578', 'Bela Vista', '01310-200',"
        " '12.345.678/0001-95', '2019-05-05 14:10:00', '110.042.490.114', '(11) 3251-5000 r.2', 'São Paulo',"
        " 'contato@paodeacucar.com.br');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (NULL, 'Cliente Sem Código');\n";
    ImportFixture fixture(source, kCidades);
    ASSERT_NO_FATAL_FAILURE(fixture.connect());

    engine::ImportaClientes(fixture.tables());

    EXPECT_EQ(fixture.window.boxes, std::vector<std::string>{});
    EXPECT_EQ(fixture.tables().LogErros, std::vector<std::string>{});
    const std::vector<ExpectedColumn> fixedValues = {
        {"CODMAQUINA", "<null>"},
        {"CODVENDEDOR", "0"},
        {"CODFORMAPAG", "<null>"},
        {"UF", "<null>"},
        {"PONTOS", "<null>"},
        {"CODIGOALTERNATIVO", "<null>"},
        {"OBS", "<null>"},
        {"APELIDO", "<null>"},
        {"DTNASCIMENTO", "<null>"},
        {"REPARO", "<null>"},
        {"LIMITE", "<null>"},
        {"MANUTENCAO", "<null>"},
        {"TRANSPORTADORA", "<null>"},
        {"CONTATO", "<null>"},
        {"FABRICA", "<null>"},
        {"REGIAO", "<null>"},
        {"CODINDUSTRIA", "<null>"},
        {"TIPO", "<null>"},
        {"CODCID", "<null>"},
        {"COD_PAIS", "1058"},
        {"X_PAIS", "BRASIL"},
        {"COD_CONTRATO", "<null>"},
        {"COD_ORGAO", "<null>"},
        {"STATUS", "A"},
        {"CONTRIBUINTE", "<null>"},
        {"BLOQUEADO", "N"},
    };
    std::vector<ExpectedColumn> full = {
        {"NOME", "Padaria Pão de Açúcar Ltda"},
        {"ENDERECO", "Avenida Paulista, 1578 - Bela Vista - Edifício Con"},
        {"BAIRRO", "Bela Vista"},
        {"CIDADE", "3550308"},
        {"CEP", "01310200"},
        {"CGC", "12345678000195"},
        {"CPF", "<null>"},
        {"IE", "110042490114"},
        {"TIPOPESSOA", "J"},
        {"TELEFONE", "(11) 3251-500"},
        {"CAST(DTCADASTRO AS CHAR(10))", "2019-05-05"},
        {"TIPOCLIENTE", "2"},
        {"CELULAR", "(11) 98765-4321"},
        {"EMAIL", "contato@paodeacucar.com.br"},
        {"COMPL", "Sala 2"},
        {"NUMERO", "1578"},
        {"COD_CID", "3550308"},
        {"CAST(DT_NASCIMENTO AS CHAR(10))", "1980-02-15"},
    };
    full.insert(full.end(), fixedValues.begin(), fixedValues.end());
    expectDestinationRow(fixture, "CLIENTES", "CODIGO = 7", full);

    // A client with nothing but a name: its null code is written as 0 and its null birth
    // date as the zero date.
    std::vector<ExpectedColumn> empty = {
        {"NOME", "Cliente Sem Código"},
        {"ENDERECO", "<null>"},
        {"BAIRRO", "<null>"},
        {"CIDADE", "<null>"},
        {"CEP", "<null>"},
        {"CGC", "<null>"},
        {"CPF", "<null>"},
        {"IE", "<null>"},
        {"TIPOPESSOA", "<null>"},
        {"TELEFONE", "<null>"},
        {"DTCADASTRO", "<null>"},
        {"TIPOCLIENTE", "<null>"},
        {"CELULAR", "<null>"},
        {"EMAIL", "<null>"},
        {"COMPL", "<null>"},
        {"NUMERO", "<null>"},
        {"COD_CID", "0"},
        {"CAST(DT_NASCIMENTO AS CHAR(10))", "1899-12-30"},
    };
    empty.insert(empty.end(), fixedValues.begin(), fixedValues.end());
    expectDestinationRow(fixture, "CLIENTES", "CODIGO = 0", empty);
}

TEST(ImportaClientes, ChoosesCnpjOrCpfByExactDigitCount) {
    auto document = [](const std::string& cgc, const std::string& cpf, const std::string& tipoCliente,
                       const std::string& tipoPessoa) {
        return std::vector<ExpectedColumn>{
            {"CGC", cgc}, {"CPF", cpf}, {"TIPOCLIENTE", tipoCliente}, {"TIPOPESSOA", tipoPessoa}};
    };
    const std::vector<ExpectedColumn> none = document("<null>", "<null>", "<null>", "<null>");
    importAndCheck({
        {"CNPJ_CNPF", "'12.345.678/0001-95'", document("12345678000195", "<null>", "2", "J")},
        {"CNPJ_CNPF", "'123.456.789-09'", document("<null>", "12345678909", "1", "F")},
        {"CNPJ_CNPF", "'123.456.789-012'", none},
        {"CNPJ_CNPF", "'1.234.567/8901-2'", none},
        {"CNPJ_CNPF", "'12.345.678/0001-955'", none},
        {"CNPJ_CNPF", "'   '", none},
        {"CNPJ_CNPF", "'isento'", none},
        {"CNPJ_CNPF", "NULL", none},
    });
}

TEST(ImportaClientes, ConvertsNumeroAsAnIntegerLiteralAndZeroOtherwise) {
    auto numero = [](const std::string& literal, const std::string& expected) {
        return ClienteCase{"NUMERO", literal, {{"NUMERO", expected}}};
    };
    importAndCheck({
        numero("'123'", "123"),
        numero("'  45'", "45"),
        numero("'-7'", "-7"),
        numero("'$1F'", "31"),
        numero("'0x10'", "16"),
        numero("'12A'", "0"),
        numero("'S/N'", "0"),
        numero("'12 '", "0"),
        numero("'3000000000'", "0"),
        numero("'   '", "<null>"),
        numero("NULL", "<null>"),
    });
}

TEST(ImportaClientes, TestsTrimmedTextsButWritesTheTextAsRead) {
    auto one = [](const std::string& source, const std::string& literal, const std::string& destination,
                  const std::string& expected) {
        return ClienteCase{source, literal, {{destination, expected}}};
    };
    importAndCheck({
        one("CEP", "'01310-100'", "CEP", "01310100"),
        one("CEP", "'   '", "CEP", "<null>"),
        one("CEP", "'sem cep'", "CEP", "<null>"),
        one("ENDERECO", "'   '", "ENDERECO", "   "),
        one("ENDERECO", "''", "ENDERECO", "<null>"),
        one("BAIRRO", "'   '", "BAIRRO", "<null>"),
        one("BAIRRO", "' Centro '", "BAIRRO", " Centro "),
        one("BAIRRO", "'Jardim Paulista Residencial Norte'", "BAIRRO", "Jardim Paulista Residencial No"),
        one("IE_RG", "' 110.042.490.114 '", "IE", "110042490114"),
        one("IE_RG", "'  '", "IE", "<null>"),
        one("TELEFONE", "'  '", "TELEFONE", "  "),
        one("EMAIL", "'  '", "EMAIL", "<null>"),
        one("EMAIL", "' joana@exemplo.com.br'", "EMAIL", " joana@exemplo.com.br"),
        one("CADASTRO", "'2019-05-05 23:59:59'", "CAST(DTCADASTRO AS CHAR(10))", "2019-05-05"),
        one("CADASTRO", "NULL", "DTCADASTRO", "<null>"),
    });
}

TEST(ImportaClientes, LooksTheCityUpByItsNameInCapitals) {
    auto cidade = [](const std::string& literal, const std::string& expected) {
        return ClienteCase{"CIDADE", literal, {{"CIDADE", expected}}};
    };
    importAndCheck({
        cidade("'São Paulo'", "3550308"),
        cidade("'Santa Bárbara d''Oeste'", "3545803"),
        cidade("'curitiba'", "4106902"),
        cidade("'Cidade Inexistente'", "0"),
        cidade("' Curitiba'", "0"),
        cidade("'   '", "<null>"),
        cidade("NULL", "<null>"),
    });
}

TEST(ImportaClientes, LogsAFailedCityLookupAndStillPostsTheClient) {
    ImportFixture fixture(
        "INSERT INTO CLIENTE (CODIGO, NOME, CIDADE) VALUES (1, 'Maria', 'Recife');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME, CIDADE) VALUES (2, 'José', NULL);\n",
        "DROP TABLE CIDADE;\n");
    ASSERT_NO_FATAL_FAILURE(fixture.connect());

    engine::ImportaClientes(fixture.tables());

    EXPECT_EQ(fixture.window.boxes, std::vector<std::string>{});
    EXPECT_EQ(fixture.tables().LogErros,
              std::vector<std::string>{"Erro no retorno do CÓDIGO DE CIDADE Cód. IBGE  Recife\r\n"
                                       "Dynamic SQL Error\r\n"
                                       "SQL error code = -204\r\n"
                                       "Table unknown\r\n"
                                       "CIDADE\r\n"
                                       "At line 1, column 30\r\n"});
    EXPECT_EQ(fixture.destinationRows("SELECT CODIGO, CIDADE FROM CLIENTES ORDER BY CODIGO"),
              (ImportFixture::Rows{{"1", "0"}, {"2", "<null>"}}));
}

// A city is asked of the server once per run, but each row that asks for a city whose lookup
// failed gets its own entry, as when every row asked.
TEST(ImportaClientes, LogsARememberedLookupFailureForEachRowThatAsks) {
    ImportFixture fixture(
        "INSERT INTO CLIENTE (CODIGO, NOME, CIDADE) VALUES (1, 'Maria', 'Recife');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME, CIDADE) VALUES (2, 'José', 'Olinda');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME, CIDADE) VALUES (3, 'Ana', 'Recife');\n",
        "DROP TABLE CIDADE;\n");
    ASSERT_NO_FATAL_FAILURE(fixture.connect());

    engine::ImportaClientes(fixture.tables());

    const std::string failure =
        "Dynamic SQL Error\r\nSQL error code = -204\r\nTable unknown\r\nCIDADE\r\n"
        "At line 1, column 30\r\n";
    EXPECT_EQ(fixture.tables().LogErros,
              (std::vector<std::string>{"Erro no retorno do CÓDIGO DE CIDADE Cód. IBGE  Recife\r\n" + failure,
                                        "Erro no retorno do CÓDIGO DE CIDADE Cód. IBGE  Olinda\r\n" + failure,
                                        "Erro no retorno do CÓDIGO DE CIDADE Cód. IBGE  Recife\r\n" + failure}));
    EXPECT_EQ(fixture.destinationRows("SELECT CODIGO, CIDADE FROM CLIENTES ORDER BY CODIGO"),
              (ImportFixture::Rows{{"1", "0"}, {"2", "0"}, {"3", "0"}}));
}

TEST(ImportaClientes, SortsRefusedClientsIntoThreeKindsOfEntry) {
    const std::string complemento60(60, 'c');
    const std::string source =
        "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (1, 'Ana');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (1, 'Ana Repetida');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME, CEP) VALUES (2, 'Bruno', '01310-100-99');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME, IE_RG) VALUES (3, 'Carla \"Cacá\" Souza', '1234567890123456');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (NULL, 'Sem Código');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (NULL, 'Sem Código Também');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (4, 'Davi');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME, COMPLEMENTO) VALUES (9, 'Eva', '" +
        complemento60 + "');\n";
    // A destination whose IE column holds 15 characters, fewer than the client writer declares.
    ImportFixture fixture(source, "ALTER TABLE CLIENTES DROP IE;\nALTER TABLE CLIENTES ADD IE VARCHAR(15);\n");
    ASSERT_NO_FATAL_FAILURE(fixture.connect());

    engine::ImportaClientes(fixture.tables());

    EXPECT_EQ(fixture.window.boxes, std::vector<std::string>{});
    EXPECT_EQ(fixture.tables().LogErros,
              (std::vector<std::string>{
                  "Erro na importação de CLIENTES no cód. cliente: 2\r\n"
                  "Trying to store a string of length 10 into a field that can only contain 9\r\n",
                  "Alerta!!! Na importação de CLIENTES no cliente: 3\r\n"
                  "O Cliente: \"Carla \"Cacá\" Souza\" possui o CNPJ inválido! A quantidade de números ultrapassou o "
                  "limite.\r\n",
                  "Erro na importação de CLIENTES no cód. cliente: 9\r\n"
                  "Trying to store a string of length 51 into a field that can only contain 50\r\n",
              }));
    EXPECT_EQ(fixture.tables().LogClienteRepetido,
              (std::vector<std::string>{"Cod. Cliente: 1 Nome Cliente: Ana Repetida",
                                        "Cod. Cliente: 0 Nome Cliente: Sem Código Também"}));
    EXPECT_EQ(fixture.destinationRows("SELECT CODIGO, NOME FROM CLIENTES ORDER BY CODIGO"),
              (ImportFixture::Rows{{"0", "Sem Código"}, {"1", "Ana"}, {"4", "Davi"}}));
    EXPECT_EQ(fixture.window.gauge.position(), 6) << "the gauge stops at the count of non-null codes";
    // The last client was refused: the sequence still restarts with its code plus one, and the
    // server's next value follows that.
    EXPECT_EQ(test_support::nextSequenceValue(fixture.destination, "GEN_CODCLI"), 11);
}

// What a client import leaves that the user sees, apart from the destination's rows.
struct ClientesSeen {
    std::vector<std::string> logErros;
    std::vector<std::string> logClienteRepetido;
    std::vector<std::string> refusals;  // key: reason
    int gauge = 0;
    std::optional<long long> sequenceValue;
    ImportFixture::Rows rowsSeenByTheRun;
};

ClientesSeen importClientes(const std::string& source, engine::RunMode mode, std::size_t mostRowsPerBlock) {
    // CIDADE cannot be read: each client with a city logs a failed lookup while it is filled.
    ImportFixture fixture(source,
                          "DROP TABLE CIDADE;\n"
                          "ALTER TABLE CLIENTES DROP IE;\nALTER TABLE CLIENTES ADD IE VARCHAR(15);\n");
    fixture.connect();
    engine::RunState& run = fixture.tables(mode);
    run.mostRowsPerBlock = mostRowsPerBlock;
    engine::ImportaClientes(run);
    ClientesSeen seen{run.LogErros,
                      run.LogClienteRepetido,
                      {},
                      fixture.window.gauge.position(),
                      run.outcomes.at(0).sequenceValue,
                      {}};
    for (const engine::RefusedRow& row : run.refusedRows) seen.refusals.push_back(row.key + ": " + row.reason);
    db::Statement query("", fixture.session.IBDatabaseDestino, fixture.session.IBTransactionFireBird);
    query.setText("SELECT CODIGO, NOME, CIDADE FROM CLIENTES ORDER BY CODIGO");
    query.open();
    for (; !query.eof(); query.next())
        seen.rowsSeenByTheRun.push_back({query.column(0).asText(), query.column(1).asText(), query.column(2).asText()});
    return seen;
}

// Sent in blocks, a preview and an all-or-nothing table log exactly what one row at a time
// logs, in the same order: a block whose second row the server refuses (a repeated code), rows
// the writer refuses before the server (the last of them two rows before the end), failed
// lookups made while rows are filled, and a last row refused by the writer.
TEST(ImportaClientes, RowsSentInBlocksLogWhatOneRowAtATimeLogs) {
    const std::string source =
        "INSERT INTO CLIENTE (CODIGO, NOME, CIDADE) VALUES (1, 'Ana', 'Recife');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (1, 'Ana Repetida');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME, CEP, CIDADE) VALUES (2, 'Bruno', '01310-100-99', 'Olinda');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME) VALUES (5, 'Edu');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME, CIDADE) VALUES (6, 'Fabi', 'Recife');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME, IE_RG) VALUES (3, 'Carla', '1234567890123456');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME, CIDADE) VALUES (4, 'Davi', 'Natal');\n"
        "INSERT INTO CLIENTE (CODIGO, NOME, COMPLEMENTO) VALUES (9, 'Eva', '" +
        std::string(60, 'c') + "');\n";
    const ClientesSeen oneAtATime = importClientes(source, engine::RunMode::Default, 50);
    ASSERT_EQ(oneAtATime.logErros.size(), 7u);
    ASSERT_EQ(oneAtATime.logClienteRepetido.size(), 1u);
    EXPECT_EQ(oneAtATime.sequenceValue, 10);
    for (const engine::RunMode mode : {engine::RunMode::Preview, engine::RunMode::AllOrNothing}) {
        for (const std::size_t blockRows : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{50}}) {
            SCOPED_TRACE((mode == engine::RunMode::Preview ? "preview, blocks of " : "all-or-nothing, blocks of ") +
                         std::to_string(blockRows));
            const ClientesSeen inBlocks = importClientes(source, mode, blockRows);
            EXPECT_EQ(inBlocks.logErros, oneAtATime.logErros);
            EXPECT_EQ(inBlocks.logClienteRepetido, oneAtATime.logClienteRepetido);
            EXPECT_EQ(inBlocks.refusals, oneAtATime.refusals);
            EXPECT_EQ(inBlocks.gauge, oneAtATime.gauge);
            EXPECT_EQ(inBlocks.sequenceValue, oneAtATime.sequenceValue);
            EXPECT_EQ(inBlocks.rowsSeenByTheRun, oneAtATime.rowsSeenByTheRun);
        }
    }
}

TEST(ImportaClientes, EmptySourceEmptiesClientesAndRestartsTheSequenceWithOne) {
    ImportFixture fixture("",
                          "INSERT INTO CLIENTES (CODIGO, NOME) VALUES (5, 'Antigo');\n"
                          "SET GENERATOR GEN_CODCLI TO 500;\n");
    ASSERT_NO_FATAL_FAILURE(fixture.connect());

    engine::ImportaClientes(fixture.tables());

    EXPECT_EQ(fixture.window.boxes, std::vector<std::string>{});
    EXPECT_EQ(fixture.destinationRows("SELECT CODIGO FROM CLIENTES"), ImportFixture::Rows{});
    EXPECT_EQ(test_support::nextSequenceValue(fixture.destination, "GEN_CODCLI"), 2);
}

}  // namespace
