#include "verification_summary.h"

#include "conference_file.h"
#include "terminal_text.h"

namespace batch {

namespace {

constexpr int kMatches = 0;
constexpr int kDiffers = 1;
constexpr int kNotStarted = 2;
constexpr int kIncomplete = 2;

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
    if (!table.reached) {
        out << table.destinationTable << ": não conferida - " << table.failure << '\n';
        return;
    }
    out << table.destinationTable << ": " << table.rowsEqual << " iguais, " << table.rowsDifferent << " diferentes, "
        << table.rowsMissingExplained + table.rowsMissingUnexplained << " ausentes (" << table.rowsMissingExplained
        << " explicados), " << table.rowsExtra << " excedentes"
        << (!table.complete() ? " - CONFERIDA SÓ EM PARTE"
            : table.matches() ? " - confere"
                              : " - NÃO CONFERE")
        << '\n';
    if (!table.sequenceName.empty() && table.complete()) out << sequenceLine(table);
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
    if (!table.failure.empty()) out << "  falha: " << terminalText(table.failure) << '\n';
}

// What an incomplete comparison compared and what it did not, and why.
void writeIncomplete(std::ostream& out, const engine::VerificationReport& report) {
    out << "Conferência incompleta: o destino não foi conferido por inteiro.\n";
    std::string compared;
    for (const engine::TableCheck& table : report.tables)
        if (table.complete()) compared += (compared.empty() ? "" : ", ") + table.destinationTable;
    out << "  Conferidas: " << (compared.empty() ? "nenhuma" : compared) << '\n';
    for (const engine::TableCheck& table : report.tables) {
        if (table.complete()) continue;
        out << "  Não conferida" << (table.reached ? " até o fim: " : ": ") << table.destinationTable << " - "
            << terminalText(table.failure) << '\n';
    }
    if (report.stopped) out << "  A conferência foi interrompida.\n";
    if (!report.failure.empty()) out << "  Falha: " << terminalText(report.failure) << '\n';
    if (!report.csvFailure.empty())
        out << "  " << engine::kConferenceFileName << " ficou incompleto: " << terminalText(report.csvFailure) << '\n';
}

}  // namespace

void writeVerificationSummary(std::ostream& out, const engine::VerificationReport& report) {
    out << "Conferência do destino com a origem\n";
    for (const engine::TableCheck& table : report.tables) writeTable(out, table);
    if (!report.failure.empty()) out << "Falha: " << terminalText(report.failure) << '\n';
    if (!report.csvProgramFolderFailure.empty() && !report.csvPath.empty())
        out << "A pasta do programa não aceitou " << engine::kConferenceFileName << ": "
            << terminalText(report.csvProgramFolderFailure) << '\n';
    if (!report.csvPath.empty())
        out << (report.csvFailure.empty() ? "Todas as diferenças: " : "Diferenças até a falha: ") << report.csvPath
            << '\n';
    if (!report.complete())
        writeIncomplete(out, report);
    else
        out << (report.matches() ? "O destino confere com a origem.\n" : "O destino NÃO confere com a origem.\n");
}

int exitStatusOfVerification(const engine::VerificationReport& report) {
    if (!report.started) return kNotStarted;
    if (!report.complete()) return kIncomplete;
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
    if (!report.complete()) return kIncomplete;
    return report.matches() && !adjustment.anyBehind() && adjustment.failure.empty() ? kMatches : kDiffers;
}

}  // namespace batch
