#include "restore_command.h"

#include <unistd.h>

#include <iostream>

#include "program_folder.h"
#include "restore_copy.h"
#include "settings_file.h"
#include "terminal_progress.h"
#include "terminal_window.h"

namespace batch {

namespace {

constexpr int kRestored = 0;
constexpr int kNotRestored = 2;

}  // namespace

int runRestoreCommand(const BatchOptions& options) {
    const DatabasePaths paths = databasePaths(options, platform::programFolder() + engine::kSettingsFileName);
    TerminalProgress progress(std::cerr, ::isatty(STDERR_FILENO) != 0);
    TerminalWindow window({std::cin, std::cerr, ::isatty(STDIN_FILENO) != 0}, progress, options.sim,
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
