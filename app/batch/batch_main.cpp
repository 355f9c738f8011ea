// Starts the batch program: the window's import run from a script or a remote shell. Reads
// the command line, runs the Import command on a terminal window, then counts what the
// destination holds and prints the summary; or restores a safety copy over the destination.
#include <signal.h>
#include <unistd.h>

#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "batch_options.h"
#include "destination_count.h"
#include "import_context.h"
#include "import_run.h"
#include "program_folder.h"
#include "restore_command.h"
#include "run_summary.h"
#include "stop_signals.h"
#include "terminal_progress.h"
#include "terminal_window.h"

namespace {

// The status when the run did not start: usage, an empty path, a failed connection, a No, the
// same database twice, a destination another run is importing into.
constexpr int kNotStarted = 2;
constexpr int kWithFailures = 1;

std::string signalName(int signal) {
    if (signal == SIGINT) return "SIGINT";
    if (signal == SIGTERM) return "SIGTERM";
    return std::to_string(signal);
}

void printCopy(const std::optional<engine::SafetyCopy>& copy) {
    if (copy) std::cout << "\nCópia de segurança: " << copy->path << " (" << copy->bytes << " bytes)\n";
}

void printSummary(const std::vector<engine::TableOutcome>& outcomes, const batch::DatabasePaths& paths, bool preview) {
    std::vector<std::string> tables;
    for (const engine::TableOutcome& outcome : outcomes) tables.push_back(outcome.destinationTable);
    const std::vector<batch::RowCount> counts = batch::countDestinationRows(paths.destino, tables);
    batch::RunSummary summary{paths, preview, engine::stopRequested() ? signalName(engine::stopSignal()) : "", {}};
    for (std::size_t i = 0; i < outcomes.size(); ++i) summary.tables.push_back({outcomes[i], counts[i]});
    batch::writeRunSummary(std::cout, summary);
    std::cout << std::flush;
}

int runImport(const batch::BatchOptions& options) {
    const std::string folder = engine::programFolder();
    const batch::DatabasePaths paths = batch::databasePaths(options, folder + "Config.ini");
    batch::TerminalProgress progress(std::cerr, ::isatty(STDERR_FILENO) != 0);
    batch::TerminalWindow window({std::cin, std::cerr, ::isatty(STDIN_FILENO) != 0}, progress, options.tabelas, paths,
                                 options.sim);
    std::vector<engine::TableOutcome> outcomes;
    std::size_t logEntries = 0;
    std::optional<engine::SafetyCopy> copy;
    bool stoppedWithoutCopy = false;
    bool failureEscaped = false;
    {
        engine::ImportContext context(window, folder);
        context.options.preview = options.simular;
        context.options.allOrNothing = options.atomico;
        context.options.safetyCopy = !options.semCopia;
        progress.follow(context.outcomes);
        try {
            engine::BitBtnImportarClick(context);
        } catch (const std::exception& failure) {
            window.showError(failure.what());
            failureEscaped = true;
        }
        outcomes = context.outcomes;
        logEntries = context.runLogs.entries();
        copy = context.safetyCopy;
        stoppedWithoutCopy = context.stoppedWithoutCopy;
    }  // Both attachments are closed here, before the destination is counted.

    if (!window.runStarted() || stoppedWithoutCopy) return kNotStarted;
    printSummary(outcomes, paths, options.simular);
    printCopy(copy);
    if (engine::stopRequested()) return engine::exitStatusOfSignal(engine::stopSignal());
    return failureEscaped ? kWithFailures : batch::exitStatusOfRun(outcomes, logEntries);
}

}  // namespace

int main(int argc, char* argv[]) {
    // Before the first attachment, so that a stop signal ends the run at a row boundary.
    engine::installStopSignals();
    batch::BatchOptions options;
    try {
        options = batch::parseBatchOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const batch::UsageError& error) {
        std::cerr << "tavlo-merak-batch: " << error.what() << "\n\n" << batch::usageText();
        return kNotStarted;
    }
    if (options.help) {
        std::cout << batch::usageText();
        return 0;
    }
    try {
        if (options.restaurar) return batch::runRestoreCommand(options);
        return runImport(options);
    } catch (const std::exception& failure) {
        std::cerr << "tavlo-merak-batch: " << failure.what() << '\n';
        return kNotStarted;
    }
}
