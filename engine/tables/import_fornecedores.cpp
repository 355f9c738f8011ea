#include <memory>
#include <string>
#include <vector>

#include "row_mapping.h"
#include "table_import.h"
#include "table_imports.h"
#include "text.h"
#include "text_rules.h"
#include "values.h"

namespace engine {

namespace {

// The supplier writer's fields that the import sets, looked up once.
struct FornecedorFields {
    explicit FornecedorFields(TableWriter& writer)
        : codigo(writer.fieldByName("CODIGO")),
          fornecedor(writer.fieldByName("FORNECEDOR")),
          fantasia(writer.fieldByName("FANTASIA")),
          dtCadastro(writer.fieldByName("DTCADASTRO")),
          endereco(writer.fieldByName("ENDERECO")),
          bairro(writer.fieldByName("BAIRRO")),
          cidade(writer.fieldByName("CIDADE")),
          uf(writer.fieldByName("UF")),
          numero(writer.fieldByName("NUMERO")),
          complemento(writer.fieldByName("COMPL")),
          representante(writer.fieldByName("REPRESENTANTE")),
          telefone(writer.fieldByName("TELEFONE")),
          fax(writer.fieldByName("FAX")),
          email(writer.fieldByName("EMAIL")),
          xPais(writer.fieldByName("X_PAIS")),
          codPais(writer.fieldByName("COD_PAIS")),
          cep(writer.fieldByName("CEP")),
          cnpj(writer.fieldByName("CNPJ")),
          cpf(writer.fieldByName("CPF")),
          ie(writer.fieldByName("IE")) {}

    WriterField& codigo;
    WriterField& fornecedor;
    WriterField& fantasia;
    WriterField& dtCadastro;
    WriterField& endereco;
    WriterField& bairro;
    WriterField& cidade;
    WriterField& uf;
    WriterField& numero;
    WriterField& complemento;
    WriterField& representante;
    WriterField& telefone;
    WriterField& fax;
    WriterField& email;
    WriterField& xPais;
    WriterField& codPais;
    WriterField& cep;
    WriterField& cnpj;
    WriterField& cpf;
    WriterField& ie;

    std::vector<MappedColumn> columns() const {
        return {mappedColumn(codigo),        mappedColumn(fornecedor),
                mappedColumn(fantasia),      mappedColumn(dtCadastro, true),
                mappedColumn(endereco),      mappedColumn(bairro),
                mappedColumn(cidade),        mappedColumn(uf),
                mappedColumn(numero),        mappedColumn(complemento),
                mappedColumn(representante), mappedColumn(telefone),
                mappedColumn(fax),           mappedColumn(email),
                mappedColumn(xPais),         mappedColumn(codPais),
                mappedColumn(cep),           mappedColumn(cnpj),
                mappedColumn(cpf),           mappedColumn(ie)};
    }
};

// Fills the row just started from the source cursor's current row.
void fillFornecedor(const db::Statement& origem, const FornecedorFields& fields) {
    auto text = [&](const char* column) { return origem.column(column).asText(); };

    fields.codigo.setInteger(origem.column("CODIGO").asInteger());
    fields.fornecedor.setFirstCharacters(text("NOME"), 100);
    fields.fantasia.setFirstCharacters(text("FANTASIA"), 100);
    fields.dtCadastro.setDateTime(db::localNow());
    fields.endereco.setFirstCharacters(text("ENDERECO"), 60);
    fields.bairro.setFirstCharacters(text("BAIRRO"), 30);
    fields.cidade.setFirstCharacters(text("CIDADE"), 30);
    fields.uf.setFirstCharacters(text("UF"), 2);
    // NUMERO and EMAIL go whole: a text longer than its column is the row's failure.
    fields.numero.setText(text("NUMERO"));
    fields.complemento.setFirstCharacters(text("COMPLEMENTO"), 50);
    fields.representante.setFirstCharacters(text("CONTATO"), 60);
    fields.telefone.setFirstCharacters(text("TELEFONE"), 14);
    fields.fax.setFirstCharacters(text("CELULAR"), 14);
    fields.email.setText(text("EMAIL"));
    fields.xPais.setText("BRASIL");
    fields.codPais.setInteger(1058);

    const std::string cep = text("CEP");
    if (!db::trimBlanks(cep).empty()) fields.cep.setText(SoNumeros(cep));

    // More than 11 digits make a company's document (CNPJ), 11 or fewer a person's (CPF).
    const std::string documento = text("CNPJ_CNPF");
    if (!db::trimBlanks(documento).empty()) {
        const std::string digits = SoNumeros(documento);
        (digits.size() > 11 ? fields.cnpj : fields.cpf).setText(digits);
    }

    // The state registration goes as read, blanks included.
    const std::string ie = text("IE_RG");
    if (!db::trimBlanks(ie).empty()) fields.ie.setText(ie);
}

}  // namespace

RowMapping fornecedoresMapping(RunState& run) {
    const db::Statement& origem = run.session.IBQueryOrigem;
    TableWriter& fornecedores = run.session.IBDS_Fornecedor;
    const auto fields = std::make_shared<const FornecedorFields>(fornecedores);
    RowMapping mapping;
    mapping.sourceTable = "FORNECEDOR";
    mapping.sourceKey = "CODIGO";
    mapping.destinationTable = "FORNECEDORES";
    mapping.sequence = "GEN_CODFOR";
    mapping.prepare = [&fornecedores] {
        if (!fornecedores.isOpen()) fornecedores.open();
    };
    mapping.prepareChecks = [&fornecedores] {
        if (!fornecedores.isOpen()) fornecedores.openForChecks();
    };
    mapping.fill = [&origem, &fornecedores, fields] {
        fornecedores.startNewRow();
        fillFornecedor(origem, *fields);
    };
    mapping.refusal = [&fornecedores] { return writerRefusal(fornecedores); };
    mapping.columns = fields->columns();
    return mapping;
}

// Suppliers: FORNECEDOR into FORNECEDORES.
void ImportaFornecedores(RunState& run) {
    db::Statement& origem = run.session.IBQueryOrigem;
    TableWriter& fornecedores = run.session.IBDS_Fornecedor;
    const WriterField& codigo = fornecedores.fieldByName("CODIGO");
    const RowMapping mapping = fornecedoresMapping(run);

    TableImport table;
    table.destinationTable = mapping.destinationTable;
    table.countQuery = "SELECT COUNT(CODIGO) AS QTD FROM FORNECEDOR";
    table.sourceQuery = "SELECT * FROM FORNECEDOR";
    table.status = "Importando Fornecedores";
    table.deleteStatement = " DELETE FROM FORNECEDORES ";
    table.failureMessage = "Falha na importação da tabela de Fornecedores, Falha: ";
    table.keyColumn = mapping.columns.front().declaration.name;
    table.sequence = mapping.sequence;
    table.afterRow = AfterRow::MessagesThenNext;
    table.prepareWriting = [&](std::size_t mostRowsPerBlock) {
        mapping.prepare();
        fornecedores.postInBlocks(mostRowsPerBlock);
        return fornecedores.blocks();
    };
    table.fillRow = mapping.fill;
    table.writeRow = [&] { fornecedores.post(); };
    table.refusal = [&] {
        std::string codigo = std::to_string(origem.column("CODIGO").asInteger());
        return RowRefusal{codigo, [&run, codigo](const std::string& failure) {
                              run.LogErros.push_back("Erro na importação de FORNECEDORES no Registro " + codigo +
                                                     "\r\n" + failure + "\r\n");
                          }};
    };
    // The last handled supplier code itself; no restart when no row was handled.
    table.sequenceRestart = [&](bool anyRowHandled) -> std::optional<SequenceRestart> {
        if (!anyRowHandled) return std::nullopt;
        return SequenceRestart{std::string(mapping.sequence), codigo.asText()};
    };
    importTable(run, table);
}

}  // namespace engine
