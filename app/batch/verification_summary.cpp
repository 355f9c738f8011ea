#include "verification_summary.h"

#include "terminal_text.h"

namespace batch {

namespace {

constexpr int kMatches = 0;
constexpr int kDiffers = 1;
constexpr int kNotStarted = 2;

std::string sequenceLine(const engine::TableCheck& table) {
    std::string line = "  sequência " + table.sequenceName;
    if (!table.sequenceFailure.empty())
        line += ": " + table.sequenceFailure;
    else
        line += " = " + (table.sequenceValue ? std::to_string(*table.sequenceValue) : std::string("?"));
    return line + ", maior chave " + (table.highestKey ? std::to_string(*table.highestKey) : "nenhuma") +
           (table.sequenceBehind() ? " - SEQUÊNCIA ATRASADA" : "") + '\n';
}

void writeTable(std::ostream& out, const engine::TableCheck& table) {
    out << table.destinationTable << ": " << table.rowsEqual << " iguais, " << table.rowsDifferent << " diferentes, "
        << table.rowsMissingExplained + table.rowsMissingUnexplained << " ausentes (" << table.rowsMissingExplained
        << " explicados), " << table.rowsExtra << " excedentes" << (table.matches() ? " - confere" : " - NÃO CONFERE")
        << '\n';
    if (!table.sequenceName.empty()) out << sequenceLine(table);
    // Keys, values and explanations come from the databases: shown with their control
    // characters made visible.
    for (const engine::ColumnDifference& difference : table.differences)
        out << "  diferente  chave " << terminalText(difference.key) << ", " << terminalText(difference.column)
            << ": mapeamento \"" << terminalText(difference.mapped) << "\", destino \""
            << terminalText(difference.destination) << "\"\n";
    for (const engine::MissingRow& missing : table.missing)
        out << "  ausente    chave " << terminalText(missing.key) << ": "
            << (missing.explanation.empty() ? "sem explicação" : terminalText(missing.explanation)) << '\n';
    for (const std::string& key : table.extraKeys) out << "  excedente  chave " << terminalText(key) << '\n';
    if (!table.failure.empty()) out << "  falha: " << table.failure << '\n';
}

}  // namespace

void writeVerificationSummary(std::ostream& out, const engine::VerificationReport& report) {
    out << "Conferência do destino com a origem\n";
    for (const engine::TableCheck& table : report.tables) writeTable(out, table);
    if (!report.failure.empty()) out << "Falha: " << report.failure << '\n';
    if (!report.csvPath.empty()) out << "Todas as diferenças: " << report.csvPath << '\n';
    out << (report.matches() ? "O destino confere com a origem.\n" : "O destino NÃO confere com a origem.\n");
}

int exitStatusOfVerification(const engine::VerificationReport& report) {
    if (!report.started) return kNotStarted;
    return report.matches() ? kMatches : kDiffers;
}

void writeAdjustmentSummary(std::ostream& out, const engine::SequenceAdjustmentReport& adjustment) {
    if (!adjustment.started) return;
    out << "Ajuste das sequências\n";
    for (const engine::SequenceAdjustment& s : adjustment.sequences) {
        out << "  " << s.sequence << ": ";
        if (s.changed)
            out << s.value << " -> " << *s.highestKey << " - AJUSTADA\n";
        else if (s.behind())
            out << s.value << ", maior código " << *s.highestKey << " - CONTINUA ATRASADA\n";
        else
            out << s.value << ", maior código " << (s.highestKey ? std::to_string(*s.highestKey) : "nenhum")
                << " - não estava atrasada\n";
    }
}

int exitStatusOfAdjustment(const engine::VerificationReport& report,
                           const engine::SequenceAdjustmentReport& adjustment) {
    if (!adjustment.started) return kNotStarted;
    return report.matches() && !adjustment.anyBehind() && adjustment.failure.empty() ? kMatches : kDiffers;
}

}  // namespace batch
