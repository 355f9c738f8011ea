// The cost of writing a run log entry by entry, each handed to the operating system at once:
// microseconds per entry, to set beside the time a row takes on the server. Run by hand:
//   run_log_bench [entries] [folder]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "run_log_file.h"

int main(int argc, char* argv[]) {
    const long entries = argc > 1 ? std::atol(argv[1]) : 200000;
    const std::string folder = argc > 2 ? argv[2] : std::filesystem::temp_directory_path().string();
    const std::string entry =
        "Erro na importação de FORNECEDORES no Registro 123456\r\n"
        "violation of PRIMARY or UNIQUE KEY constraint \"PK_FORNECEDORES\" on table \"FORNECEDORES\"\r\n"
        "Problematic key value is (\"CODIGO\" = 123456)\r\n";

    engine::RunLogFile log(folder + "/", "run_log_bench.log");
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < entries; ++i) log.append(entry);
    log.finish();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const auto bytes = std::filesystem::file_size(log.path());
    std::printf("%ld entries, %ju bytes in %.3f s: %.2f us per entry\n", entries, static_cast<std::uintmax_t>(bytes),
                seconds, seconds * 1e6 / static_cast<double>(entries));
    std::filesystem::remove(log.path());
    return 0;
}
