#include "verify_command.h"

#include <iostream>

#include "program_folder.h"
#include "sequence_adjustment.h"
#include "settings_file.h"
#include "stop_signals.h"
#include "terminal.h"
#include "terminal_progress.h"
#include "terminal_window.h"
#include "verification_run.h"
#include "verification_summary.h"

namespace batch {

int runVerifyCommand(const BatchOptions& options) {
    const std::string folder = platform::programFolder();
    const DatabasePaths paths = databasePaths(options, folder + engine::kSettingsFileName);
    TerminalProgress progress(std::cerr, platform::standardErrorIsTerminal());
    TerminalWindow window({std::cin, std::cerr, platform::standardInputIsTerminal()}, progress, options.sim);
    engine::ServerLogin login = engine::loginFromEnvironment();
    const engine::VerificationRequest request{paths.origem, paths.destino, engine::tickedBoxes(options.tabelas)};
    const engine::VerificationReport report = engine::verifyDestination(folder, login, request, window, window);
    if (report.started || !report.failure.empty()) {
        writeVerificationSummary(std::cout, report);
        std::cout << std::flush;
    }
    // A stop ends the command as it ends an import, with the signal's status.
    const auto stopStatus = [] { return platform::exitStatusOfSignal(platform::stopSignal()); };
    if (platform::stopRequested()) return stopStatus();
    if (!options.ajustarSequencias || !report.started) return exitStatusOfVerification(report);
    const engine::SequenceAdjustmentReport adjustment = engine::adjustSequences(folder, login, request, window, window);
    writeAdjustmentSummary(std::cout, adjustment);
    std::cout << std::flush;
    if (platform::stopRequested()) return stopStatus();
    return exitStatusOfAdjustment(report, adjustment);
}

}  // namespace batch
