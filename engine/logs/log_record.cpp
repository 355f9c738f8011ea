#include "log_record.h"

#include <array>
#include <fstream>
#include <vector>

#include "file_paths.h"

namespace engine {

namespace {

constexpr std::string_view kOrigem = "origem=";
constexpr std::string_view kDestino = "destino=";
constexpr std::string_view kRefused = "recusada\t";
constexpr std::string_view kNoFault = "-";

using Kind = db::ColumnFault::Kind;

// The name of each kind of column fault in the record.
constexpr std::array<std::pair<Kind, std::string_view>, 6> kKindNames = {{
    {Kind::TextTooLong, "texto-longo"},
    {Kind::Missing, "sem-valor"},
    {Kind::NotConvertible, "nao-comporta"},
    {Kind::NotValid, "nao-valido"},
    {Kind::Duplicate, "chave-repetida"},
    {Kind::MissingReference, "referencia-inexistente"},
}};

std::string_view nameOf(Kind kind) {
    for (const auto& [k, name] : kKindNames)
        if (k == kind) return name;
    return kNoFault;
}

std::optional<Kind> kindNamed(std::string_view name) {
    for (const auto& [k, n] : kKindNames)
        if (n == name) return k;
    return std::nullopt;
}

// Tabs and line ends would break the record's fields: a text that holds one is cut there.
std::string field(std::string_view text) { return std::string(text.substr(0, text.find_first_of("\t\r\n"))); }

std::vector<std::string_view> split(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t end = line.find(separator); end != std::string_view::npos; end = line.find(separator, start)) {
        fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

// "recusada<TAB>table<TAB>key<TAB>kind<TAB>column<TAB>limit" into the record.
void addRefusal(LogRecord& record, std::string_view line) {
    const std::vector<std::string_view> fields = split(line.substr(kRefused.size()), '\t');
    if (fields.size() != 5) return;
    std::optional<db::ColumnFault> fault;
    if (const std::optional<Kind> kind = kindNamed(fields[2])) {
        fault = db::ColumnFault{*kind, std::string(fields[3]), {}};
        for (const char digit : fields[4]) {
            if (digit < '0' || digit > '9') break;
            fault->limit = fault->limit * 10 + static_cast<std::size_t>(digit - '0');
        }
    }
    record.refusedByDestination[{std::string(fields[0]), std::string(fields[1])}] = fault;
}

}  // namespace

std::string logRecordHeader(const RunDatabases& databases) {
    return std::string(kOrigem) + field(databases.origem) + "\r\n" + std::string(kDestino) + field(databases.destino) +
           "\r\n";
}

std::string logRecordLine(std::string_view table, std::string_view key, const std::optional<db::ColumnFault>& fault) {
    return std::string(kRefused) + field(table) + '\t' + field(key) + '\t' +
           std::string(fault ? nameOf(fault->kind) : kNoFault) + '\t' + (fault ? field(fault->column) : "") + '\t' +
           (fault ? std::to_string(fault->limit) : "") + "\r\n";
}

std::optional<LogRecord> LogRecord::read(const std::string& logPath) {
    std::ifstream file(platform::filePath(logPath + std::string(kLogRecordSuffix)), std::ios::binary);
    if (!file) return std::nullopt;
    LogRecord record;
    bool origem = false;
    bool destino = false;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.starts_with(kOrigem)) {
            record.databases.origem = line.substr(kOrigem.size());
            origem = true;
        } else if (line.starts_with(kDestino)) {
            record.databases.destino = line.substr(kDestino.size());
            destino = true;
        } else if (line.starts_with(kRefused)) {
            addRefusal(record, line);
        }
    }
    if (!origem || !destino) return std::nullopt;
    return record;
}

}  // namespace engine
