#include "table_writer.h"

namespace engine {

namespace {

// The columns of CLIENTES as the client import knows them, in declaration order.
constexpr FieldDeclaration kFields[] = {
    {.name = "CODIGO", .kind = FieldKind::Integer, .required = true},
    {.name = "CODMAQUINA", .kind = FieldKind::Integer},
    {.name = "CODVENDEDOR", .kind = FieldKind::Integer},
    {.name = "CODFORMAPAG", .kind = FieldKind::Integer},
    {.name = "NOME", .kind = FieldKind::Text, .length = 100},
    {.name = "ENDERECO", .kind = FieldKind::Text, .length = 50},
    {.name = "BAIRRO", .kind = FieldKind::Text, .length = 30},
    {.name = "CIDADE", .kind = FieldKind::Text, .length = 30},
    {.name = "UF", .kind = FieldKind::Text, .length = 2},
    {.name = "CEP", .kind = FieldKind::Text, .length = 9},
    {.name = "CGC", .kind = FieldKind::Text, .length = 18},
    {.name = "CPF", .kind = FieldKind::Text, .length = 15},
    {.name = "IE", .kind = FieldKind::Text, .length = 20},
    {.name = "PONTOS", .kind = FieldKind::Integer},
    {.name = "TIPOPESSOA", .kind = FieldKind::Text, .length = 1},
    {.name = "CODIGOALTERNATIVO", .kind = FieldKind::Text, .length = 8},
    {.name = "OBS", .kind = FieldKind::TextBlob},
    {.name = "APELIDO", .kind = FieldKind::Text, .length = 100},
    {.name = "TELEFONE", .kind = FieldKind::Text, .length = 13},
    {.name = "DTNASCIMENTO", .kind = FieldKind::Text, .length = 10},
    {.name = "DTCADASTRO", .kind = FieldKind::Date},
    {.name = "TIPOCLIENTE", .kind = FieldKind::FixedText, .length = 1},
    {.name = "REPARO", .kind = FieldKind::Integer},
    {.name = "LIMITE", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "MANUTENCAO", .kind = FieldKind::Integer},
    {.name = "CELULAR", .kind = FieldKind::Text, .length = 15},
    {.name = "EMAIL", .kind = FieldKind::Text, .length = 50},
    {.name = "TRANSPORTADORA", .kind = FieldKind::Text, .length = 50},
    {.name = "CONTATO", .kind = FieldKind::Text, .length = 50},
    {.name = "FABRICA", .kind = FieldKind::Text, .length = 50},
    {.name = "REGIAO", .kind = FieldKind::Text, .length = 30},
    {.name = "CODINDUSTRIA", .kind = FieldKind::Integer},
    {.name = "TIPO", .kind = FieldKind::Text, .length = 20},
    {.name = "COMPL", .kind = FieldKind::Text, .length = 50},
    {.name = "NUMERO", .kind = FieldKind::Integer},
    {.name = "CODCID", .kind = FieldKind::Integer},
    {.name = "COD_CID", .kind = FieldKind::Integer},
    {.name = "COD_PAIS", .kind = FieldKind::BigInteger},
    {.name = "X_PAIS", .kind = FieldKind::Text, .length = 200},
    {.name = "COD_CONTRATO", .kind = FieldKind::Integer},
    {.name = "COD_ORGAO", .kind = FieldKind::Integer},
    {.name = "STATUS", .kind = FieldKind::FixedText, .length = 1},
    {.name = "CONTRIBUINTE", .kind = FieldKind::FixedText, .length = 1},
    {.name = "BLOQUEADO", .kind = FieldKind::FixedText, .length = 1},
    {.name = "DT_NASCIMENTO", .kind = FieldKind::Date},
};

}  // namespace

constinit const TableDeclaration kClientesDeclaration{
    .table = "CLIENTES",
    .fields = kFields,
    .insertSql =
        "insert into CLIENTES (APELIDO, BAIRRO, BLOQUEADO, CELULAR, CEP, CGC, CIDADE, COD_CID, "
        "COD_CONTRATO, COD_ORGAO, COD_PAIS, CODCID, CODFORMAPAG, CODIGO, CODIGOALTERNATIVO, "
        "CODINDUSTRIA, CODMAQUINA, CODVENDEDOR, COMPL, CONTATO, CONTRIBUINTE, CPF, DT_NASCIMENTO, "
        "DTCADASTRO, DTNASCIMENTO, EMAIL, ENDERECO, FABRICA, IE, LIMITE, MANUTENCAO, NOME, NUMERO, "
        "OBS, PONTOS, REGIAO, REPARO, STATUS, TELEFONE, TIPO, TIPOCLIENTE, TIPOPESSOA, "
        "TRANSPORTADORA, UF, X_PAIS) "
        "values (:APELIDO, :BAIRRO, :BLOQUEADO, :CELULAR, :CEP, :CGC, :CIDADE, :COD_CID, "
        ":COD_CONTRATO, :COD_ORGAO, :COD_PAIS, :CODCID, :CODFORMAPAG, :CODIGO, :CODIGOALTERNATIVO, "
        ":CODINDUSTRIA, :CODMAQUINA, :CODVENDEDOR, :COMPL, :CONTATO, :CONTRIBUINTE, :CPF, "
        ":DT_NASCIMENTO, :DTCADASTRO, :DTNASCIMENTO, :EMAIL, :ENDERECO, :FABRICA, :IE, :LIMITE, "
        ":MANUTENCAO, :NOME, :NUMERO, :OBS, :PONTOS, :REGIAO, :REPARO, :STATUS, :TELEFONE, :TIPO, "
        ":TIPOCLIENTE, :TIPOPESSOA, :TRANSPORTADORA, :UF, :X_PAIS)",
    .refreshSql =
        "Select CODIGO, CODMAQUINA, CODVENDEDOR, CODFORMAPAG, NOME, ENDERECO, BAIRRO, CIDADE, UF, "
        "CEP, CGC, CPF, IE, PONTOS, TIPOPESSOA, CODIGOALTERNATIVO, OBS, APELIDO, TELEFONE, "
        "DTNASCIMENTO, DTCADASTRO, TIPOCLIENTE, REPARO, LIMITE, MANUTENCAO, CELULAR, EMAIL, "
        "TRANSPORTADORA, CONTATO, FABRICA, REGIAO, CODINDUSTRIA, TIPO, COMPL, NUMERO, CODCID, "
        "COD_CID, COD_PAIS, X_PAIS, COD_CONTRATO, COD_ORGAO, STATUS, CONTRIBUINTE, BLOQUEADO, "
        "DT_NASCIMENTO from CLIENTES where CODIGO = :CODIGO",
};

}  // namespace engine
