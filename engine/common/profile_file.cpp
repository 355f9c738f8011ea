#include "profile_file.h"

#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

#include "codepage.h"
#include "file_paths.h"
#include "text.h"

namespace engine {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// One line of the file and the line break that ended it (none for a last line without one).
struct Line {
    std::string text;
    std::string end;
};

std::vector<Line> readLines(const std::string& path) {
    std::ifstream in(platform::filePath(path), std::ios::binary);
    if (!in) return {};
    std::ostringstream bytes;
    bytes << in.rdbuf();
    // Notepad saves the file in UTF-8 behind a byte-order mark; without one it is in the code
    // page, as the program writes it.
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    const std::string raw = bytes.str();
    const std::string content = raw.rfind(kUtf8Mark, 0) == 0 ? raw.substr(kUtf8Mark.size()) : db::fromCodePage(raw);

    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t newline = content.find('\n', start);
        if (newline == std::string::npos) {
            lines.push_back({content.substr(start), ""});
            break;
        }
        std::size_t textEnd = newline;
        if (textEnd > start && content[textEnd - 1] == '\r') --textEnd;
        lines.push_back({content.substr(start, textEnd - start), content.substr(textEnd, newline + 1 - textEnd)});
        start = newline + 1;
    }
    return lines;
}

// The name of a section line ("[name]"); nothing for any other line.
std::optional<std::string> sectionOf(const Line& line) {
    const std::string text = db::trimBlanks(line.text);
    if (text.empty() || text.front() != '[') return std::nullopt;
    const std::size_t close = text.find(']');
    return db::trimBlanks(std::string_view(text).substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

bool isKeyLine(const Line& line, std::string_view key) {
    const std::size_t equals = line.text.find('=');
    return equals != std::string::npos &&
           db::sameName(db::trimBlanks(std::string_view(line.text).substr(0, equals)), key);
}

// The index of the section's line; lines.size() when it is missing.
std::size_t findSection(const std::vector<Line>& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::optional<std::string> name = sectionOf(lines[i]);
        if (name && db::sameName(*name, section)) return i;
    }
    return lines.size();
}

// The index just past the last line of the section that starts at sectionLine.
std::size_t sectionEnd(const std::vector<Line>& lines, std::size_t sectionLine) {
    std::size_t end = sectionLine + 1;
    while (end < lines.size() && !sectionOf(lines[end])) ++end;
    return end;
}

std::string valueOf(const Line& line) {
    std::string value = db::trimBlanks(std::string_view(line.text).substr(line.text.find('=') + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return db::firstCharacters(value, ProfileFile::kMaxValueLength);
}

void writeLines(const std::string& path, const std::vector<Line>& lines) {
    std::string content;
    for (const Line& line : lines) content += line.text + line.end;
    const std::string bytes = db::toCodePage(content);
    std::ofstream out(platform::filePath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("Unable to write to " + path);
}

}  // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    const std::vector<Line> lines = readLines(path_);
    const std::size_t start = findSection(lines, section);
    if (start == lines.size()) return std::string(defaultValue);
    const std::size_t end = sectionEnd(lines, start);
    for (std::size_t i = start + 1; i < end; ++i)
        if (isKeyLine(lines[i], key)) return valueOf(lines[i]);
    return std::string(defaultValue);
}

void ProfileFile::writeString(std::string_view section, std::string_view key, std::string_view value) const {
    std::vector<Line> lines = readLines(path_);
    const Line keyLine{std::string(key) + "=" + std::string(value), std::string(kLineEnd)};
    const std::size_t start = findSection(lines, section);

    if (start == lines.size()) {
        if (!lines.empty()) {
            if (lines.back().end.empty()) lines.back().end = kLineEnd;
            lines.push_back({"", std::string(kLineEnd)});
        }
        // Built by appending: GCC 12 warns wrongly (-Wrestrict) about "[" + std::string(...).
        std::string header = "[";
        header.append(section).append("]");
        lines.push_back({header, std::string(kLineEnd)});
        lines.push_back(keyLine);
        writeLines(path_, lines);
        return;
    }

    const std::size_t end = sectionEnd(lines, start);
    for (std::size_t i = start + 1; i < end; ++i) {
        if (isKeyLine(lines[i], key)) {
            lines[i].text = keyLine.text;
            if (lines[i].end.empty()) lines[i].end = kLineEnd;
            writeLines(path_, lines);
            return;
        }
    }
    // A new key goes after the section's last non-blank line.
    std::size_t insertAt = end;
    while (insertAt > start + 1 && db::trimBlanks(lines[insertAt - 1].text).empty()) --insertAt;
    if (lines[insertAt - 1].end.empty()) lines[insertAt - 1].end = kLineEnd;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), keyLine);
    writeLines(path_, lines);
}

}  // namespace engine
