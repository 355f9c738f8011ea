#include "run_summary.h"

#include <cstdio>
#include <optional>
#include <string>

#include "text.h"

namespace batch {

namespace {

// "NOME  5  12  3  9  0.4 s  13": the table name left-aligned, the figures right-aligned.
std::string columns(const std::string& name, const std::string& before, const std::string& read,
                    const std::string& refused, const std::string& after, const std::string& seconds,
                    const std::string& sequence) {
    char line[200];
    std::snprintf(line, sizeof line, "%-14s %8s %8s %10s %8s %9s %10s", name.c_str(), before.c_str(), read.c_str(),
                  refused.c_str(), after.c_str(), seconds.c_str(), sequence.c_str());
    return line;
}

std::string count(const std::optional<long long>& value) { return value ? std::to_string(*value) : "-"; }

// What the line must point out: rows that are neither in the destination nor refused.
std::string differenceNote(long long read, long long refused, long long found, const char* where) {
    if (read == found + refused) return "";
    return "  DIFERENÇA: " + std::to_string(read) + " lidos, mas " + std::to_string(found) + " " + where + " + " +
           std::to_string(refused) + " recusados";
}

}  // namespace

void writeRunSummary(std::ostream& out, const RunSummary& summary) {
    out << "Origem: " << summary.paths.origem << '\n' << "Destino: " << summary.paths.destino << '\n';
    if (!summary.origemServer.empty()) out << "Servidor da origem: " << summary.origemServer << '\n';
    if (!summary.destinoServer.empty()) out << "Servidor do destino: " << summary.destinoServer << '\n';
    if (summary.preview) out << "Simulação: nada foi gravado no destino; \"Ficaria\" é o que ele teria.\n";
    out << columns("Tabela", "Antes", "Lidos", "Recusados", summary.preview ? "Ficaria" : "Depois", "Tempo",
                   "Sequência")
        << '\n';

    long long totalBefore = 0;
    bool allBeforeKnown = true;
    long long totalRead = 0;
    long long totalRefused = 0;
    long long totalAfter = 0;
    bool allCounted = true;
    double totalSeconds = 0;
    const char* where = summary.preview ? "ficariam no destino" : "no destino";
    for (const TableSummary& table : summary.tables) {
        const engine::TableOutcome& outcome = table.outcome;
        if (outcome.rowsBefore) totalBefore += *outcome.rowsBefore;
        allBeforeKnown = allBeforeKnown && outcome.rowsBefore.has_value();
        totalRead += outcome.rowsRead;
        totalRefused += outcome.rowsRefused;
        totalSeconds += outcome.seconds;
        // A preview leaves the destination as it was: what it would hold is the run's own count.
        const RowCount after = summary.preview ? RowCount{outcome.rowsAfter, "a simulação não contou"} : table.found;
        std::string notes;
        if (outcome.interrupted) notes += "  INTERROMPIDA pelo sinal " + summary.stopSignalName;
        if (!outcome.completed) notes += "  INTERROMPIDA pela falha da tabela";
        if (outcome.keptAsItWas) notes += "  MANTIDA como estava";
        if (outcome.lastRowUnknown) notes += "  ÚLTIMO REGISTRO (" + *outcome.lastRowUnknown + ") INCERTO";
        if (outcome.highestKeyAboveSequence && outcome.sequenceLeftAt)
            notes += "  CÓDIGOS ATÉ " + std::to_string(*outcome.highestKeyAboveSequence) + " ACIMA DA SEQUÊNCIA (" +
                     std::to_string(*outcome.sequenceLeftAt) + ")";
        if (outcome.sequenceBehind())
            notes += "  SEQUÊNCIA ATRASADA: " + *outcome.sequenceName + " = " + std::to_string(*outcome.sequenceValue) +
                     ", maior código " + std::to_string(*outcome.highestKey);
        if (after.rows) {
            totalAfter += *after.rows;
            if (!outcome.keptAsItWas)
                notes += differenceNote(outcome.rowsRead, outcome.rowsRefused, *after.rows, where);
        } else {
            allCounted = false;
            notes += "  NÃO CONTADA: " + db::firstLine(after.failure);
        }
        const std::string sequence = outcome.sequenceValue ? std::to_string(*outcome.sequenceValue) : "-";
        out << columns(outcome.destinationTable, count(outcome.rowsBefore), std::to_string(outcome.rowsRead),
                       std::to_string(outcome.rowsRefused), after.rows ? std::to_string(*after.rows) : "?",
                       db::secondsText(outcome.seconds), sequence)
            << notes << '\n';
    }
    out << columns("Total", allBeforeKnown ? std::to_string(totalBefore) : "-", std::to_string(totalRead),
                   std::to_string(totalRefused), allCounted ? std::to_string(totalAfter) : "?",
                   db::secondsText(totalSeconds), "-")
        << '\n';
}

int exitStatusOfRun(const std::vector<engine::TableOutcome>& outcomes, std::size_t logEntries) {
    if (logEntries > 0) return 1;
    for (const engine::TableOutcome& outcome : outcomes)
        if (!outcome.completed) return 1;
    return 0;
}

}  // namespace batch
