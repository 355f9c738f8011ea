#include <cstdint>
#include <memory>
#include <string>

#include "row_mapping.h"
#include "table_import.h"
#include "table_imports.h"
#include "text.h"
#include "text_rules.h"
#include "values.h"

namespace engine {

namespace {

// The client writer's fields that the import sets, looked up once.
struct ClienteFields {
    explicit ClienteFields(TableWriter& writer)
        : codigo(writer.fieldByName("CODIGO")),
          nome(writer.fieldByName("NOME")),
          dtNascimento(writer.fieldByName("DT_NASCIMENTO")),
          celular(writer.fieldByName("CELULAR")),
          codVendedor(writer.fieldByName("CODVENDEDOR")),
          codCid(writer.fieldByName("COD_CID")),
          complemento(writer.fieldByName("COMPL")),
          codPais(writer.fieldByName("COD_PAIS")),
          status(writer.fieldByName("STATUS")),
          bloqueado(writer.fieldByName("BLOQUEADO")),
          xPais(writer.fieldByName("X_PAIS")),
          endereco(writer.fieldByName("ENDERECO")),
          numero(writer.fieldByName("NUMERO")),
          bairro(writer.fieldByName("BAIRRO")),
          cep(writer.fieldByName("CEP")),
          cgc(writer.fieldByName("CGC")),
          cpf(writer.fieldByName("CPF")),
          tipoCliente(writer.fieldByName("TIPOCLIENTE")),
          tipoPessoa(writer.fieldByName("TIPOPESSOA")),
          dtCadastro(writer.fieldByName("DTCADASTRO")),
          ie(writer.fieldByName("IE")),
          telefone(writer.fieldByName("TELEFONE")),
          cidade(writer.fieldByName("CIDADE")),
          email(writer.fieldByName("EMAIL")) {}

    WriterField& codigo;
    WriterField& nome;
    WriterField& dtNascimento;
    WriterField& celular;
    WriterField& codVendedor;
    WriterField& codCid;
    WriterField& complemento;
    WriterField& codPais;
    WriterField& status;
    WriterField& bloqueado;
    WriterField& xPais;
    WriterField& endereco;
    WriterField& numero;
    WriterField& bairro;
    WriterField& cep;
    WriterField& cgc;
    WriterField& cpf;
    WriterField& tipoCliente;
    WriterField& tipoPessoa;
    WriterField& dtCadastro;
    WriterField& ie;
    WriterField& telefone;
    WriterField& cidade;
    WriterField& email;

    std::vector<MappedColumn> columns() const {
        return {
            mappedColumn(codigo),      mappedColumn(nome),        mappedColumn(dtNascimento), mappedColumn(celular),
            mappedColumn(codVendedor), mappedColumn(codCid),      mappedColumn(complemento),  mappedColumn(codPais),
            mappedColumn(status),      mappedColumn(bloqueado),   mappedColumn(xPais),        mappedColumn(endereco),
            mappedColumn(numero),      mappedColumn(bairro),      mappedColumn(cep),          mappedColumn(cgc),
            mappedColumn(cpf),         mappedColumn(tipoCliente), mappedColumn(tipoPessoa),   mappedColumn(dtCadastro),
            mappedColumn(ie),          mappedColumn(telefone),    mappedColumn(cidade),       mappedColumn(email)};
    }
};

// Fills the row just started from the source cursor's current row. The conditional columns
// test the text without its surrounding blanks (ENDERECO, TELEFONE and the document the text
// as read), and every value is taken from the text as read.
void fillCliente(RunState& run, const ClienteFields& fields) {
    const db::Statement& origem = run.session.IBQueryOrigem;
    auto text = [&](const char* column) { return origem.column(column).asText(); };

    fields.codigo.setInteger(origem.column("CODIGO").asInteger());
    fields.nome.setFirstCharacters(text("NOME"), 100);
    fields.dtNascimento.setDateTime(origem.column("NASCIMENTO").asDateTime());
    fields.celular.setFirstCharacters(text("CELULAR"), 15);
    fields.codVendedor.setInteger(0);
    fields.codCid.setInteger(origem.column("ID_MUNICIPIO").asInteger());
    fields.complemento.setText(text("COMPLEMENTO"));
    fields.codPais.setInteger(1058);
    fields.status.setText("A");
    fields.bloqueado.setText("N");
    fields.xPais.setText("BRASIL");

    const std::string endereco = text("ENDERECO");
    if (!endereco.empty()) fields.endereco.setFirstCharacters(endereco, 50);

    // A number that is not an integer literal ("12A", "S/N", "12 ") is written as 0.
    const std::string numero = text("NUMERO");
    if (!db::trimBlanks(numero).empty()) fields.numero.setInteger(db::parseInteger(numero).value_or(0));

    const std::string bairro = text("BAIRRO");
    if (!db::trimBlanks(bairro).empty()) fields.bairro.setFirstCharacters(bairro, 30);

    const std::string cep = text("CEP");
    if (!db::trimBlanks(cep).empty()) fields.cep.setText(SoNumeros(cep));

    // 14 digits make a company's document (CNPJ), 11 a person's (CPF); any other count
    // leaves the four columns null.
    const std::string documento = text("CNPJ_CNPF");
    if (!documento.empty()) {
        const std::string digits = SoNumeros(documento);
        if (digits.size() == 14) {
            fields.cgc.setText(digits);
            fields.tipoCliente.setText("2");
            fields.tipoPessoa.setText("J");
        } else if (digits.size() == 11) {
            fields.cpf.setText(digits);
            fields.tipoCliente.setText("1");
            fields.tipoPessoa.setText("F");
        }
    }

    const db::Column cadastro = origem.column("CADASTRO");
    if (!cadastro.isNull()) fields.dtCadastro.setDateTime(cadastro.asDateTime());

    const std::string ie = text("IE_RG");
    if (!db::trimBlanks(ie).empty()) fields.ie.setText(SoNumeros(ie));

    const std::string telefone = text("TELEFONE");
    if (!telefone.empty()) fields.telefone.setFirstCharacters(telefone, 13);

    const std::string cidade = text("CIDADE");
    if (!db::trimBlanks(cidade).empty()) fields.cidade.setInteger(RetornaCodigoCidade(run, cidade));

    const std::string email = text("EMAIL");
    if (!db::trimBlanks(email).empty()) fields.email.setFirstCharacters(email, 50);
}

// Sorts a refused client into one of three entries: a text too long for a 15-character
// column, a duplicate code (in the duplicate-client log), or any other refusal.
void logRefusedCliente(RunState& run, const std::string& codigo, const std::string& nome, const std::string& failure) {
    if (failure.find("can only contain 15") != std::string::npos) {
        run.LogErros.push_back("Alerta!!! Na importação de CLIENTES no cliente: " + codigo + "\r\nO Cliente: \"" +
                               nome + "\" possui o CNPJ inválido! A quantidade de números ultrapassou o limite.\r\n");
    } else if (failure.find("PRIMARY or UNIQUE KEY constraint") != std::string::npos) {
        run.LogClienteRepetido.push_back("Cod. Cliente: " + codigo + " Nome Cliente: " + nome);
    } else {
        run.LogErros.push_back("Erro na importação de CLIENTES no cód. cliente: " + codigo + "\r\n" + failure + "\r\n");
    }
}

}  // namespace

RowMapping clientesMapping(RunState& run) {
    TableWriter& clientes = run.session.IBDS_clientes;
    const auto fields = std::make_shared<const ClienteFields>(clientes);
    RowMapping mapping;
    mapping.sourceTable = "CLIENTE";
    mapping.sourceKey = "CODIGO";
    mapping.destinationTable = "CLIENTES";
    mapping.sequence = "GEN_CODCLI";
    mapping.prepare = [&clientes] {
        if (!clientes.isOpen()) clientes.open();
    };
    mapping.prepareChecks = [&clientes] {
        if (!clientes.isOpen()) clientes.openForChecks();
    };
    mapping.fill = [&run, &clientes, fields] {
        clientes.startNewRow();
        fillCliente(run, *fields);
    };
    mapping.refusal = [&clientes] { return writerRefusal(clientes); };
    mapping.columns = fields->columns();
    return mapping;
}

// Clients: CLIENTE into CLIENTES, with the city code looked up by name in the destination.
void ImportaClientes(RunState& run) {
    TableWriter& clientes = run.session.IBDS_clientes;
    const WriterField& codigo = clientes.fieldByName("CODIGO");
    const RowMapping mapping = clientesMapping(run);

    TableImport table;
    table.destinationTable = mapping.destinationTable;
    table.countQuery = "SELECT COUNT(CODIGO) AS QTD FROM CLIENTE";
    table.sourceQuery = "SELECT * FROM CLIENTE";
    table.status = "Importando Clientes";
    table.deleteStatement = " DELETE FROM CLIENTES ";
    table.failureMessage = "Falha na importação da tabela de Clientes, Falha: ";
    table.keyColumn = mapping.columns.front().declaration.name;
    table.sequence = mapping.sequence;
    table.afterRow = AfterRow::MessagesThenNext;
    table.prepareWriting = [&](std::size_t mostRowsPerBlock) {
        mapping.prepare();
        clientes.postInBlocks(mostRowsPerBlock);
        return clientes.blocks();
    };
    table.fillRow = mapping.fill;
    table.writeRow = [&] { clientes.post(); };
    table.refusal = [&] {
        const db::Statement& origem = run.session.IBQueryOrigem;
        std::string codigo = std::to_string(origem.column("CODIGO").asInteger());
        return RowRefusal{codigo, [&run, codigo, nome = origem.column("NOME").asText()](const std::string& failure) {
                              logRefusedCliente(run, codigo, nome, failure);
                          }};
    };
    // The next client code: the last handled code plus one; 1 when no row was handled, since
    // the key of no row reads 0.
    table.sequenceRestart = [&](bool) -> std::optional<SequenceRestart> {
        return SequenceRestart{std::string(mapping.sequence), std::to_string(std::int64_t{codigo.asInteger()} + 1)};
    };
    importTable(run, table);
}

}  // namespace engine
