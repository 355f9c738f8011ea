#pragma once

// Reads the summary that the batch program prints on its standard output.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace test_support {

// One table line of the summary, the total line included.
struct SummaryLine {
    std::string table;
    std::string before;
    long long read = -1;
    long long refused = -1;
    std::string found;
    std::string sequence;
    std::string notes;
};

// The table lines that follow the summary's head line ("Tabela ...").
inline std::vector<SummaryLine> summaryLines(const std::string& out) {
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line) && line.rfind("Tabela ", 0) != 0) {
    }
    EXPECT_EQ(line.rfind("Tabela ", 0), 0u) << out;
    std::vector<SummaryLine> summary;
    // The table ends at an empty line; what follows (the safety copy) is not a table line.
    while (std::getline(lines, line) && !line.empty()) {
        std::istringstream fields(line);
        SummaryLine parsed;
        double seconds = 0;
        std::string unit;
        fields >> parsed.table >> parsed.before >> parsed.read >> parsed.refused >> parsed.found >> seconds >> unit >>
            parsed.sequence;
        EXPECT_EQ(unit, "s") << line;
        std::getline(fields, parsed.notes);
        summary.push_back(parsed);
    }
    return summary;
}

// The paths the summary names at its head.
inline std::string summaryPath(const std::string& out, const std::string& which) {
    const std::string head = which + ": ";
    const std::size_t at = out.find(head);
    if (at == std::string::npos) return "";
    return out.substr(at + head.size(), out.find('\n', at) - at - head.size());
}

}  // namespace test_support
