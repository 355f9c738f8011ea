#include "logged_refusals.h"

#include <array>
#include <fstream>
#include <iterator>
#include <vector>

#include "codepage.h"
#include "file_paths.h"
#include "refused_row.h"
#include "user_data_folder.h"

namespace engine {

namespace {

// The first line of each entry that the table imports log for a refused row, up to its key.
struct EntryStart {
    std::string_view prefix;
    std::string_view table;
};

constexpr std::array<EntryStart, 7> kEntryStarts = {{
    {"Erro na importação de CLIENTES no cód. cliente: ", "CLIENTES"},
    {"Alerta!!! Na importação de CLIENTES no cliente: ", "CLIENTES"},
    {"Cod. Cliente: ", "CLIENTES"},
    {"Erro na importação de FORNECEDORES no Registro ", "FORNECEDORES"},
    {"Erro na importação de GRUPO no Registro ", "GRUPO"},
    {"Erro na importação de PRODUTO no Registro ", "PRODUTOS"},
    {"Erro na importação de VENDEDOR no Registro ", "VENDEDOR"},
}};

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The key at the start of the text: an optional sign and digits.
std::string leadingKey(std::string_view text) {
    std::size_t end = (!text.empty() && text[0] == '-') ? 1 : 0;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    return std::string(text.substr(0, end));
}

bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream file(platform::filePath(path), std::ios::binary);
    if (!file) return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

LoggedRefusals LoggedRefusals::read(const std::string& programFolder, const RunDatabases& databases) {
    LoggedRefusals refusals;
    for (const char* name : {"quorel.log", "quorel2.log"}) {
        std::string bytes;
        std::string path = programFolder + name;
        bool found = readFile(path, bytes);
        if (!found) {
            try {
                path = platform::userDataFolder() + name;
                found = readFile(path, bytes);
            } catch (const std::exception&) {
                // No user's data folder: no log there either.
            }
        }
        if (!found) continue;
        const std::optional<LogRecord> record = LogRecord::read(path);
        if (record && record->databases == databases) refusals.addLog(name, db::fromCodePage(bytes), *record);
    }
    return refusals;
}

void LoggedRefusals::addLog(std::string_view fileName, const std::string& text, const LogRecord& record) {
    const std::vector<std::string_view> lines = linesOf(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (const EntryStart& start : kEntryStarts) {
            if (!lines[i].starts_with(start.prefix)) continue;
            const std::string key = leadingKey(lines[i].substr(start.prefix.size()));
            if (key.empty()) break;
            const auto refused = record.refusedByDestination.find(std::pair(std::string(start.table), key));
            if (refused == record.refusedByDestination.end()) break;
            // The duplicate-client log's entry is one line; the others give the failure next.
            const bool oneLine = start.prefix.starts_with("Cod. Cliente");
            const std::string_view line = oneLine ? lines[i] : i + 1 < lines.size() ? lines[i + 1] : std::string_view{};
            reasons_[{std::string(start.table), key}] =
                refused->second ? refusalCause(refused->second) : std::string(fileName) + ": " + std::string(line);
            break;
        }
    }
}

const std::string* LoggedRefusals::find(std::string_view table, const std::string& key) const {
    const auto found = reasons_.find(std::pair<std::string, std::string>(table, key));
    return found == reasons_.end() ? nullptr : &found->second;
}

}  // namespace engine
