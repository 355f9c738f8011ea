#include "bench_data.h"

namespace bench {

// The source: clients spread over ten cities, products over the tax profiles and units, each
// with a CEST code from a table of a thousand, and sellers.
std::string sourceScript(long rows) {
    return "SET TERM ^ ;\n"
           "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN\n"
           "  WHILE (I <= 1000) DO BEGIN\n"
           "    INSERT INTO CEST (ID, CODIGO) VALUES ('C' || LPAD(:I, 6, '0'), 1700000 + :I);\n"
           "    I = I + 1;\n"
           "  END\n"
           "  I = 1;\n"
           "  WHILE (I <= " +
           std::to_string(rows) +
           ") DO BEGIN\n"
           "    INSERT INTO CLIENTE (CODIGO, NOME, NASCIMENTO, CELULAR, ID_MUNICIPIO, COMPLEMENTO, ENDERECO, NUMERO,\n"
           "      BAIRRO, CEP, CNPJ_CNPF, CADASTRO, IE_RG, TELEFONE, CIDADE, EMAIL) VALUES (:I,\n"
           "      'Cliente Número ' || :I, DATEADD(MOD(:I, 15000) DAY TO DATE '1950-01-01'),\n"
           "      '(11) 9' || LPAD(MOD(:I, 10000), 4, '0') || '-4321', 3550308,\n"
           "      IIF(MOD(:I, 3) = 0, 'Sala ' || MOD(:I, 40), NULL), 'Rua das Acácias, ' || :I, MOD(:I, 3000),\n"
           "      'Jardim América', '01310-' || LPAD(MOD(:I, 1000), 3, '0'),\n"
           "      IIF(MOD(:I, 2) = 0, '12.345.678/0001-95', '123.456.789-09'), TIMESTAMP '2019-05-05 14:10:00',\n"
           "      '110.042.490.114', '(11) 3251-5000',\n"
           "      DECODE(MOD(:I, 10), 0, 'São Paulo', 1, 'Belo Horizonte', 2, 'Curitiba', 3, 'Porto Alegre',\n"
           "        4, 'Recife', 5, 'Santa Bárbara d''Oeste', 6, 'Florianópolis', 7, 'Goiânia', 8, 'Maceió',\n"
           "        'Cuiabá'),\n"
           "      'cliente' || :I || '@exemplo.com.br');\n"
           "    INSERT INTO ESTOQUE (CODIGO, UND, BARRAS, QTD, PRECO_CUSTO, PRECO_VENDA, MARGEM_LUCRO, DESCRICAO,\n"
           "      ID_GRUPO, ST, COD_NCM, COD_CEST) VALUES (:I, DECODE(MOD(:I, 3), 0, 'UN', 1, ' KG ', 'CX'),\n"
           "      '789' || LPAD(:I, 10, '0'), MOD(:I, 100) + 0.5, 3.45, 5.99, 73.6232, 'Produto número ' || :I,\n"
           "      MOD(:I, 20) + 1, DECODE(MOD(:I, 3), 0, '102', 1, '500', '060'), ' 04061010 ',\n"
           "      'C' || LPAD(MOD(:I, 1000) + 1, 6, '0'));\n"
           "    INSERT INTO VENDEDOR (ID, NOME) VALUES (:I, 'Vendedor ' || :I);\n"
           "    I = I + 1;\n"
           "  END\n"
           "END^\n"
           "SET TERM ; ^\n";
}

// The destination: the ten cities among the 5,570 municipalities of CIDADE.
std::string destinationScript() {
    return "INSERT INTO CIDADE VALUES (3550308, 'SÃO PAULO');\n"
           "INSERT INTO CIDADE VALUES (3106200, 'BELO HORIZONTE');\n"
           "INSERT INTO CIDADE VALUES (4106902, 'CURITIBA');\n"
           "INSERT INTO CIDADE VALUES (4314902, 'PORTO ALEGRE');\n"
           "INSERT INTO CIDADE VALUES (2611606, 'RECIFE');\n"
           "INSERT INTO CIDADE VALUES (3545803, 'SANTA BÁRBARA D''OESTE');\n"
           "INSERT INTO CIDADE VALUES (4205407, 'FLORIANÓPOLIS');\n"
           "INSERT INTO CIDADE VALUES (5208707, 'GOIÂNIA');\n"
           "INSERT INTO CIDADE VALUES (2704302, 'MACEIÓ');\n"
           "INSERT INTO CIDADE VALUES (5103403, 'CUIABÁ');\n"
           "SET TERM ^ ;\n"
           "EXECUTE BLOCK AS DECLARE I INTEGER = 11; BEGIN\n"
           "  WHILE (I <= 5570) DO BEGIN\n"
           "    INSERT INTO CIDADE VALUES (1000000 + :I, 'MUNICÍPIO ' || :I);\n"
           "    I = I + 1;\n"
           "  END\n"
           "END^\n"
           "SET TERM ; ^\n";
}

}  // namespace bench
