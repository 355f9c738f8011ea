#include "refusal_csv.h"

#include <string_view>

#include "csv_field.h"

namespace engine {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kHeader =
    "tabela;chave;coluna;valor na origem;motivo;mensagem do servidor;linha na origem\r\n";
constexpr std::string_view kPairSeparator = " | ";

}  // namespace

std::string csvPreamble() { return std::string(kByteOrderMark) + std::string(kHeader); }

std::string csvLine(const RefusedRow& row) {
    std::string pairs;
    for (const auto& [name, value] : row.sourceRow) {
        if (!pairs.empty()) pairs += kPairSeparator;
        pairs += name + "=" + value;
    }
    const std::string& sourceRow = pairs;
    std::string line = csvField(row.table);
    for (const std::string* field : {&row.key, &row.column, &row.value, &row.advice, &row.serverText, &sourceRow})
        line += ';' + csvField(*field);
    return line;
}

}  // namespace engine
