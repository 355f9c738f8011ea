// Starts the batch program: the window's import run from a script or a remote shell. Reads
// the command line, runs the Import command with the terminal as its observer and prompter,
// then counts what the destination holds and prints the summary; or restores a safety copy
// over the destination; or compares the destination with the source.
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include "batch_options.h"
#include "command_line.h"
#include "database_server.h"
#include "destination_count.h"
#include "file_paths.h"
#include "import_run.h"
#include "import_session.h"
#include "output_file.h"
#include "program_folder.h"
#include "restore_command.h"
#include "run_report_pdf.h"
#include "run_summary.h"
#include "settings_file.h"
#include "stop_requests.h"
#include "stop_signals.h"
#include "terminal.h"
#include "terminal_progress.h"
#include "terminal_window.h"
#include "verify_command.h"

namespace {

// The status when the run did not start: usage, an empty path, a failed connection, a No, the
// same database twice, a destination another run is importing into.
constexpr int kNotStarted = 2;
constexpr int kWithFailures = 1;

// The logs that lost entries, because no folder could take them.
void printLostLogs(const std::vector<engine::LogReport>& logs) {
    for (const engine::LogReport& log : logs)
        if (log.lostEntries > 0)
            std::cout << "\nLog perdido: " << log.fileName << " (" << log.lostEntries
                      << (log.lostEntries == 1 ? " registro não gravado" : " registros não gravados")
                      << " em nenhuma pasta)\n";
}

void printCopy(const std::optional<engine::SafetyCopy>& copy) {
    if (copy) std::cout << "\nCópia de segurança: " << copy->path << " (" << copy->bytes << " bytes)\n";
}

void printSummary(const engine::RunReport& report, const batch::DatabasePaths& paths, const engine::ServerLogin& login,
                  bool preview) {
    const std::vector<engine::TableOutcome>& outcomes = report.tables;
    std::vector<std::string> tables;
    for (const engine::TableOutcome& outcome : outcomes) tables.push_back(outcome.destinationTable);
    const std::vector<batch::RowCount> counts = batch::countDestinationRows(paths.destino, login, tables);
    batch::RunSummary summary{paths,
                              report.origemServer,
                              report.destinoServer,
                              preview,
                              platform::stopRequested() ? platform::stopSignalName(platform::stopSignal()) : "",
                              {}};
    for (std::size_t i = 0; i < outcomes.size(); ++i) summary.tables.push_back({outcomes[i], counts[i]});
    batch::writeRunSummary(std::cout, summary);
    std::cout << std::flush;
}

// The run's report as a PDF; says whether it was written. Its fonts and painting need a GUI
// application, which the batch makes without a display.
bool writeReport(const std::string& path, const engine::RunReport& run, const batch::DatabasePaths& paths) {
    // Without a desktop session the offscreen platform asks for the user's runtime folder and
    // warns on standard error that there is none: it gets one of its own, private to the user.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime =
            QDir::tempPath() + QStringLiteral("/tavlo-merak-runtime-") + qEnvironmentVariable("USER");
        if (QDir().mkpath(runtime) &&
            QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    }
    char name[] = "tavlo-merak-batch";
    char platformOption[] = "-platform";
    char offscreen[] = "offscreen";
    char* arguments[] = {name, platformOption, offscreen, nullptr};
    int count = 3;
    const QGuiApplication application(count, arguments);
    try {
        report::writeRunReport(path, run, {paths.origem, paths.destino});
    } catch (const std::exception& failure) {
        std::cerr << "tavlo-merak-batch: " << failure.what() << '\n';
        return false;
    }
    std::error_code unknown;
    std::cout << "\nRelatório: " << platform::utf8Path(std::filesystem::absolute(platform::filePath(path), unknown))
              << '\n'
              << std::flush;
    return true;
}

// A report path that no run may write is refused before anything is attached: a database, a
// copy, a folder that cannot take it, or a file already there unless --sim replaces it.
bool reportPathRefused(const batch::BatchOptions& options, const batch::DatabasePaths& paths,
                       engine::RunPrompter& prompter) {
    if (!options.relatorio) return false;
    const engine::OutputFileCheck check =
        engine::checkOutputFile(*options.relatorio, {engine::fileOf(paths.origem), engine::fileOf(paths.destino)});
    std::string refusal = check.refusal;
    if (refusal.empty() && check.exists && !options.sim)
        refusal = "O relatório " + *options.relatorio + " já existe; --sim o substitui.";
    if (refusal.empty()) return false;
    prompter.tell(engine::MessageKind::Warning, refusal);
    return true;
}

int runImport(const batch::BatchOptions& options) {
    const std::string folder = platform::programFolder();
    const batch::DatabasePaths paths = batch::databasePaths(options, folder + engine::kSettingsFileName);
    batch::TerminalProgress progress(std::cerr, platform::standardErrorIsTerminal());
    batch::TerminalWindow window({std::cin, std::cerr, platform::standardInputIsTerminal()}, progress, options.sim);
    if (reportPathRefused(options, paths, window)) return kNotStarted;
    const engine::RunRequest request{paths.origem, paths.destino, engine::tickedBoxes(options.tabelas),
                                     engine::runMode(options.simular, options.atomico), !options.semCopia};
    engine::RunReport report;
    // ISC_USER and ISC_PASSWORD, or what was typed when the server refused them.
    engine::ServerLogin login = engine::loginFromEnvironment();
    {
        engine::ImportSession session(folder, login);
        report = engine::runImport(session, request, window, window);
        if (!report.failure.empty()) window.showError(report.failure);
        login = session.login;
    }  // Both attachments are closed here, before the destination is counted.

    if (!report.started()) return kNotStarted;
    printSummary(report, paths, login, options.simular);
    printLostLogs(report.logs);
    printCopy(report.copy);
    const bool reportWritten = !options.relatorio || writeReport(*options.relatorio, report, paths);
    if (platform::stopRequested()) return platform::exitStatusOfSignal(platform::stopSignal());
    if (report.end == engine::RunEnd::Failed || !reportWritten) return kWithFailures;
    return batch::exitStatusOfRun(report.tables, report.logEntries());
}

}  // namespace

int main(int argc, char* argv[]) {
    // Before the first attachment, so that a stop signal ends the run at a row boundary.
    engine::installStopSignals();
    platform::useUtf8Terminal();
    // UTF-8 arguments whatever the platform's own form: a path may hold any letter.
    const std::vector<std::string> arguments = platform::commandLineArguments(argc, argv);
    batch::BatchOptions options;
    try {
        options = batch::parseBatchOptions(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
    } catch (const batch::UsageError& error) {
        // The one line that matters, and where the usage is.
        std::cerr << "tavlo-merak-batch: " << error.what() << "\nUse tavlo-merak-batch --help para ver as opções.\n";
        return kNotStarted;
    }
    if (options.help) {
        std::cout << batch::usageText();
        return 0;
    }
    if (options.version) {
        std::cout << "tavlo-merak-batch " << TAVLO_MERAK_VERSION << '\n';
        return 0;
    }
    try {
        if (options.restaurar) return batch::runRestoreCommand(options);
        if (options.conferir) return batch::runVerifyCommand(options);
        return runImport(options);
    } catch (const std::exception& failure) {
        std::cerr << "tavlo-merak-batch: " << failure.what() << '\n';
        return kNotStarted;
    }
}
