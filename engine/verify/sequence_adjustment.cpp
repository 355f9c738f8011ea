#include "sequence_adjustment.h"

#include <exception>
#include <memory>

#include "connection_setup.h"
#include "database_error.h"
#include "destination_sequences.h"
#include "import_session.h"
#include "run_admission.h"
#include "run_state.h"
#include "sequence_statement.h"
#include "statement.h"

namespace engine {

namespace {

std::string listing(const std::vector<SequenceAdjustment>& sequences) {
    std::string lines;
    for (const SequenceAdjustment& s : sequences) {
        lines += s.sequence + " = " + std::to_string(s.value) + ", maior código em " + s.table + ": " +
                 (s.highestKey ? std::to_string(*s.highestKey) : "nenhum") +
                 (s.behind() ? " - ATRASADA, passa a " + std::to_string(*s.highestKey)
                             : " - não está atrasada, fica como está") +
                 "\r\n";
    }
    return lines;
}

// Each sequence of the chosen tables, with its value and its table's highest key.
std::vector<SequenceAdjustment> readSequences(ImportSession& session, const TableChoice& tables, RunObserver& observer,
                                              RunPrompter& prompter) {
    RunState run(session, RunMode::Preview, observer, prompter);
    std::vector<SequenceAdjustment> sequences;
    for (const auto& mappingOf : chosenMappings(tables)) {
        const RowMapping mapping = mappingOf(run);
        if (mapping.sequence.empty()) continue;
        SequenceAdjustment sequence;
        sequence.sequence = mapping.sequence;
        sequence.table = mapping.destinationTable;
        sequence.value = sequenceValue(session, mapping.sequence).value_or(0);
        sequence.highestKey = highestKey(session, mapping);
        sequences.push_back(sequence);
    }
    return sequences;
}

// Sets every sequence that is behind in the destination transaction and commits them together.
void setBehindSequences(ImportSession& session, std::vector<SequenceAdjustment>& sequences) {
    db::Statement set("AjusteSequencia", session.IBDatabaseDestino, session.IBTransactionFireBird);
    for (const SequenceAdjustment& s : sequences) {
        if (!s.behind()) continue;
        set.setText(db::setSequenceStatement(session.IBDatabaseDestino.serverVersion(), s.sequence,
                                             std::to_string(*s.highestKey)));
        set.execute();
    }
    session.IBTransactionFireBird.commit();
    for (SequenceAdjustment& s : sequences) s.changed = s.behind();
}

}  // namespace

SequenceAdjustmentReport adjustSequences(const std::string& programFolder, ServerLogin& login,
                                         const VerificationRequest& request, RunObserver& observer,
                                         RunPrompter& prompter) {
    SequenceAdjustmentReport report;
    ImportSession session(programFolder, login);
    // Nothing is kept unless every sequence was set.
    session.IBTransactionFireBird.setCloseAction(db::CloseAction::Rollback);
    session.IBTransOrigem.setCloseAction(db::CloseAction::Rollback);
    const bool connected = Connectar(session, request.origem, request.destino, prompter, false);
    login = session.login;
    if (!connected) return report;
    const std::unique_ptr<platform::DestinationLock> lock = admitRun(session, prompter, kNoSequenceChanged);
    if (!lock) return report;
    try {
        report.sequences = readSequences(session, request.tables, observer, prompter);
    } catch (const std::exception& failure) {
        report.failure = std::string("Não foi possível ler as sequências do destino.\r\nFalha: ") + failure.what();
        prompter.tell(MessageKind::Warning, report.failure);
        return report;
    }
    report.started = true;
    if (!report.anyBehind()) {
        prompter.tell(MessageKind::Information, "Nenhuma sequência está atrasada:\r\n" + listing(report.sequences));
        return report;
    }
    report.confirmed = prompter.ask(Question::AdjustSequences,
                                    "As sequências atrasadas do destino passarão ao maior código da "
                                    "tabela; as outras ficam como estão:\r\n" +
                                        listing(report.sequences) + "Confirma ?");
    if (!report.confirmed) return report;
    try {
        setBehindSequences(session, report.sequences);
    } catch (const db::DatabaseError& failure) {
        session.IBTransactionFireBird.rollback();
        report.failure = failure.hasCode(isc_no_priv)
                             ? "Sem permissão para alterar as sequências do destino: nenhuma foi alterada."
                             : "Não foi possível ajustar as sequências: nenhuma foi alterada.";
        report.failure += std::string("\r\nFalha: ") + failure.text();
        prompter.tell(MessageKind::Warning, report.failure);
        return report;
    }
    std::string changed;
    for (const SequenceAdjustment& s : report.sequences)
        if (s.changed)
            changed += s.sequence + ": " + std::to_string(s.value) + " -> " + std::to_string(*s.highestKey) + "\r\n";
    prompter.tell(MessageKind::Information, "Sequências ajustadas:\r\n" + changed);
    return report;
}

}  // namespace engine
