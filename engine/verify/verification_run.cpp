#include "verification_run.h"

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "conference_file.h"
#include "connection_setup.h"
#include "copy_day.h"
#include "database_identity.h"
#include "destination_sequences.h"
#include "import_session.h"
#include "logged_refusals.h"
#include "program_folder_lock.h"
#include "row_mapping.h"
#include "run_admission.h"
#include "run_state.h"
#include "table_comparison.h"

namespace engine {

namespace {

// A snapshot that writes nothing and waits for no one.
const std::vector<std::string> kReadOnlyParams = {"read", "concurrency", "nowait"};

// A table that a stop request kept the comparison from.
TableCheck notReached(const RowMapping& mapping) {
    TableCheck check;
    check.destinationTable = mapping.destinationTable;
    check.sequenceName = mapping.sequence;
    check.failure = "interrompida antes desta tabela";
    return check;
}

}  // namespace

VerificationReport verifyDestination(const std::string& programFolder, ServerLogin& login,
                                     const VerificationRequest& request, RunObserver& observer, RunPrompter& prompter) {
    VerificationReport report;
    try {
        const std::vector<std::function<RowMapping(RunState&)>> mappings = chosenMappings(request.tables);
        if (mappings.empty()) {
            prompter.tell(MessageKind::Plain, "Marque uma ou mais tabelas para conferir.");
            return report;
        }
        const ProgramFolderLock folderLock(programFolder);
        if (!folderLock.held()) {
            prompter.tell(MessageKind::Warning, folderLock.refusal());
            return report;
        }
        ImportSession session(programFolder, login);
        for (db::Transaction* transaction : {&session.IBTransOrigem, &session.IBTransactionFireBird}) {
            transaction->setParams(kReadOnlyParams);
            transaction->setCloseAction(db::CloseAction::Rollback);
        }
        const bool connected = Connectar(session, request.origem, request.destino, prompter, false);
        login = session.login;
        if (!connected) return report;
        const std::unique_ptr<platform::DestinationLock> lock = admitRun(session, prompter, kNothingCompared);
        if (!lock) return report;

        ConferenceFile file(programFolder);
        report.csvPath = file.path();
        report.started = true;
        const RunDatabases databases{db::serverFileName(session.IBDBOrigem, session.IBTransactionFireBird),
                                     db::serverFileName(session.IBDatabaseDestino, session.IBTransactionFireBird)};
        const LoggedRefusals logged = LoggedRefusals::read(programFolder, databases);
        const std::int32_t earliestTodayDay = lastCopyDay(programFolder, databases.destino).value_or(0);
        RunState run(session, RunMode::Preview, observer, prompter);
        observer.phaseChanged(RunPhase::Running);
        for (const auto& mappingOf : mappings) {
            const RowMapping mapping = mappingOf(run);
            if (run.progress.stopRequested()) {
                report.tables.push_back(notReached(mapping));
                continue;
            }
            report.tables.push_back(compareTable(run, mapping, logged, file, earliestTodayDay));
        }
        report.stopped = run.progress.stopRequested();
        file.flush();
        report.csvPath = file.path();
        report.csvProgramFolderFailure = file.programFolderFailure();
        report.csvFailure = file.failure();
        observer.phaseChanged(RunPhase::Ended);
    } catch (const std::exception& failure) {
        report.failure = failure.what();
        observer.phaseChanged(RunPhase::Ended);
    }
    return report;
}

}  // namespace engine
