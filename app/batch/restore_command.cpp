#include "restore_command.h"

#include <iostream>

#include "program_folder.h"
#include "restore_copy.h"
#include "settings_file.h"
#include "terminal.h"
#include "terminal_progress.h"
#include "terminal_window.h"

namespace batch {

namespace {

constexpr int kRestored = 0;
constexpr int kNotRestored = 2;

}  // namespace

int runRestoreCommand(const BatchOptions& options) {
    const DatabasePaths paths = databasePaths(options, platform::programFolder() + engine::kSettingsFileName);
    TerminalProgress progress(std::cerr, platform::standardErrorIsTerminal());
    TerminalWindow window({std::cin, std::cerr, platform::standardInputIsTerminal()}, progress, options.sim,
                          options.aceitarCopiaSemRegistro);
    // The server's progress is drawn like a run's.
    progress.runStarted();
    engine::GaugeModel gauge;
    const bool restored = engine::restoreSafetyCopy(engine::Progress(gauge, window), window,
                                                    engine::loginFromEnvironment(), *options.restaurar, paths.destino);
    progress.tablesDone();
    return restored ? kRestored : kNotRestored;
}

}  // namespace batch
