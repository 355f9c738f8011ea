#include "run_summary.h"

#include <cstdio>
#include <string>

namespace batch {

namespace {

// "NOME     12  3  9  0.4 s": the table name left-aligned, the counts right-aligned.
std::string columns(const std::string& name, const std::string& read, const std::string& refused,
                    const std::string& found, double seconds) {
    char line[160];
    std::snprintf(line, sizeof line, "%-14s %8s %10s %11s %8.1f s", name.c_str(), read.c_str(), refused.c_str(),
                  found.c_str(), seconds);
    return line;
}

std::string firstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

// What the line must point out: rows that are neither in the destination nor refused.
std::string differenceNote(long long read, long long refused, long long found) {
    if (read == found + refused) return "";
    return "  DIFERENÇA: " + std::to_string(read) + " lidos, mas " + std::to_string(found) + " no destino + " +
           std::to_string(refused) + " recusados";
}

}  // namespace

void writeRunSummary(std::ostream& out, const std::vector<TableSummary>& tables) {
    char header[160];
    std::snprintf(header, sizeof header, "%-14s %8s %10s %11s %10s", "Tabela", "Lidos", "Recusados", "No destino",
                  "Tempo");
    out << header << '\n';

    long long totalRead = 0;
    long long totalRefused = 0;
    long long totalFound = 0;
    bool allCounted = true;
    double totalSeconds = 0;
    for (const TableSummary& table : tables) {
        const engine::TableOutcome& outcome = table.outcome;
        totalRead += outcome.rowsRead;
        totalRefused += outcome.rowsRefused;
        totalSeconds += outcome.seconds;
        std::string notes;
        if (!outcome.completed) notes += "  INTERROMPIDA pela falha da tabela";
        if (table.found.rows) {
            totalFound += *table.found.rows;
            notes += differenceNote(outcome.rowsRead, outcome.rowsRefused, *table.found.rows);
        } else {
            allCounted = false;
            notes += "  NÃO CONTADA: " + firstLine(table.found.failure);
        }
        out << columns(outcome.destinationTable, std::to_string(outcome.rowsRead), std::to_string(outcome.rowsRefused),
                       table.found.rows ? std::to_string(*table.found.rows) : "?", outcome.seconds)
            << notes << '\n';
    }
    out << columns("Total", std::to_string(totalRead), std::to_string(totalRefused),
                   allCounted ? std::to_string(totalFound) : "?", totalSeconds)
        << (allCounted ? differenceNote(totalRead, totalRefused, totalFound) : "") << '\n';
}

int exitStatusOfRun(const std::vector<engine::TableOutcome>& outcomes) {
    for (const engine::TableOutcome& outcome : outcomes)
        if (!outcome.completed || outcome.rowsRefused > 0) return 1;
    return 0;
}

}  // namespace batch
