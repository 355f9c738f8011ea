#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "row_mapping.h"
#include "table_import.h"
#include "table_imports.h"
#include "text.h"
#include "values.h"

namespace engine {

namespace {

// The tax columns of a product, chosen by its source ST; an ST matching neither profile
// leaves all seven null.
struct TaxProfile {
    std::string_view st;
    double icms;
    double percIcmsEfetiva;
    const char* cfopSaidaDentro;
    const char* cfopSaidaFora;
    const char* cfopEntradaDentro;
    const char* cfopEntradaFora;
    const char* csosn;
};

constexpr std::array<TaxProfile, 2> kTaxProfiles = {{
    {"102", 17.0, 17.0, "5102", "6102", "1102", "2102", "102"},
    {"500", 0.0, 0.0, "5405", "6405", "1405", "2405", "500"},
}};

// The product writer's fields that the import sets, looked up once.
struct ProdutoFields {
    explicit ProdutoFields(TableWriter& writer)
        : codigo(writer.fieldByName("CODIGO")),
          codigoAlternativo(writer.fieldByName("CODIGOALTERNATIVO")),
          unidade(writer.fieldByName("UNIDADE")),
          balanca(writer.fieldByName("BALANCA")),
          codBarras(writer.fieldByName("CODBARRAS")),
          modelo(writer.fieldByName("MODELO")),
          status(writer.fieldByName("STATUS")),
          saldo(writer.fieldByName("SALDO")),
          precoCusto(writer.fieldByName("PRECOCUSTO")),
          precoVenda(writer.fieldByName("PRECOVENDA")),
          margem(writer.fieldByName("MARGEM")),
          percCustoEstimado(writer.fieldByName("PERC_CUSTO_ESTIMADO")),
          precoAtacado(writer.fieldByName("PRECOATACADO")),
          margemAtacado(writer.fieldByName("MARGEMATACADO")),
          estMin(writer.fieldByName("ESTMIN")),
          estMax(writer.fieldByName("ESTMAX")),
          dataAlteracao(writer.fieldByName("DATAALTERACAO")),
          tipoProduto(writer.fieldByName("TIPOPRODUTO")),
          descricao(writer.fieldByName("DESCRICAO")),
          codGrupo(writer.fieldByName("CODGRUPO")),
          icmsBcMod(writer.fieldByName("ICMS_BC_MOD")),
          validade(writer.fieldByName("VALIDADE")),
          fatConv(writer.fieldByName("FAT_CONV")),
          kit(writer.fieldByName("KIT")),
          origemMercadoria(writer.fieldByName("ORIGEM")),
          codPis(writer.fieldByName("COD_PIS")),
          codCofins(writer.fieldByName("COD_COFINS")),
          codFamilia(writer.fieldByName("CODFAMILIA")),
          icms(writer.fieldByName("ICMS")),
          percIcmsEfetiva(writer.fieldByName("PERC_ICMS_EFETIVA")),
          cfopSaidaDentro(writer.fieldByName("CFOP_SAIDA_DENTRO")),
          cfopSaidaFora(writer.fieldByName("CFOP_SAIDA_FORA")),
          cfopEntradaDentro(writer.fieldByName("CFOP_ENTRADA_DENTRO")),
          cfopEntradaFora(writer.fieldByName("CFOP_ENTRADA_FORA")),
          csosn(writer.fieldByName("CSOSN")),
          ipiSit(writer.fieldByName("IPI_SIT")),
          codEnqIpi(writer.fieldByName("COD_ENQ_IPI")),
          ncm(writer.fieldByName("NCM")),
          cest(writer.fieldByName("CEST")) {}

    WriterField& codigo;
    WriterField& codigoAlternativo;
    WriterField& unidade;
    WriterField& balanca;
    WriterField& codBarras;
    WriterField& modelo;
    WriterField& status;
    WriterField& saldo;
    WriterField& precoCusto;
    WriterField& precoVenda;
    WriterField& margem;
    WriterField& percCustoEstimado;
    WriterField& precoAtacado;
    WriterField& margemAtacado;
    WriterField& estMin;
    WriterField& estMax;
    WriterField& dataAlteracao;
    WriterField& tipoProduto;
    WriterField& descricao;
    WriterField& codGrupo;
    WriterField& icmsBcMod;
    WriterField& validade;
    WriterField& fatConv;
    WriterField& kit;
    WriterField& origemMercadoria;
    WriterField& codPis;
    WriterField& codCofins;
    WriterField& codFamilia;
    WriterField& icms;
    WriterField& percIcmsEfetiva;
    WriterField& cfopSaidaDentro;
    WriterField& cfopSaidaFora;
    WriterField& cfopEntradaDentro;
    WriterField& cfopEntradaFora;
    WriterField& csosn;
    WriterField& ipiSit;
    WriterField& codEnqIpi;
    WriterField& ncm;
    WriterField& cest;

    std::vector<MappedColumn> columns() const {
        return {mappedColumn(codigo),
                mappedColumn(codigoAlternativo),
                mappedColumn(unidade),
                mappedColumn(balanca),
                mappedColumn(codBarras),
                mappedColumn(modelo),
                mappedColumn(status),
                mappedColumn(saldo),
                mappedColumn(precoCusto),
                mappedColumn(precoVenda),
                mappedColumn(margem),
                mappedColumn(percCustoEstimado),
                mappedColumn(precoAtacado),
                mappedColumn(margemAtacado),
                mappedColumn(estMin),
                mappedColumn(estMax),
                mappedColumn(dataAlteracao, true),
                mappedColumn(tipoProduto),
                mappedColumn(descricao),
                mappedColumn(codGrupo),
                mappedColumn(icmsBcMod),
                mappedColumn(validade),
                mappedColumn(fatConv),
                mappedColumn(kit),
                mappedColumn(origemMercadoria),
                mappedColumn(codPis),
                mappedColumn(codCofins),
                mappedColumn(codFamilia),
                mappedColumn(icms),
                mappedColumn(percIcmsEfetiva),
                mappedColumn(cfopSaidaDentro),
                mappedColumn(cfopSaidaFora),
                mappedColumn(cfopEntradaDentro),
                mappedColumn(cfopEntradaFora),
                mappedColumn(csosn),
                mappedColumn(ipiSit),
                mappedColumn(codEnqIpi),
                mappedColumn(ncm),
                mappedColumn(cest)};
    }
};

// Fills the row just started from the source cursor's current row, with the fixed defaults
// that every product gets.
void fillProduto(RunState& run, const ProdutoFields& fields) {
    const db::Statement& origem = run.session.IBQueryOrigem;
    auto text = [&](const char* column) { return origem.column(column).asText(); };
    auto number = [&](const char* column) { return origem.column(column).asDouble(); };

    fields.codigo.setInteger(origem.column("CODIGO").asInteger());
    fields.codigoAlternativo.setFirstCharacters(text("CODIGO"), 25);
    const std::string unidade = db::trimBlanks(text("UND"));
    fields.unidade.setText(unidade);
    // Only the unit "KG", in capitals, marks a product sold by weight.
    if (unidade == "KG") fields.balanca.setText("S");
    fields.codBarras.setText(db::trimBlanks(text("BARRAS")));
    fields.modelo.setText("56e45");
    fields.status.setText("S");
    fields.saldo.setDouble(number("QTD"));
    fields.precoCusto.setDouble(number("PRECO_CUSTO"));
    fields.precoVenda.setDouble(number("PRECO_VENDA"));
    fields.margem.setDouble(number("MARGEM_LUCRO"));
    fields.percCustoEstimado.setDouble(0.0);
    fields.precoAtacado.setDouble(0.0);
    fields.margemAtacado.setDouble(0.0);
    fields.estMin.setDouble(0.0);
    fields.estMax.setDouble(0.0);
    fields.dataAlteracao.setDateTime(db::localNow());
    fields.tipoProduto.setText("P");
    fields.descricao.setFirstCharacters(text("DESCRICAO"), 60);
    fields.codGrupo.setInteger(origem.column("ID_GRUPO").asInteger());
    fields.icmsBcMod.setInteger(3);
    fields.validade.setInteger(0);
    fields.fatConv.setInteger(1);
    fields.kit.setText("N");
    fields.origemMercadoria.setInteger(0);
    fields.codPis.setText("07");
    fields.codCofins.setText("07");
    fields.codFamilia.setInteger(0);

    // ST is compared as read, blanks included.
    const std::string st = text("ST");
    for (const TaxProfile& profile : kTaxProfiles) {
        if (st != profile.st) continue;
        fields.icms.setDouble(profile.icms);
        fields.percIcmsEfetiva.setDouble(profile.percIcmsEfetiva);
        fields.cfopSaidaDentro.setText(profile.cfopSaidaDentro);
        fields.cfopSaidaFora.setText(profile.cfopSaidaFora);
        fields.cfopEntradaDentro.setText(profile.cfopEntradaDentro);
        fields.cfopEntradaFora.setText(profile.cfopEntradaFora);
        fields.csosn.setText(profile.csosn);
    }

    fields.ipiSit.setText("52");
    fields.codEnqIpi.setText("304");
    fields.ncm.setText(db::trimBlanks(text("COD_NCM")));

    // The CEST lookup has no failure handling of its own: its failure ends the table.
    const std::string cest = text("COD_CEST");
    if (!cest.empty()) fields.cest.setInteger(RetornaCodigoCEST(run, cest));
}

}  // namespace

RowMapping produtosMapping(RunState& run) {
    TableWriter& produtos = run.session.IBDS_Produtos;
    const auto fields = std::make_shared<const ProdutoFields>(produtos);
    RowMapping mapping;
    mapping.sourceTable = "ESTOQUE";
    mapping.sourceKey = "CODIGO";
    mapping.destinationTable = "PRODUTOS";
    mapping.sequence = "CODIGO_PRODUTO";
    mapping.prepare = [&produtos] {
        if (!produtos.isOpen()) produtos.open();
    };
    mapping.prepareChecks = [&produtos] {
        if (!produtos.isOpen()) produtos.openForChecks();
    };
    mapping.fill = [&run, &produtos, fields] {
        produtos.startNewRow();
        fillProduto(run, *fields);
    };
    mapping.refusal = [&produtos] { return writerRefusal(produtos); };
    mapping.columns = fields->columns();
    return mapping;
}

// Products: ESTOQUE into PRODUTOS, with fixed defaults, a tax profile and the CEST code
// looked up in the source.
void ImportaProdutos(RunState& run) {
    db::Statement& origem = run.session.IBQueryOrigem;
    TableWriter& produtos = run.session.IBDS_Produtos;
    const WriterField& codigo = produtos.fieldByName("CODIGO");
    const RowMapping mapping = produtosMapping(run);

    TableImport table;
    table.destinationTable = mapping.destinationTable;
    table.countQuery = "SELECT COUNT(CODIGO) AS QTD FROM ESTOQUE";
    table.sourceQuery = "SELECT * FROM ESTOQUE";
    table.status = "Importando Produtos";
    table.deleteStatement = " DELETE FROM PRODUTOS ";
    table.failureMessage = "Falha na importação da tabela de Produtos, Falha: ";
    table.keyColumn = mapping.columns.front().declaration.name;
    table.sequence = mapping.sequence;
    table.afterRow = AfterRow::NextThenMessages;
    table.prepareWriting = [&](std::size_t mostRowsPerBlock) {
        mapping.prepare();
        produtos.postInBlocks(mostRowsPerBlock);
        return produtos.blocks();
    };
    table.fillRow = mapping.fill;
    table.writeRow = [&] { produtos.post(); };
    // This entry ends in a carriage return alone.
    table.refusal = [&] {
        std::string codigo = origem.column("CODIGO").asText();
        return RowRefusal{
            codigo, [&run, codigo](const std::string& failure) {
                run.LogErros.push_back("Erro na importação de PRODUTO no Registro " + codigo + "\r\n" + failure + "\r");
            }};
    };
    // The last handled product code itself; no restart when no row was handled.
    table.sequenceRestart = [&](bool anyRowHandled) -> std::optional<SequenceRestart> {
        if (!anyRowHandled) return std::nullopt;
        return SequenceRestart{std::string(mapping.sequence), codigo.asText()};
    };
    importTable(run, table);
}

}  // namespace engine
