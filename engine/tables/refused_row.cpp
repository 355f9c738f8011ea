#include "refused_row.h"

#include <array>
#include <utility>

#include "text.h"

namespace engine {

namespace {

// What the technician calls a row of each destination table.
std::string rowNoun(std::string_view table) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kNouns{{
        {"CLIENTES", "cliente"},
        {"FORNECEDORES", "fornecedor"},
        {"GRUPO", "grupo"},
        {"PRODUTOS", "produto"},
        {"VENDEDOR", "vendedor"},
    }};
    for (const auto& [name, noun] : kNouns)
        if (name == table) return std::string(noun);
    return "registro";
}

// A name or the texts that stand for one that is not known.
std::string orText(const std::string& name, const char* unknown) { return name.empty() ? unknown : name; }

}  // namespace

std::string refusalCause(const std::optional<db::ColumnFault>& fault) {
    if (!fault) return "Recusado pelo Merak";
    const std::string& column = fault->column;
    using Kind = db::ColumnFault::Kind;
    switch (fault->kind) {
    case Kind::TextTooLong:
        return "Texto longo demais para " + orText(column, "um campo") + " (máximo " + std::to_string(fault->limit) +
               ")";
    case Kind::Missing:
        return orText(column, "Um campo obrigatório") + " sem valor";
    case Kind::NotConvertible:
        return "Valor que " + orText(column, "o campo") + " não comporta";
    case Kind::NotValid:
        return "Valor recusado em " + orText(column, "um campo");
    case Kind::Duplicate:
        return column.empty() ? "Chave repetida" : "Chave repetida (" + column + ")";
    case Kind::MissingReference:
        return column.empty() ? "Referência inexistente" : "Referência inexistente (" + column + ")";
    }
    return "Recusado pelo Merak";
}

void explainRefusal(RefusedRow& row, const std::optional<db::ColumnFault>& fault) {
    const std::string where = rowNoun(row.table) + " " + row.key + " no Tavlo";
    const std::string record = " no cadastro do " + where;
    row.cause = refusalCause(fault);
    if (!fault) {
        row.advice = "o Merak recusou o " + where + " — veja a mensagem do servidor";
        return;
    }
    const std::string& column = row.column;
    const std::string& value = row.value;
    using Kind = db::ColumnFault::Kind;
    switch (fault->kind) {
    case Kind::TextTooLong:
        // The length the text has in Tavlo, not the length of what was sent after the cut.
        row.advice = orText(column, "Um texto") + " tem " + std::to_string(fault->length) +
                     " caracteres; o Merak aceita " + std::to_string(fault->limit) + " — encurte esse texto" + record;
        break;
    case Kind::Missing:
        row.advice = orText(column, "Um campo") + " está vazio e o Merak exige um valor — preencha esse campo" + record;
        break;
    case Kind::NotConvertible:
        row.advice = orText(column, "O campo") + " não comporta o valor " + value + " — corrija esse valor" + record;
        break;
    case Kind::NotValid:
        row.advice =
            "o Merak não aceita " + value + " em " + orText(column, "um campo") + " — corrija esse valor" + record;
        break;
    case Kind::Duplicate:
        row.advice = (column.empty() ? "a chave" : column + " = " + value) + " já foi importado nesta tabela — o " +
                     where + " repete outro registro; corrija o código ou apague a cópia";
        break;
    case Kind::MissingReference:
        row.advice = (column.empty() ? "o valor referido" : column + " = " + value) +
                     " não existe na tabela a que o Merak o liga — cadastre-o no Merak ou corrija o " + where;
        break;
    }
}

SourceRow sourceRowOf(const db::Statement& cursor) {
    SourceRow row;
    const std::vector<db::FieldDescription>& columns = cursor.columns();
    row.reserve(columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        std::string value;
        try {
            value = cursor.column(i).asText();
        } catch (const db::DatabaseError&) {
            // A value that cannot be read as text (a lost connection) is left empty: the
            // refusal itself is what matters here.
        }
        row.emplace_back(columns[i].name, std::move(value));
    }
    return row;
}

RefusedRow refusedRowOf(std::string_view table, std::string key, const db::DatabaseError& failure,
                        SourceRow sourceRow) {
    RefusedRow row;
    row.table = table;
    row.key = std::move(key);
    row.serverText = failure.text();
    row.reason = db::firstLine(row.serverText);
    if (const std::optional<db::ColumnFault>& fault = failure.columnFault()) {
        row.column = fault->column;
        row.value = fault->value;
    }
    explainRefusal(row, failure.columnFault());
    row.sourceRow = std::move(sourceRow);
    return row;
}

}  // namespace engine
