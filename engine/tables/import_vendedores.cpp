#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "block_insert.h"
#include "codepage.h"
#include "refused_row.h"
#include "row_mapping.h"
#include "table_import.h"
#include "table_imports.h"
#include "table_writer_columns.h"

namespace engine {

namespace {

constexpr const char* kInsertVendedor =
    " INSERT INTO VENDEDOR  (VEN_CODIGO, VEN_NOME, SUP_CODIGO,VEN_EXPORTATABLET) VALUES  "
    "(:VEN_CODIGO,:VEN_NOME, 1,:VEN_EXPORTATABLET)";

// A statement with the INSERT's parameters, each compared with its column and so described as
// the INSERT describes it: what a comparison fills and checks, needing no right but SELECT. It
// is never run.
constexpr const char* kCheckVendedor =
    "SELECT VEN_CODIGO FROM VENDEDOR WHERE VEN_CODIGO = :VEN_CODIGO AND VEN_NOME = :VEN_NOME "
    "AND VEN_EXPORTATABLET = :VEN_EXPORTATABLET";

// The INSERT's parameters that the mapping sets; each is named after its column.
constexpr std::array<FieldDeclaration, 3> kVendedorParameters = {{
    {.name = "VEN_CODIGO", .kind = FieldKind::Integer},
    {.name = "VEN_NOME", .kind = FieldKind::Text},
    {.name = "VEN_EXPORTATABLET", .kind = FieldKind::Text},
}};

// A parameter's value as a writer's slot holds it.
void takeParameter(FieldValue& slot, const db::Parameter& parameter) {
    slot.clear();
    if (const auto* integer = std::get_if<std::int32_t>(&parameter.value())) {
        slot.integer = *integer;
        slot.isNull = false;
    } else if (const auto* text = std::get_if<std::string>(&parameter.value())) {
        slot.text = *text;
        slot.isNull = false;
    }
}

// The statement's own refusal before the server sees the row, as its cause: a text longer, in
// the destination's code page, than its column.
std::optional<std::string> parameterRefusal(db::Statement& insert) {
    for (std::size_t p = 0; p < insert.paramCount(); ++p) {
        const auto* text = std::get_if<std::string>(&insert.param(p).value());
        const db::FieldDescription& described = insert.paramDescription(p);
        if (text == nullptr || !isTextColumn(described) || described.length <= 0) continue;
        const std::size_t bytes = db::toCodePage(*text).size();
        if (bytes > static_cast<std::size_t>(described.length))
            return refusalCause(db::ColumnFault{db::ColumnFault::Kind::TextTooLong, insert.param(p).name(), *text,
                                                bytes, static_cast<std::size_t>(described.length)});
    }
    return std::nullopt;
}

}  // namespace

RowMapping vendedoresMapping(RunState& run) {
    const db::Statement& origem = run.session.IBQueryOrigem;
    db::Statement& destino = run.session.IBQueryFireBird;
    const auto slots = std::make_shared<std::array<FieldValue, kVendedorParameters.size()>>();

    RowMapping mapping;
    mapping.sourceTable = "VENDEDOR";
    mapping.sourceKey = "ID";
    mapping.destinationTable = "VENDEDOR";
    mapping.prepare = [&destino] {
        destino.close();
        destino.setText(kInsertVendedor);
        destino.prepare();
    };
    mapping.prepareChecks = [&destino] {
        destino.close();
        destino.setText(kCheckVendedor);
        destino.prepare();
    };
    mapping.fill = [&origem, &destino] {
        destino.param("VEN_CODIGO").setInteger(origem.column("ID").asInteger());
        destino.param("VEN_NOME").setText(origem.column("NOME").asText());
        destino.param("VEN_EXPORTATABLET").setText("S");
    };
    mapping.refusal = [&destino] { return parameterRefusal(destino); };
    for (std::size_t i = 0; i < kVendedorParameters.size(); ++i) {
        const FieldDeclaration& declaration = kVendedorParameters[i];
        mapping.columns.push_back({declaration, [&destino, slots, i, name = declaration.name]() -> const FieldValue& {
                                       takeParameter((*slots)[i], destino.param(name));
                                       return (*slots)[i];
                                   }});
    }
    return mapping;
}

// Sellers: VENDEDOR into VENDEDOR through a parameterised INSERT on the destination command,
// prepared once and executed per row, or queued in blocks. No count query and no sequence.
void ImportaVendedores(RunState& run) {
    db::Statement& origem = run.session.IBQueryOrigem;
    db::Statement& destino = run.session.IBQueryFireBird;
    const RowMapping mapping = vendedoresMapping(run);

    TableImport table;
    table.destinationTable = mapping.destinationTable;
    table.sourceQuery = "SELECT * FROM VENDEDOR";
    table.status = "Importando Vendedores";
    table.deleteStatement = " DELETE FROM VENDEDOR ";
    table.failureMessage = "Falha na importação da tabela de Vendedores, Falha: ";
    table.keyColumn = mapping.columns.front().declaration.name;
    table.sequence = mapping.sequence;
    std::unique_ptr<BlockInsert> blocks;
    table.prepareWriting = [&](std::size_t mostRowsPerBlock) {
        mapping.prepare();
        if (mostRowsPerBlock > 0) blocks = std::make_unique<BlockInsert>(destino, "VENDEDOR", mostRowsPerBlock);
        return blocks.get();
    };
    table.fillRow = mapping.fill;
    table.writeRow = [&] {
        if (blocks) {
            blocks->queue();
        } else {
            destino.execute();
        }
    };
    table.refusal = [&] {
        std::string id = std::to_string(origem.column("ID").asInteger());
        return RowRefusal{
            id, [&run, id](const std::string& failure) {
                run.LogErros.push_back("Erro na importação de VENDEDOR no Registro " + id + "\r\n" + failure + "\r\n");
            }};
    };
    table.sequenceRestart = [](bool) -> std::optional<SequenceRestart> { return std::nullopt; };
    importTable(run, table);
}

}  // namespace engine
