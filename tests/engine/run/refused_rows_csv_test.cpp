// recusadas.csv: every refused row of a run as one line a spreadsheet set to Portuguese opens,
// with the column at fault and what to change in Tavlo.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "import_fixture.h"
#include "run_report.h"
#include "text.h"

namespace {

using engine::CheckBox;
using test_support::ImportFixture;
using test_support::readFile;
using test_support::schemaFile;

using Record = std::vector<std::string>;

const Record kHeader = {"tabela",         "chave", "coluna", "valor na origem", "motivo", "mensagem do servidor",
                        "linha na origem"};
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The records of an RFC 4180 text with ";" between fields and CR LF between records.
std::vector<Record> parseCsv(std::string_view text) {
    std::vector<Record> records;
    Record record;
    std::string field;
    bool quoted = false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (quoted) {
            if (c == '"' && at + 1 < text.size() && text[at + 1] == '"') {
                field += '"';
                ++at;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ';') {
            record.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') {
            record.push_back(std::move(field));
            field.clear();
            records.push_back(std::move(record));
            record.clear();
            ++at;
        } else {
            field += c;
        }
    }
    EXPECT_FALSE(quoted) << "an unclosed quote";
    EXPECT_TRUE(field.empty() && record.empty()) << "a last line without its CR LF";
    return records;
}

// A file's records after its byte-order mark and its header, which the test checks.
std::vector<Record> csvRecords(const std::string& path) {
    const std::string text = readFile(path);
    EXPECT_EQ(text.substr(0, kByteOrderMark.size()), kByteOrderMark);
    std::vector<Record> records = parseCsv(std::string_view(text).substr(kByteOrderMark.size()));
    EXPECT_FALSE(records.empty());
    if (records.empty()) return records;
    EXPECT_EQ(records.front(), kHeader);
    records.erase(records.begin());
    return records;
}

std::size_t lineCount(const std::string& text) {
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    return lines;
}

// True when the bytes are valid UTF-8.
bool isUtf8(std::string_view text) {
    std::size_t pending = 0;
    for (const char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        if (pending > 0) {
            if ((c & 0xC0) != 0x80) return false;
            --pending;
        } else if ((c & 0xE0) == 0xC0) {
            pending = 1;
        } else if ((c & 0xF0) == 0xE0) {
            pending = 2;
        } else if ((c & 0xF8) == 0xF0) {
            pending = 3;
        } else if (c >= 0x80) {
            return false;
        }
    }
    return pending == 0;
}

void runAllTables(ImportFixture& fixture, bool preview) {
    fixture.window.ticked = {CheckBox::Clientes, CheckBox::Fornec, CheckBox::Produtos, CheckBox::Vendedores};
    fixture.options = {.preview = preview, .allOrNothing = false, .safetyCopy = false};
    fixture.importRun();
}

TEST(RefusedRowsCsv, EverySampleRefusalIsOneLineNamingItsColumnAndWhatToChange) {
    ImportFixture fixture(schemaFile("tavlo-sample-data.sql"), schemaFile("merak-sample-data.sql"));
    runAllTables(fixture, false);
    const engine::RunReport& report = fixture.report;
    ASSERT_TRUE(report.refusals.has_value());
    EXPECT_EQ(report.refusals->folder, fixture.programFolder);
    EXPECT_EQ(report.refusals->fileName, "recusadas.csv");

    const std::string text = readFile(fixture.programFolder + "recusadas.csv");
    EXPECT_TRUE(isUtf8(text));
    const std::vector<Record> records = csvRecords(fixture.programFolder + "recusadas.csv");
    int refused = 0;
    for (const engine::TableOutcome& outcome : report.tables) refused += outcome.rowsRefused;
    ASSERT_GT(refused, 0);
    ASSERT_EQ(records.size(), static_cast<std::size_t>(refused));
    ASSERT_EQ(report.refusedRows.size(), records.size());
    EXPECT_EQ(report.refusals->entries, records.size());

    const std::regex tooLong("^Trying to store a string of length (\\d+) into a field that can only contain (\\d+)");
    std::size_t duplicates = 0;
    std::size_t textsTooLong = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& record = records[i];
        const engine::RefusedRow& row = report.refusedRows[i];
        SCOPED_TRACE(row.table + " " + row.key + ": " + row.serverText);
        ASSERT_EQ(record.size(), kHeader.size());
        EXPECT_EQ(record[0], row.table);
        EXPECT_EQ(record[1], row.key);
        EXPECT_EQ(record[2], row.column);
        EXPECT_EQ(record[3], row.value);
        EXPECT_EQ(record[5], row.serverText);
        // The reason is Portuguese and says where to change it.
        EXPECT_NE(record[4].find(" " + row.key + " no Tavlo"), std::string::npos) << record[4];
        EXPECT_EQ(record[4].find("Trying"), std::string::npos);
        EXPECT_EQ(record[4].find("violation"), std::string::npos);
        // The source row as NAME=value pairs, its key among them.
        EXPECT_NE(record[6].find("=" + row.key + " | "), std::string::npos) << record[6];
        std::smatch match;
        if (std::regex_search(row.serverText, match, tooLong)) {
            ++textsTooLong;
            EXPECT_FALSE(record[2].empty());
            EXPECT_EQ(db::characterCount(record[3]), std::stoul(match[1]));
            // The advice names the text's length in Tavlo, never less than what was sent.
            std::smatch advice;
            ASSERT_TRUE(std::regex_search(record[4], advice,
                                          std::regex("^" + record[2] + " tem (\\d+) caracteres; o Merak aceita " +
                                                     match[2].str() + " — encurte esse texto")))
                << record[4];
            EXPECT_GE(std::stoul(advice[1]), std::stoul(match[1]));
        }
        if (row.cause.rfind("Chave repetida", 0) == 0) ++duplicates;
    }
    EXPECT_GT(textsTooLong, 0u);
    // Client 16's COMPLEMENTO has 60 characters in Tavlo; the run sent 51 of them.
    const auto client16 = std::find_if(records.begin(), records.end(),
                                       [](const Record& r) { return r[0] == "CLIENTES" && r[1] == "16"; });
    ASSERT_NE(client16, records.end());
    EXPECT_EQ((*client16)[4],
              "COMPL tem 60 caracteres; o Merak aceita 50 — encurte esse texto no cadastro do cliente 16 "
              "no Tavlo");
    EXPECT_NE((*client16)[5].find("length 51 into a field that can only contain 50"), std::string::npos);
    // The duplicate clients of quorel2.log are refused rows too, each named by its key columns.
    EXPECT_EQ(duplicates, lineCount(readFile(fixture.programFolder + "quorel2.log")));
    EXPECT_GT(duplicates, 0u);
}

TEST(RefusedRowsCsv, APreviewWritesItsOwnFileAndACleanRunLeavesTheEarlierOne) {
    ImportFixture fixture(schemaFile("tavlo-sample-data.sql"), schemaFile("merak-sample-data.sql"));
    {
        std::ofstream earlier(fixture.programFolder + "recusadas.csv", std::ios::binary);
        earlier << "anterior\r\n";
    }
    runAllTables(fixture, true);
    EXPECT_EQ(readFile(fixture.programFolder + "recusadas.csv"), "anterior\r\n");
    const std::vector<Record> preview = csvRecords(fixture.programFolder + "recusadas-simulacao.csv");
    EXPECT_EQ(preview.size(), fixture.report.refusedRows.size());
    EXPECT_EQ(fixture.report.refusals->fileName, "recusadas-simulacao.csv");

    // A run without refusals: no table is ticked that refuses a row.
    ImportFixture clean("INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');\n", schemaFile("merak-sample-data.sql"));
    {
        std::ofstream earlier(clean.programFolder + "recusadas.csv", std::ios::binary);
        earlier << "anterior\r\n";
    }
    clean.window.ticked = {CheckBox::Vendedores};
    clean.options.safetyCopy = false;
    clean.importRun();
    EXPECT_EQ(clean.report.refusedRows.size(), 0u);
    EXPECT_EQ(readFile(clean.programFolder + "recusadas.csv"), "anterior\r\n");
}

}  // namespace
