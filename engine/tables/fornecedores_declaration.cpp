#include "table_writer.h"

namespace engine {

namespace {

// The columns of FORNECEDORES as the supplier import knows them, in declaration order.
constexpr FieldDeclaration kFields[] = {
    {.name = "CODIGO", .kind = FieldKind::Integer, .required = true},
    {.name = "CODGRUPO", .kind = FieldKind::Integer},
    {.name = "FORNECEDOR", .kind = FieldKind::Text, .length = 100},
    {.name = "FANTASIA", .kind = FieldKind::Text, .length = 100},
    {.name = "DTCADASTRO", .kind = FieldKind::Date},
    {.name = "ENDERECO", .kind = FieldKind::Text, .length = 60},
    {.name = "BAIRRO", .kind = FieldKind::Text, .length = 30},
    {.name = "CIDADE", .kind = FieldKind::Text, .length = 30},
    {.name = "UF", .kind = FieldKind::Text, .length = 2},
    {.name = "CEP", .kind = FieldKind::Text, .length = 10},
    {.name = "CNPJ", .kind = FieldKind::Text, .length = 18},
    {.name = "IE", .kind = FieldKind::Text, .length = 20},
    {.name = "RAMOATIVIDADE", .kind = FieldKind::Text, .length = 30},
    {.name = "TELEFONE", .kind = FieldKind::Text, .length = 14},
    {.name = "FAX", .kind = FieldKind::Text, .length = 14},
    {.name = "REPRESENTANTE", .kind = FieldKind::Text, .length = 60},
    {.name = "TIPOFORNECEDOR", .kind = FieldKind::Text, .length = 1},
    {.name = "NUMERO", .kind = FieldKind::Text, .length = 11},
    {.name = "COD_CIDADE", .kind = FieldKind::Integer},
    {.name = "COMPL", .kind = FieldKind::Text, .length = 50},
    {.name = "CPF", .kind = FieldKind::Text, .length = 15},
    {.name = "STATUS", .kind = FieldKind::FixedText, .length = 1},
    {.name = "X_PAIS", .kind = FieldKind::Text, .length = 200},
    {.name = "COD_PAIS", .kind = FieldKind::BigInteger},
    {.name = "EMAIL", .kind = FieldKind::Text, .length = 100},
    {.name = "FOR_OBS", .kind = FieldKind::Text, .length = 250},
};

}  // namespace

constinit const TableDeclaration kFornecedoresDeclaration{
    .table = "FORNECEDORES",
    .fields = kFields,
    .insertSql =
        "insert into FORNECEDORES (BAIRRO, CEP, CIDADE, CNPJ, COD_CIDADE, COD_PAIS, CODGRUPO, CODIGO, "
        "COMPL, CPF, DTCADASTRO, EMAIL, ENDERECO, FANTASIA, FAX, FOR_OBS, FORNECEDOR, IE, NUMERO, "
        "RAMOATIVIDADE, REPRESENTANTE, STATUS, TELEFONE, TIPOFORNECEDOR, UF, X_PAIS) "
        "values (:BAIRRO, :CEP, :CIDADE, :CNPJ, :COD_CIDADE, :COD_PAIS, :CODGRUPO, :CODIGO, :COMPL, "
        ":CPF, :DTCADASTRO, :EMAIL, :ENDERECO, :FANTASIA, :FAX, :FOR_OBS, :FORNECEDOR, :IE, :NUMERO, "
        ":RAMOATIVIDADE, :REPRESENTANTE, :STATUS, :TELEFONE, :TIPOFORNECEDOR, :UF, :X_PAIS)",
    .refreshSql =
        "Select CODIGO, CODGRUPO, FORNECEDOR, FANTASIA, DTCADASTRO, ENDERECO, BAIRRO, CIDADE, UF, "
        "CEP, CNPJ, IE, RAMOATIVIDADE, TELEFONE, FAX, REPRESENTANTE, TIPOFORNECEDOR, NUMERO, "
        "COD_CIDADE, COMPL, CPF, STATUS, X_PAIS, COD_PAIS, EMAIL, FOR_OBS "
        "from FORNECEDORES where CODIGO = :CODIGO",
};

}  // namespace engine
