#include "table_writer.h"

namespace engine {

namespace {

// The columns of PRODUTOS as the product import knows them, in declaration order.
constexpr FieldDeclaration kFields[] = {
    {.name = "CODIGO", .kind = FieldKind::Integer, .required = true},
    {.name = "CODGRUPO", .kind = FieldKind::Integer},
    {.name = "CODBARRAS", .kind = FieldKind::Text, .length = 20},
    {.name = "DESCRICAO", .kind = FieldKind::Text, .length = 60},
    {.name = "MODELO", .kind = FieldKind::Text, .length = 30},
    {.name = "SALDO", .kind = FieldKind::Double},
    {.name = "PRECOCUSTO", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "PRECOVENDA", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "PONTO", .kind = FieldKind::Integer},
    {.name = "ESTMIN", .kind = FieldKind::Decimal, .scale = 3},
    {.name = "ESTMAX", .kind = FieldKind::Decimal, .scale = 3},
    {.name = "CODFORNECEDOR", .kind = FieldKind::Integer},
    {.name = "UNIDADE", .kind = FieldKind::Text, .length = 5},
    {.name = "FOTO", .kind = FieldKind::Blob},
    {.name = "DATAALTERACAO", .kind = FieldKind::Date},
    {.name = "ICMS", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "MARGEM", .kind = FieldKind::Double},
    {.name = "FANTASIA", .kind = FieldKind::Text, .length = 30},
    {.name = "PRECOATACADO", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "MARGEMATACADO", .kind = FieldKind::Double},
    {.name = "CODIGOFISCAL", .kind = FieldKind::Text, .length = 10},
    {.name = "CODIGOALTERNATIVO", .kind = FieldKind::Text, .length = 25},
    {.name = "QTDCAIXA", .kind = FieldKind::Double},
    {.name = "PRECODOLAR", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "TIPOPRODUTO", .kind = FieldKind::FixedText, .length = 1},
    {.name = "CODFAMILIA", .kind = FieldKind::Integer},
    {.name = "PESOCAIXA", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "IPI", .kind = FieldKind::Integer},
    {.name = "CFOP_SAIDA_DENTRO", .kind = FieldKind::Text, .length = 4},
    {.name = "CST", .kind = FieldKind::Text, .length = 3},
    {.name = "ICMS_ALIQ_ST", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "ICMS_REDUCAO", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "ICMS_REDUCAO_ST", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "ICMS_BC_MOD", .kind = FieldKind::Text, .length = 1},
    {.name = "ICMS_BC_MARGEM", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "ICMS_BC_VALOR", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "ICMS_BC_ST_MOD", .kind = FieldKind::Text, .length = 1},
    {.name = "ICMS_BC_ST_MARGEM", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "ICMS_BC_ST_VALOR", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "COD_PIS", .kind = FieldKind::Text, .length = 2},
    {.name = "ALIQ_PIS", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "ALIQ_PIS_VALOR", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "COD_COFINS", .kind = FieldKind::Text, .length = 2},
    {.name = "ALIQ_COFINS", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "ALIQ_COFINS_VALOR", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "IPI_SIT", .kind = FieldKind::Text, .length = 2},
    {.name = "ORIGEM", .kind = FieldKind::Integer},
    {.name = "CSOSN", .kind = FieldKind::Text, .length = 3},
    {.name = "NCM", .kind = FieldKind::Text, .length = 8},
    {.name = "CEST", .kind = FieldKind::Text, .length = 7},
    {.name = "ICMS_PMVAST", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "CFOP_SAIDA_FORA", .kind = FieldKind::Text, .length = 4},
    {.name = "CFOP_ENTRADA_DENTRO", .kind = FieldKind::Text, .length = 4},
    {.name = "CFOP_ENTRADA_FORA", .kind = FieldKind::Text, .length = 4},
    {.name = "CFOP_IMPORTACAO", .kind = FieldKind::Text, .length = 4},
    {.name = "CFOP_EXPORTACAO", .kind = FieldKind::Text, .length = 4},
    {.name = "ICMS_IMPORTACAO", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "N_SERIE", .kind = FieldKind::Text, .length = 20},
    {.name = "STATUS", .kind = FieldKind::FixedText, .length = 1},
    {.name = "COD_ENQ_IPI", .kind = FieldKind::Text, .length = 3},
    {.name = "SALDO_LOJA", .kind = FieldKind::Double},
    {.name = "COD_FORN_ULTIMA", .kind = FieldKind::Integer},
    {.name = "DATA_ULT_COMPRA", .kind = FieldKind::Date},
    {.name = "PRECO_ULT_COMPRA", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "QTD_ULT_COMPRA", .kind = FieldKind::Double},
    {.name = "USUARIO_INC", .kind = FieldKind::Text, .length = 20},
    {.name = "DATA_HORA_INC", .kind = FieldKind::DateTime},
    {.name = "USUARIO_ALT", .kind = FieldKind::Text, .length = 20},
    {.name = "DATA_HORA_ALT", .kind = FieldKind::DateTime},
    {.name = "VALIDADE", .kind = FieldKind::Text, .length = 3},
    {.name = "LOCALIDADE", .kind = FieldKind::Text, .length = 20},
    {.name = "ELO_LIG", .kind = FieldKind::Text, .length = 2},
    {.name = "OBS", .kind = FieldKind::Text, .length = 250},
    {.name = "FAT_CONV", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "UND_ENT", .kind = FieldKind::Text, .length = 3},
    {.name = "BALANCA", .kind = FieldKind::FixedText, .length = 1},
    {.name = "KIT", .kind = FieldKind::FixedText, .length = 1},
    {.name = "PERC_RED_BC_EFETIVA", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "PERC_ICMS_EFETIVA", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "VL_BC_ST_RET", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "PERC_ST", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "VL_ICMS_RET", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "VL_BC_EFETIVA", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "VL_ICMS_EFETIVA", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "VALOR_ICMS_ST", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "VALOR_BC_ST", .kind = FieldKind::Decimal, .scale = 2},
    {.name = "PERC_CUSTO_ESTIMADO", .kind = FieldKind::Decimal, .scale = 2},
};

}  // namespace

constinit const TableDeclaration kProdutosDeclaration{
    .table = "PRODUTOS",
    .fields = kFields,
    .insertSql =
        "insert into PRODUTOS (ALIQ_COFINS, ALIQ_COFINS_VALOR, ALIQ_PIS, ALIQ_PIS_VALOR, BALANCA, "
        "CEST, CFOP_ENTRADA_DENTRO, CFOP_ENTRADA_FORA, CFOP_EXPORTACAO, CFOP_IMPORTACAO, "
        "CFOP_SAIDA_DENTRO, CFOP_SAIDA_FORA, COD_COFINS, COD_ENQ_IPI, COD_FORN_ULTIMA, COD_PIS, "
        "CODBARRAS, CODFAMILIA, CODFORNECEDOR, CODGRUPO, CODIGO, CODIGOALTERNATIVO, CODIGOFISCAL, "
        "CSOSN, CST, DATA_HORA_ALT, DATA_HORA_INC, DATA_ULT_COMPRA, DATAALTERACAO, DESCRICAO, "
        "ELO_LIG, ESTMAX, ESTMIN, FANTASIA, FAT_CONV, FOTO, ICMS, ICMS_ALIQ_ST, ICMS_BC_MARGEM, "
        "ICMS_BC_MOD, ICMS_BC_ST_MARGEM, ICMS_BC_ST_MOD, ICMS_BC_ST_VALOR, ICMS_BC_VALOR, "
        "ICMS_IMPORTACAO, ICMS_PMVAST, ICMS_REDUCAO, ICMS_REDUCAO_ST, IPI, IPI_SIT, KIT, LOCALIDADE, "
        "MARGEM, MARGEMATACADO, MODELO, N_SERIE, NCM, OBS, ORIGEM, PERC_CUSTO_ESTIMADO, "
        "PERC_ICMS_EFETIVA, PERC_RED_BC_EFETIVA, PERC_ST, PESOCAIXA, PONTO, PRECO_ULT_COMPRA, "
        "PRECOATACADO, PRECOCUSTO, PRECODOLAR, PRECOVENDA, QTD_ULT_COMPRA, QTDCAIXA, SALDO, "
        "SALDO_LOJA, STATUS, TIPOPRODUTO, UND_ENT, UNIDADE, USUARIO_ALT, USUARIO_INC, VALIDADE, "
        "VALOR_BC_ST, VALOR_ICMS_ST, VL_BC_EFETIVA, VL_BC_ST_RET, VL_ICMS_EFETIVA, VL_ICMS_RET) "
        "values (:ALIQ_COFINS, :ALIQ_COFINS_VALOR, :ALIQ_PIS, :ALIQ_PIS_VALOR, :BALANCA, :CEST, "
        ":CFOP_ENTRADA_DENTRO, :CFOP_ENTRADA_FORA, :CFOP_EXPORTACAO, :CFOP_IMPORTACAO, "
        ":CFOP_SAIDA_DENTRO, :CFOP_SAIDA_FORA, :COD_COFINS, :COD_ENQ_IPI, :COD_FORN_ULTIMA, :COD_PIS, "
        ":CODBARRAS, :CODFAMILIA, :CODFORNECEDOR, :CODGRUPO, :CODIGO, :CODIGOALTERNATIVO, "
        ":CODIGOFISCAL, :CSOSN, :CST, :DATA_HORA_ALT, :DATA_HORA_INC, :DATA_ULT_COMPRA, "
        ":DATAALTERACAO, :DESCRICAO, :ELO_LIG, :ESTMAX, :ESTMIN, :FANTASIA, :FAT_CONV, :FOTO, :ICMS, "
        ":ICMS_ALIQ_ST, :ICMS_BC_MARGEM, :ICMS_BC_MOD, :ICMS_BC_ST_MARGEM, :ICMS_BC_ST_MOD, "
        ":ICMS_BC_ST_VALOR, :ICMS_BC_VALOR, :ICMS_IMPORTACAO, :ICMS_PMVAST, :ICMS_REDUCAO, "
        ":ICMS_REDUCAO_ST, :IPI, :IPI_SIT, :KIT, :LOCALIDADE, :MARGEM, :MARGEMATACADO, :MODELO, "
        ":N_SERIE, :NCM, :OBS, :ORIGEM, :PERC_CUSTO_ESTIMADO, :PERC_ICMS_EFETIVA, "
        ":PERC_RED_BC_EFETIVA, :PERC_ST, :PESOCAIXA, :PONTO, :PRECO_ULT_COMPRA, :PRECOATACADO, "
        ":PRECOCUSTO, :PRECODOLAR, :PRECOVENDA, :QTD_ULT_COMPRA, :QTDCAIXA, :SALDO, :SALDO_LOJA, "
        ":STATUS, :TIPOPRODUTO, :UND_ENT, :UNIDADE, :USUARIO_ALT, :USUARIO_INC, :VALIDADE, "
        ":VALOR_BC_ST, :VALOR_ICMS_ST, :VL_BC_EFETIVA, :VL_BC_ST_RET, :VL_ICMS_EFETIVA, :VL_ICMS_RET)",
    .refreshSql =
        "Select CODIGO, CODGRUPO, CODBARRAS, DESCRICAO, MODELO, SALDO, PRECOCUSTO, PRECOVENDA, PONTO, "
        "ESTMIN, ESTMAX, CODFORNECEDOR, UNIDADE, FOTO, DATAALTERACAO, ICMS, MARGEM, FANTASIA, "
        "PRECOATACADO, MARGEMATACADO, CODIGOFISCAL, CODIGOALTERNATIVO, QTDCAIXA, PRECODOLAR, "
        "TIPOPRODUTO, CODFAMILIA, PESOCAIXA, IPI, CFOP_SAIDA_DENTRO, CST, ICMS_ALIQ_ST, ICMS_REDUCAO, "
        "ICMS_REDUCAO_ST, ICMS_BC_MOD, ICMS_BC_MARGEM, ICMS_BC_VALOR, ICMS_BC_ST_MOD, "
        "ICMS_BC_ST_MARGEM, ICMS_BC_ST_VALOR, COD_PIS, ALIQ_PIS, ALIQ_PIS_VALOR, COD_COFINS, "
        "ALIQ_COFINS, ALIQ_COFINS_VALOR, IPI_SIT, ORIGEM, CSOSN, NCM, CEST, ICMS_PMVAST, "
        "CFOP_SAIDA_FORA, CFOP_ENTRADA_DENTRO, CFOP_ENTRADA_FORA, CFOP_IMPORTACAO, CFOP_EXPORTACAO, "
        "ICMS_IMPORTACAO, N_SERIE, STATUS, COD_ENQ_IPI, SALDO_LOJA, COD_FORN_ULTIMA, DATA_ULT_COMPRA, "
        "PRECO_ULT_COMPRA, QTD_ULT_COMPRA, USUARIO_INC, DATA_HORA_INC, USUARIO_ALT, DATA_HORA_ALT, "
        "VALIDADE, LOCALIDADE, ELO_LIG, OBS, FAT_CONV, UND_ENT, BALANCA, KIT, PERC_RED_BC_EFETIVA, "
        "PERC_ICMS_EFETIVA, VL_BC_ST_RET, PERC_ST, VL_ICMS_RET, VL_BC_EFETIVA, VL_ICMS_EFETIVA, "
        "VALOR_ICMS_ST, VALOR_BC_ST, PERC_CUSTO_ESTIMADO from PRODUTOS where CODIGO = :CODIGO",
};

}  // namespace engine
