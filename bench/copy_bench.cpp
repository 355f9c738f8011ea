// Measures the safety copy a run makes of the destination next to the import of the same run:
// a client import into the sample destination, and into a destination holding 200,000 clients.
//
//   copy_bench [destination clients] [source clients]
//       default 200,000 clients in the destination, and the sample source's clients only (the
//       run then mostly empties the destination's table)
//
// Prints, for each destination, the seconds of the copy, the size of the copy file, the
// seconds of the client import that followed it, those of a plain restore of the copy over the
// destination (one streamed restore, no check) and those of the checked restore the tool runs.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "database_server.h"
#include "file_paths.h"
#include "import_run.h"
#include "import_session.h"
#include "restore_copy.h"
#include "server_service.h"
#include "service_manager.h"
#include "silent_window.h"
#include "test_database.h"

namespace {

using Clock = std::chrono::steady_clock;
using test_support::schemaFile;
using test_support::TestDatabase;

// The silent window that also notes when the copy's status gives way to the first table's.
class TimingWindow : public bench::SilentWindow {
public:
    Clock::time_point copyStarted;
    Clock::time_point copyEnded;

    void statusChanged(const std::string& text) override {
        const bool copying = text.rfind("Fazendo cópia", 0) == 0;
        if (copying && copyStarted == Clock::time_point{}) copyStarted = Clock::now();
        if (!copying && copyStarted != Clock::time_point{} && copyEnded == Clock::time_point{})
            copyEnded = Clock::now();
    }
};

std::string sourceClients(long clients) {
    return "SET TERM ^ ;\n"
           "EXECUTE BLOCK AS DECLARE I INTEGER = 100000; BEGIN\n"
           "  WHILE (I < 100000 + " +
           std::to_string(clients) +
           ") DO BEGIN\n"
           "    INSERT INTO CLIENTE (CODIGO, NOME, ENDERECO, BAIRRO, CEP, CNPJ_CNPF, TELEFONE, CIDADE, EMAIL)\n"
           "      VALUES (:I, 'Cliente Número ' || :I, 'Rua das Acácias, ' || :I, 'Jardim América', '01310-100',\n"
           "      '123.456.789-09', '(11) 3251-5000', 'São Paulo', 'cliente' || :I || '@exemplo.com.br');\n"
           "    I = I + 1;\n"
           "  END\n"
           "END^\n"
           "SET TERM ; ^\n";
}

std::string destinationClients(long clients) {
    return "SET TERM ^ ;\n"
           "EXECUTE BLOCK AS DECLARE I INTEGER = 1000; BEGIN\n"
           "  WHILE (I < 1000 + " +
           std::to_string(clients) +
           ") DO BEGIN\n"
           "    INSERT INTO CLIENTES (CODIGO, NOME, ENDERECO, BAIRRO, CEP, TELEFONE, EMAIL)\n"
           "      VALUES (:I, 'CLIENTE ANTIGO ' || :I, 'RUA DOS IPÊS, ' || :I, 'CENTRO', '01310100',\n"
           "      '1132515000', 'antigo' || :I || '@exemplo.com.br');\n"
           "    I = I + 1;\n"
           "  END\n"
           "END^\n"
           "SET TERM ; ^\n";
}

double secondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

void measure(const char* name, const std::string& sourceScript, const std::string& destinationScript) {
    const TestDatabase source(schemaFile("tavlo-schema.sql") + "\n" + sourceScript);
    const TestDatabase destination(schemaFile("merak-schema.sql") + "\n" + destinationScript);
    TimingWindow window;
    engine::ImportSession session(destination.path().substr(0, destination.path().rfind('/') + 1));
    const engine::RunReport report = engine::runImport(
        session, {source.path(), destination.path(), engine::tickedBoxes({engine::CheckBox::Clientes})}, window,
        window);
    session.IBDBOrigem.close();
    if (!report.copy || report.tables.empty()) {
        std::fprintf(stderr, "%s: the run did not go as expected:\n%s", name, window.boxes.c_str());
        std::exit(1);
    }
    const engine::TableOutcome& clientes = report.tables.front();
    const Clock::time_point plainStarted = Clock::now();
    {
        std::ifstream file(platform::filePath(report.copy->path), std::ios::binary);
        engine::runStreamedRestore(
            engine::Progress(session.gauge, window), session.login, engine::serverOf(destination.path()),
            db::streamedRestoreRequest(destination.path(), db::RestoreInto::ExistingDatabase),
            [&](std::size_t most) {
                std::string chunk(most, '\0');
                file.read(chunk.data(), static_cast<std::streamsize>(most));
                chunk.resize(static_cast<std::size_t>(file.gcount()));
                return chunk;
            },
            "Restaurando", 0);
    }
    const double plain = secondsBetween(plainStarted, Clock::now());
    const Clock::time_point restoreStarted = Clock::now();
    if (!engine::restoreSafetyCopy(engine::Progress(session.gauge, window), window, session.login, report.copy->path,
                                   destination.path())) {
        std::fprintf(stderr, "%s: the restore failed:\n%s", name, window.boxes.c_str());
        std::exit(1);
    }
    const double checked = secondsBetween(restoreStarted, Clock::now());
    std::printf(
        "%-34s copy %6.2f s (%9lld bytes)   import of %d clients %7.2f s   plain restore %6.2f s   checked "
        "restore %6.2f s (%.2fx)\n",
        name, secondsBetween(window.copyStarted, window.copyEnded), report.copy->bytes, clientes.rowsRead,
        clientes.seconds, plain, checked, plain > 0 ? checked / plain : 0.0);
}

}  // namespace

int main(int argc, char* argv[]) {
    const long clients = argc > 1 ? std::atol(argv[1]) : 200'000;
    const long sourceRows = argc > 2 ? std::atol(argv[2]) : 0;
    measure("sample destination", schemaFile("tavlo-sample-data.sql"), schemaFile("merak-sample-data.sql"));
    measure(("destination of " + std::to_string(clients) + " clients").c_str(),
            schemaFile("tavlo-sample-data.sql") + "\n" + (sourceRows > 0 ? sourceClients(sourceRows) : ""),
            schemaFile("merak-sample-data.sql") + "\n" + destinationClients(clients));
    return 0;
}
