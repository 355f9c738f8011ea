// Imports clients and products through the engine and through a bare client-library program
// that sends the same statements, and prints the rows per second of both, their ratio and the
// engine's peak memory.
//
//   import_bench [rows]        default 20,000 clients and 20,000 products; memory is also
//                              measured at a tenth of that
//
// Each import runs in a child process of its own, on a fresh destination database, so that its
// peak memory (VmHWM) is its own. Each is run twice, alternating, and the faster run counts;
// every run is printed, since the server's disk writes make single runs vary.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "bare_import.h"
#include "connection_setup.h"
#include "database_error.h"
#include "import_context.h"
#include "child_process.h"
#include "table_imports.h"
#include "test_database.h"
#include "window_seam.h"

namespace {

using test_support::TestDatabase;

// A window that shows nothing; it keeps the boxes' texts so that a failure is not missed.
class SilentWindow : public engine::WindowSeam {
public:
    SilentWindow(std::string origem, std::string destino) : origem_(std::move(origem)), destino_(std::move(destino)) {}

    std::string boxes;

    void setStatus(const std::string&) override {}
    void setGaugeMinimum(int) override {}
    void setGaugeMaximum(int) override {}
    void setGaugePosition(int value) override { position_ = value; }
    int gaugePosition() const override { return position_; }
    void showPlainMessage(const std::string& text) override { boxes += text + "\n"; }
    void mensagem(const std::string& text, bool) override { boxes += text + "\n"; }
    bool confirma(const std::string&) override { return true; }
    bool confirmaPadraoNao(const std::string&) override { return false; }
    bool stopRequested() const override { return false; }
    void processMessages() override {}
    bool isTicked(engine::CheckBox) const override { return true; }
    std::string fileNameOrigem() const override { return origem_; }
    std::string fileNameDestino() const override { return destino_; }
    void setImportEnabled(bool) override {}
    void setConnectionTestEnabled(bool) override {}
    void openFile(const std::string&, const std::string&) override {}

private:
    std::string origem_;
    std::string destino_;
    int position_ = 0;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bench::ImportTimes importWithEngine(const std::string& source, const std::string& destination) {
    SilentWindow window(source, destination);
    engine::ImportContext context(window, "/tmp/");
    if (!engine::Connectar(context, false)) throw std::runtime_error(window.boxes);
    bench::ImportTimes times;
    auto start = std::chrono::steady_clock::now();
    engine::ImportaClientes(context);
    times.clientes = secondsSince(start);
    start = std::chrono::steady_clock::now();
    engine::ImportaProdutos(context);
    times.produtos = secondsSince(start);
    if (!window.boxes.empty() || !context.LogErros.empty() || !context.LogClienteRepetido.empty())
        throw std::runtime_error("the engine did not import every row: " + window.boxes);
    return times;
}

// The processor time that the process itself spent, in user and system mode; the rest of an
// import's time is spent waiting for the server.
double processorSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Measure {
    bench::ImportTimes times;
    double processorSeconds = 0;
    long peakKb = 0;
    bool ok = false;
};

// Runs one import in a child process of its own.
Measure measure(bool withEngine, const std::string& source, const std::string& destination) {
    return inChildProcess([&] {
        Measure m;
        try {
            m.times = withEngine ? importWithEngine(source, destination)
                                 : bench::importWithClientLibrary("localhost:" + source, "localhost:" + destination);
            m.ok = true;
        } catch (const std::exception& failure) {
            std::fprintf(stderr, "%s import failed: %s\n", withEngine ? "engine" : "bare", failure.what());
        }
        m.processorSeconds = processorSeconds();
        m.peakKb = peakMemoryKb();
        return m;
    });
}

// The source: clients spread over ten cities, products over the tax profiles and units, each
// with a CEST code from a table of a thousand.
std::string sourceScript(long rows) {
    return "SET TERM ^ ;\n"
           "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN\n"
           "  WHILE (I <= 1000) DO BEGIN\n"
           "    INSERT INTO CEST (ID, CODIGO) VALUES ('C' || LPAD(:I, 6, '0'), 1700000 + :I);\n"
           "    I = I + 1;\n"
           "  END\n"
           "  I = 1;\n"
           "  WHILE (I <= " + std::to_string(rows) + ") DO BEGIN\n"
           "    INSERT INTO CLIENTE (CODIGO, NOME, NASCIMENTO, CELULAR, ID_MUNICIPIO, COMPLEMENTO, ENDERECO, NUMERO,\n"
           "      BAIRRO, CEP, CNPJ_CNPF, CADASTRO, IE_RG, TELEFONE, CIDADE, EMAIL) VALUES (:I,\n"
           "      'Cliente Número ' || :I, DATEADD(MOD(:I, 15000) DAY TO DATE '1950-01-01'),\n"
           "      '(11) 9' || LPAD(MOD(:I, 10000), 4, '0') || '-4321', 3550308,\n"
           "      IIF(MOD(:I, 3) = 0, 'Sala ' || MOD(:I, 40), NULL), 'Rua das Acácias, ' || :I, MOD(:I, 3000),\n"
           "      'Jardim América', '01310-' || LPAD(MOD(:I, 1000), 3, '0'),\n"
           "      IIF(MOD(:I, 2) = 0, '12.345.678/0001-95', '123.456.789-09'), TIMESTAMP '2019-05-05 14:10:00',\n"
           "      '110.042.490.114', '(11) 3251-5000',\n"
           "      DECODE(MOD(:I, 10), 0, 'São Paulo', 1, 'Belo Horizonte', 2, 'Curitiba', 3, 'Porto Alegre',\n"
           "        4, 'Recife', 5, 'Santa Bárbara d''Oeste', 6, 'Florianópolis', 7, 'Goiânia', 8, 'Maceió',\n"
           "        'Cuiabá'),\n"
           "      'cliente' || :I || '@exemplo.com.br');\n"
           "    INSERT INTO ESTOQUE (CODIGO, UND, BARRAS, QTD, PRECO_CUSTO, PRECO_VENDA, MARGEM_LUCRO, DESCRICAO,\n"
           "      ID_GRUPO, ST, COD_NCM, COD_CEST) VALUES (:I, DECODE(MOD(:I, 3), 0, 'UN', 1, ' KG ', 'CX'),\n"
           "      '789' || LPAD(:I, 10, '0'), MOD(:I, 100) + 0.5, 3.45, 5.99, 73.6232, 'Produto número ' || :I,\n"
           "      MOD(:I, 20) + 1, DECODE(MOD(:I, 3), 0, '102', 1, '500', '060'), ' 04061010 ',\n"
           "      'C' || LPAD(MOD(:I, 1000) + 1, 6, '0'));\n"
           "    I = I + 1;\n"
           "  END\n"
           "END^\n"
           "SET TERM ; ^\n";
}

// The destination: the ten cities among the 5,570 municipalities of CIDADE.
std::string destinationScript() {
    return "INSERT INTO CIDADE VALUES (3550308, 'SÃO PAULO');\n"
           "INSERT INTO CIDADE VALUES (3106200, 'BELO HORIZONTE');\n"
           "INSERT INTO CIDADE VALUES (4106902, 'CURITIBA');\n"
           "INSERT INTO CIDADE VALUES (4314902, 'PORTO ALEGRE');\n"
           "INSERT INTO CIDADE VALUES (2611606, 'RECIFE');\n"
           "INSERT INTO CIDADE VALUES (3545803, 'SANTA BÁRBARA D''OESTE');\n"
           "INSERT INTO CIDADE VALUES (4205407, 'FLORIANÓPOLIS');\n"
           "INSERT INTO CIDADE VALUES (5208707, 'GOIÂNIA');\n"
           "INSERT INTO CIDADE VALUES (2704302, 'MACEIÓ');\n"
           "INSERT INTO CIDADE VALUES (5103403, 'CUIABÁ');\n"
           "SET TERM ^ ;\n"
           "EXECUTE BLOCK AS DECLARE I INTEGER = 11; BEGIN\n"
           "  WHILE (I <= 5570) DO BEGIN\n"
           "    INSERT INTO CIDADE VALUES (1000000 + :I, 'MUNICÍPIO ' || :I);\n"
           "    I = I + 1;\n"
           "  END\n"
           "END^\n"
           "SET TERM ; ^\n";
}

// The number of clients and products in a destination, read through isql.
std::string destinationCounts(const TestDatabase& destination) {
    const std::string output = test_support::runIsql(
        "CONNECT '" + destination.connectionString() + "' USER 'SYSDBA' PASSWORD 'pinewheel';\n"
        "SELECT (SELECT COUNT(*) FROM CLIENTES) || '/' || (SELECT COUNT(*) FROM PRODUTOS) FROM RDB$DATABASE;\n");
    const std::size_t slash = output.find('/');
    std::size_t begin = output.find_last_of(" \n", slash) + 1;
    std::size_t end = output.find_first_of(" \n", slash);
    return output.substr(begin, end - begin);
}

struct Result {
    Measure engine;
    Measure bare;
};

// Runs each import twice, alternating, each on a fresh destination, and keeps the faster run.
Result run(long rows) {
    const std::string schemaSource = test_support::schemaFile("tavlo-schema.sql");
    const std::string schemaDestination = test_support::schemaFile("merak-schema.sql");
    TestDatabase source(schemaSource + "\n" + sourceScript(rows));
    const std::string expected = std::to_string(rows) + "/" + std::to_string(rows);
    Result result;
    auto better = [](const Measure& a, const Measure& b) {
        if (!b.ok) return a;
        if (!a.ok) return b;
        return a.times.clientes + a.times.produtos <= b.times.clientes + b.times.produtos ? a : b;
    };
    for (int round = 0; round < 2; ++round) {
        for (const bool withEngine : {false, true}) {
            TestDatabase destination(schemaDestination + "\n" + destinationScript());
            Measure m = measure(withEngine, source.path(), destination.path());
            const std::string counts = destinationCounts(destination);
            if (counts != expected) {
                std::fprintf(stderr, "%s import wrote %s rows instead of %s\n", withEngine ? "engine" : "bare",
                             counts.c_str(), expected.c_str());
                m.ok = false;
            }
            std::printf("  run %d %-6s clients %6.1f s, products %6.1f s, own processor %5.2f s\n", round + 1,
                        withEngine ? "engine" : "bare", m.times.clientes, m.times.produtos, m.processorSeconds);
            Measure& kept = withEngine ? result.engine : result.bare;
            kept = round == 0 ? m : better(kept, m);
        }
    }
    return result;
}

void report(long rows, const Result& r) {
    auto rate = [rows](double seconds) { return static_cast<double>(rows) / seconds; };
    std::printf("%ld clients and %ld products\n", rows, rows);
    std::printf("  clients   engine %8.0f rows/s   bare %8.0f rows/s   time ratio %.3f\n", rate(r.engine.times.clientes),
                rate(r.bare.times.clientes), r.engine.times.clientes / r.bare.times.clientes);
    std::printf("  products  engine %8.0f rows/s   bare %8.0f rows/s   time ratio %.3f\n", rate(r.engine.times.produtos),
                rate(r.bare.times.produtos), r.engine.times.produtos / r.bare.times.produtos);
    const double engineTotal = r.engine.times.clientes + r.engine.times.produtos;
    const double bareTotal = r.bare.times.clientes + r.bare.times.produtos;
    std::printf("  both      engine %8.0f rows/s   bare %8.0f rows/s   time ratio %.3f (target <= 1.10)\n",
                2 * rate(engineTotal), 2 * rate(bareTotal), engineTotal / bareTotal);
    std::printf("  own processor time  engine %.2f s   bare %.2f s (the rest is the server's)\n",
                r.engine.processorSeconds, r.bare.processorSeconds);
    std::printf("  peak memory  engine %ld kB   bare %ld kB\n", r.engine.peakKb, r.bare.peakKb);
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const long rows = argc > 1 ? std::atol(argv[1]) : 20'000;
    const long fewer = rows / 10;
    std::printf("creating the databases and importing %ld rows...\n", fewer);
    const Result small = run(fewer);
    std::printf("creating the databases and importing %ld rows...\n", rows);
    const Result large = run(rows);
    if (!small.engine.ok || !small.bare.ok || !large.engine.ok || !large.bare.ok) {
        std::printf("an import failed; no figures\n");
        return 1;
    }
    report(fewer, small);
    report(rows, large);
    std::printf("engine peak growth  %ld kB from %ld to %ld rows (target <= 5120 kB)\n",
                large.engine.peakKb - small.engine.peakKb, fewer, rows);
    return 0;
}
