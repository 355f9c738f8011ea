// Compares the destination with the source after an import, and times the comparison against a
// preview of the same tables on the same data in the same invocation; prints each one's time,
// their ratio and each one's peak memory, for each number of rows.
//
//   verify_bench [rows...]   default 20,000 and 200,000 clients and as many products
//
// The destination is filled by an all-or-nothing import first (timed but not compared: it
// commits once per table, where the default mode commits every row). The preview
// and the comparison then run each in a child process of its own, so that the peak memory
// (VmHWM) is its own.
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_data.h"
#include "child_process.h"
#include "connection_setup.h"
#include "import_session.h"
#include "run_state.h"
#include "silent_window.h"
#include "table_imports.h"
#include "table_transaction.h"
#include "test_database.h"
#include "verification_run.h"

namespace {

using test_support::TestDatabase;

struct Measure {
    double seconds = 0;
    long peakKb = 0;
    long long rowsEqual = 0;
    bool ok = false;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Clients and products imported in a mode, as the run's table imports do.
Measure import(const std::string& source, const std::string& destination, engine::RunMode mode) {
    return inChildProcess([&] {
        Measure m;
        bench::SilentWindow window;
        engine::ImportSession session("/tmp/");
        const auto start = std::chrono::steady_clock::now();
        if (engine::Connectar(session, source, destination, window, false)) {
            engine::RunState run(session, mode, window, window);
            engine::RunTransaction transaction(session, mode);
            engine::ImportaClientes(run);
            engine::ImportaGrupos(run);
            engine::ImportaProdutos(run);
            transaction.end();
            m.ok = window.boxes.empty() && run.LogErros.empty() && run.LogClienteRepetido.empty();
        }
        m.seconds = secondsSince(start);
        if (!m.ok) std::fprintf(stderr, "import failed: %s\n", window.boxes.c_str());
        m.peakKb = peakMemoryKb();
        return m;
    });
}

Measure compare(const std::string& source, const std::string& destination, const std::string& folder) {
    return inChildProcess([&] {
        Measure m;
        bench::SilentWindow window;
        engine::ServerLogin login;
        const auto start = std::chrono::steady_clock::now();
        const engine::VerificationReport report = engine::verifyDestination(
            folder, login,
            {source, destination, engine::tickedBoxes({engine::CheckBox::Clientes, engine::CheckBox::Produtos})},
            window, window);
        m.seconds = secondsSince(start);
        m.ok = report.matches();
        for (const engine::TableCheck& table : report.tables) m.rowsEqual += table.rowsEqual;
        if (!m.ok)
            std::fprintf(stderr, "comparison did not match: %s %s\n", report.failure.c_str(), window.boxes.c_str());
        m.peakKb = peakMemoryKb();
        return m;
    });
}

bool measure(long rows) {
    std::printf("%ld clients and %ld products: creating the databases and importing...\n", rows, rows);
    const TestDatabase source(test_support::schemaFile("tavlo-schema.sql") + "\n" + bench::sourceScript(rows));
    const TestDatabase destination(test_support::schemaFile("merak-schema.sql") + "\n" + bench::destinationScript());
    std::string folder = (std::filesystem::temp_directory_path() / "verify-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) throw std::runtime_error("cannot create a folder");
    folder += "/";
    const Measure filled = import(source.path(), destination.path(), engine::runMode(false, true));
    const Measure preview = import(source.path(), destination.path(), engine::RunMode::Preview);
    const Measure comparison = compare(source.path(), destination.path(), folder);
    std::filesystem::remove_all(folder);
    std::printf("  import     %7.2f s  peak %7ld kB%s\n", filled.seconds, filled.peakKb, filled.ok ? "" : "  FAILED");
    std::printf("  preview    %7.2f s  peak %7ld kB%s\n", preview.seconds, preview.peakKb,
                preview.ok ? "" : "  FAILED");
    std::printf("  comparison %7.2f s  peak %7ld kB  %lld rows equal%s\n", comparison.seconds, comparison.peakKb,
                comparison.rowsEqual, comparison.ok ? "" : "  FAILED");
    std::printf("  time comparison / preview: %.3f\n", comparison.seconds / preview.seconds);
    return filled.ok && preview.ok && comparison.ok && comparison.rowsEqual == 2 * rows;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::vector<long> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atol(argv[i]));
    if (counts.empty()) counts = {20'000, 200'000};
    bool ok = true;
    for (long rows : counts) ok = measure(rows) && ok;
    return ok ? 0 : 1;
}
