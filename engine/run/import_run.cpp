#include "import_run.h"

#include <algorithm>
#include <ctime>
#include <exception>
#include <optional>
#include <stdexcept>

#include "connection_setup.h"
#include "copy_log.h"
#include "database_error.h"
#include "database_identity.h"
#include "database_server.h"
#include "program_folder_lock.h"
#include "run_admission.h"
#include "run_state.h"
#include "safety_copy.h"
#include "table_imports.h"
#include "table_transaction.h"

namespace engine {

namespace {

// The run's databases as the server names their files, for the logs' records; empty names,
// which no comparison matches, when the server cannot say.
RunDatabases runDatabases(ImportSession& session) {
    try {
        return {db::serverFileName(session.IBDBOrigem, session.IBTransactionFireBird),
                db::serverFileName(session.IBDatabaseDestino, session.IBTransactionFireBird)};
    } catch (const db::DatabaseError&) {
        return {};
    }
}

constexpr const char* kLogPrompt = "Ocorreu erro durante a importação.\r\nDeseja visualiazar os erros?";
constexpr const char* kSuccess = "Importação finalizada com sucesso";
constexpr const char* kWithErrors = "Importação finalizada com erros";
// A preview imports nothing: its end says so.
constexpr const char* kPreviewClean = "Simulação finalizada sem recusas";
constexpr const char* kPreviewWithErrors = "Simulação finalizada com recusas";
constexpr const char* kStoppedBeforeEmptying =
    "Importação interrompida antes de apagar qualquer tabela: nada foi apagado nem importado.";

bool anyTableTicked(const TableChoice& tables) {
    for (CheckBox box : {CheckBox::Clientes, CheckBox::Produtos, CheckBox::ListaPrecos, CheckBox::Fornec,
                         CheckBox::Vendedores, CheckBox::Receber, CheckBox::Pagar})
        if (tables(box)) return true;
    return false;
}

LogReport reportOf(const RunLogFile& log) {
    return {log.folder(), log.fileName(), log.entries(), log.programFolderFailure(), log.lostEntries()};
}

// Names the file that holds a log's entries when the program folder could not take it.
void tellWhereMoved(RunPrompter& prompter, const RunLogFile& log) {
    if (log.entries() == 0 || log.programFolderFailure().empty()) return;
    prompter.tell(MessageKind::Warning,
                  log.programFolderFailure() + "\r\nOs registros deste log estão em: " + log.path());
}

// Offers to open a log that holds entries; a log that the program folder could not take is
// named first, with the file that holds its entries.
void offer(RunPrompter& prompter, const RunLogFile& log) {
    if (log.entries() == 0) return;
    tellWhereMoved(prompter, log);
    if (prompter.ask(Question::OpenLog, kLogPrompt)) prompter.openFile(log.folder(), log.fileName());
}

// The copy a run makes after its confirmation and before its first table, noted in copias.log;
// it counts as made once it was read back from the disk and found equal to its record. When it
// fails the user is told why and asked whether to import without a copy (default No).
// Returns false when the run must stop there, with nothing emptied.
bool copyBeforeEmptying(RunState& run, std::optional<SafetyCopy>& copy) {
    ImportSession& session = run.session;
    try {
        copy = makeSafetyCopy(run.progress, session.login, session.IBDatabaseDestino, session.IBTransactionFireBird);
    } catch (const std::runtime_error& failure) {
        // The server's reason, or why the copy could not be written or checked on the disk.
        run.progress.setStatus("");
        return run.prompter.ask(Question::ImportWithoutCopy,
                                "Não foi possível fazer a cópia de segurança do banco de destino:\r\n" +
                                    std::string(failure.what()) + "\r\nImportar sem cópia de segurança?");
    }
    recordCopy(session.programFolder, *copy, std::time(nullptr));
    return true;
}

void runTables(RunState& run, const TableChoice& tables) {
    const Progress& progress = run.progress;
    // Each box is read when the run reaches its table; after a stop request no table is reached.
    auto reached = [&](CheckBox box) { return !progress.stopRequested() && tables(box); };
    if (reached(CheckBox::Clientes)) ImportaClientes(run);
    if (reached(CheckBox::Fornec)) ImportaFornecedores(run);
    if (reached(CheckBox::Produtos)) {
        ImportaGrupos(run);
        if (!progress.stopRequested()) ImportaProdutos(run);
    }
    if (reached(CheckBox::Vendedores)) ImportaVendedores(run);
}

// The run past its admission: returns how it ended.
RunEnd importTables(RunState& run, const RunRequest& request, RunReport& report) {
    ImportSession& session = run.session;
    const Progress& progress = run.progress;
    RunObserver& observer = progress.observer();
    RunTransaction transaction(session, run.mode);

    observer.phaseChanged(RunPhase::Running);
    progress.setGaugeMinimum(0);
    progress.setGaugePosition(0);
    run.runLogs.start(session.programFolder, isPreview(run.mode), runDatabases(session));
    auto record = [&] {
        report.tables = run.outcomes;
        report.refusedRows = run.refusedRows;
        report.refusedRowsLeftOut = run.refusedRowsLeftOut;
        report.refusalCounts = run.refusalCounts;
        report.logs = {reportOf(run.runLogs.erros()), reportOf(run.runLogs.repetidos())};
        report.refusals = reportOf(run.runLogs.recusadas());
    };
    try {
        if (request.safetyCopy && !isPreview(run.mode) && !copyBeforeEmptying(run, report.copy)) {
            progress.setGaugePosition(0);
            observer.phaseChanged(RunPhase::Ended);
            return RunEnd::StoppedWithoutCopy;
        }
        if (progress.stopRequested()) {
            // A stop that came during the safety copy: no table was reached, nothing emptied.
            transaction.end();
            run.runLogs.finish();
            record();
            run.prompter.tell(MessageKind::Warning, kStoppedBeforeEmptying);
            progress.setStatus(kStoppedBeforeEmptying);
            progress.setGaugePosition(0);
            observer.phaseChanged(RunPhase::Ended);
            session.IBDatabaseDestino.close();
            return RunEnd::Stopped;
        }
        runTables(run, request.tables);
        transaction.end();
        run.flushLogs();
        run.runLogs.finish();
        record();
        offer(run.prompter, run.runLogs.erros());
        offer(run.prompter, run.runLogs.repetidos());
        tellWhereMoved(run.prompter, run.runLogs.recusadas());

        // Success is announced only when every table ran to its end and nothing was refused.
        const bool clean = run.runLogs.entries() == 0 &&
                           std::all_of(run.outcomes.begin(), run.outcomes.end(), [](const TableOutcome& outcome) {
                               return outcome.completed && !outcome.interrupted;
                           });
        const char* endMessage =
            isPreview(run.mode) ? (clean ? kPreviewClean : kPreviewWithErrors) : (clean ? kSuccess : kWithErrors);
        run.prompter.tell(clean ? MessageKind::Information : MessageKind::Warning, endMessage);
        progress.setStatus(endMessage);
        progress.setGaugePosition(0);
        observer.phaseChanged(RunPhase::Ended);
        session.IBDatabaseDestino.close();
        return observer.stopRequested() ? RunEnd::Stopped : RunEnd::Finished;
    } catch (...) {
        // Whatever escapes (a log that no folder could take) leaves the window usable, and a
        // preview's work undone; the failure in hand is the one to report.
        try {
            transaction.end();
        } catch (...) {
        }
        try {
            run.runLogs.finish();
        } catch (...) {
        }
        record();
        observer.phaseChanged(RunPhase::Ended);
        throw;
    }
}

}  // namespace

RunReport runImport(ImportSession& session, const RunRequest& request, RunObserver& observer, RunPrompter& prompter) {
    RunReport report;
    report.mode = request.mode;
    report.startedAt = std::time(nullptr);
    bool admitted = false;
    try {
        if (!anyTableTicked(request.tables)) {
            prompter.tell(MessageKind::Plain, "Marque uma ou mais de uma tabela para ser importado!!");
            return report;
        }
        const ProgramFolderLock folderLock(session.programFolder);
        if (!folderLock.held()) {
            prompter.tell(MessageKind::Warning, folderLock.refusal());
            return report;
        }
        session.IBDatabaseDestino.close();
        if (!Connectar(session, request.origem, request.destino, prompter, false)) return report;
        report.origemServer = serverDescription(session.IBDBOrigem.serverVersion(), request.origem);
        report.destinoServer = serverDescription(session.IBDatabaseDestino.serverVersion(), request.destino);
        const std::unique_ptr<platform::DestinationLock> destinationLock = admitRun(session, prompter);
        if (!destinationLock) return report;
        // A preview changes nothing, so it asks nothing.
        if (!isPreview(request.mode) &&
            !prompter.ask(Question::ConfirmRun,
                          "Atenção os registros das tabelas marcadas serão apagadas e importadas: \r\nConfirma ?"))
            return report;
        admitted = true;
        RunState run(session, request.mode, observer, prompter);
        report.end = importTables(run, request, report);
    } catch (const std::exception& failure) {
        report.end = admitted ? RunEnd::Failed : RunEnd::NotStarted;
        report.failure = failure.what();
    }
    return report;
}

}  // namespace engine
