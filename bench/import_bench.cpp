// Imports clients, products and sellers through the engine in each mode, and through a bare
// client-library program that sends the same statements, and prints the rows per second of
// each, their time ratios and each run's peak memory.
//
//   import_bench [rows] [modes]   default 20,000 clients, products and sellers, and the modes
//                                 default,preview,atomic,bare-one (also: bare-each, the bare
//                                 program committing each row and asking every lookup)
//
// Each import runs in a child process of its own, on a fresh destination database, so that its
// peak memory (VmHWM) is its own. Each mode runs once, in the order given; the server's disk
// writes make single runs vary, so compare runs of one invocation only.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bare_import.h"
#include "bench_data.h"
#include "child_process.h"
#include "connection_setup.h"
#include "database_error.h"
#include "import_session.h"
#include "run_state.h"
#include "silent_window.h"
#include "table_imports.h"
#include "table_transaction.h"
#include "test_database.h"

namespace {

using test_support::TestDatabase;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct EngineTimes {
    bench::ImportTimes times;
    double runEndSeconds = 0;  // ending the run's transaction (a preview's rollback)
};

EngineTimes importWithEngine(const std::string& source, const std::string& destination, engine::RunMode mode) {
    bench::SilentWindow window;
    engine::ImportSession session("/tmp/");
    if (!engine::Connectar(session, source, destination, window, false)) throw std::runtime_error(window.boxes);
    engine::RunState run(session, mode, window, window);
    engine::RunTransaction transaction(session, mode);
    EngineTimes result;
    auto start = std::chrono::steady_clock::now();
    engine::ImportaClientes(run);
    result.times.clientes = secondsSince(start);
    start = std::chrono::steady_clock::now();
    engine::ImportaProdutos(run);
    result.times.produtos = secondsSince(start);
    start = std::chrono::steady_clock::now();
    engine::ImportaVendedores(run);
    result.times.vendedores = secondsSince(start);
    start = std::chrono::steady_clock::now();
    transaction.end();
    result.runEndSeconds = secondsSince(start);
    if (!window.boxes.empty() || !run.LogErros.empty() || !run.LogClienteRepetido.empty())
        throw std::runtime_error("the engine did not import every row: " + window.boxes);
    return result;
}

// The processor time that the process itself spent, in user and system mode; the rest of an
// import's time is spent waiting for the server.
double processorSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

enum class Mode { Default, Preview, AllOrNothing, BareOneTransaction, BareCommitEachRow };

struct ModeName {
    Mode mode;
    const char* name;
};
constexpr ModeName kModes[] = {{Mode::Default, "default"},
                               {Mode::Preview, "preview"},
                               {Mode::AllOrNothing, "atomic"},
                               {Mode::BareOneTransaction, "bare-one"},
                               {Mode::BareCommitEachRow, "bare-each"}};

const char* nameOf(Mode mode) {
    for (const ModeName& m : kModes)
        if (m.mode == mode) return m.name;
    return "?";
}

struct Measure {
    bench::ImportTimes times;
    double runEndSeconds = 0;
    double processorSeconds = 0;
    long peakKb = 0;
    bool ok = false;
};

// Runs one import in a child process of its own.
Measure measure(Mode mode, const std::string& source, const std::string& destination) {
    return inChildProcess([&] {
        Measure m;
        try {
            switch (mode) {
            case Mode::Default:
            case Mode::Preview:
            case Mode::AllOrNothing: {
                const EngineTimes engineTimes = importWithEngine(
                    source, destination, engine::runMode(mode == Mode::Preview, mode == Mode::AllOrNothing));
                m.times = engineTimes.times;
                m.runEndSeconds = engineTimes.runEndSeconds;
                break;
            }
            case Mode::BareOneTransaction:
            case Mode::BareCommitEachRow:
                m.times =
                    bench::importWithClientLibrary("localhost:" + source, "localhost:" + destination,
                                                   mode == Mode::BareOneTransaction ? bench::BareMode::OneTransaction
                                                                                    : bench::BareMode::CommitEachRow);
                break;
            }
            m.ok = true;
        } catch (const std::exception& failure) {
            std::fprintf(stderr, "%s import failed: %s\n", nameOf(mode), failure.what());
        }
        m.processorSeconds = processorSeconds();
        m.peakKb = peakMemoryKb();
        return m;
    });
}

// The number of clients and products in a destination, read through isql.
std::string destinationCounts(const TestDatabase& destination) {
    const std::string output = test_support::runIsql(
        "CONNECT '" + destination.connectionString() +
        "' USER 'SYSDBA' PASSWORD 'pinewheel';\n"
        "SELECT (SELECT COUNT(*) FROM CLIENTES) || '/' || (SELECT COUNT(*) FROM PRODUTOS) || '/' ||\n"
        "  (SELECT COUNT(*) FROM VENDEDOR) FROM RDB$DATABASE;\n");
    const std::size_t slash = output.find('/');
    std::size_t begin = output.find_last_of(" \n", slash) + 1;
    std::size_t end = output.find_first_of(" \n", slash);
    return output.substr(begin, end - begin);
}

// Runs each mode once, in the order given, each on a fresh destination.
std::map<Mode, Measure> run(long rows, const std::vector<Mode>& modes) {
    TestDatabase source(test_support::schemaFile("tavlo-schema.sql") + "\n" + bench::sourceScript(rows));
    const std::string written = std::to_string(rows) + "/" + std::to_string(rows) + "/" + std::to_string(rows);
    std::map<Mode, Measure> measures;
    for (const Mode mode : modes) {
        TestDatabase destination(test_support::schemaFile("merak-schema.sql") + "\n" + bench::destinationScript());
        Measure m = measure(mode, source.path(), destination.path());
        const std::string counts = destinationCounts(destination);
        const std::string expected = mode == Mode::Preview ? "0/0/0" : written;
        if (counts != expected) {
            std::fprintf(stderr, "%s import left %s rows instead of %s\n", nameOf(mode), counts.c_str(),
                         expected.c_str());
            m.ok = false;
        }
        const auto rate = [rows](double seconds) { return static_cast<double>(rows) / seconds; };
        std::printf(
            "  %-9s clients %7.0f rows/s  products %7.0f rows/s  both %7.0f rows/s  sellers %7.0f rows/s  "
            "run end %6.2f s  own processor %6.2f s  peak %6ld kB%s\n",
            nameOf(mode), rate(m.times.clientes), rate(m.times.produtos),
            rate((m.times.clientes + m.times.produtos) / 2), rate(m.times.vendedores), m.runEndSeconds,
            m.processorSeconds, m.peakKb, m.ok ? "" : "  FAILED");
        measures[mode] = m;
    }
    return measures;
}

// Time ratios of one mode against another, per table (above 1: the first is slower).
void ratio(const std::map<Mode, Measure>& measures, Mode a, Mode b) {
    if (!measures.count(a) || !measures.count(b)) return;
    const bench::ImportTimes& x = measures.at(a).times;
    const bench::ImportTimes& y = measures.at(b).times;
    std::printf("  time %s / %s: clients %.3f  products %.3f  both %.3f  sellers %.3f\n", nameOf(a), nameOf(b),
                x.clientes / y.clientes, x.produtos / y.produtos, (x.clientes + x.produtos) / (y.clientes + y.produtos),
                x.vendedores / y.vendedores);
}

std::vector<Mode> parseModes(const std::string& list) {
    std::vector<Mode> modes;
    std::size_t from = 0;
    while (from <= list.size()) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        const std::string name = list.substr(from, comma - from);
        bool known = false;
        for (const ModeName& m : kModes)
            if (name == m.name) {
                modes.push_back(m.mode);
                known = true;
            }
        if (!known) throw std::runtime_error("unknown mode " + name);
        from = comma + 1;
    }
    return modes;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const long rows = argc > 1 ? std::atol(argv[1]) : 20'000;
    const std::vector<Mode> modes = parseModes(argc > 2 ? argv[2] : "default,preview,atomic,bare-one");
    std::printf("creating the databases and importing %ld clients, %ld products and %ld sellers...\n", rows, rows,
                rows);
    const std::map<Mode, Measure> measures = run(rows, modes);
    ratio(measures, Mode::Preview, Mode::BareOneTransaction);
    ratio(measures, Mode::AllOrNothing, Mode::BareOneTransaction);
    ratio(measures, Mode::Default, Mode::Preview);
    ratio(measures, Mode::Default, Mode::AllOrNothing);
    ratio(measures, Mode::Default, Mode::BareCommitEachRow);
    for (const auto& [mode, m] : measures)
        if (!m.ok) return 1;
    return 0;
}
