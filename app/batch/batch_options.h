#pragma once

#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "table_choice.h"

namespace batch {

// What the command line of the batch program asks for.
struct BatchOptions {
    bool help = false;
    bool version = false;
    // The database paths as given; a path not given comes from the settings file.
    std::optional<std::string> origem;
    std::optional<std::string> destino;
    // The tables to import, as the window's check boxes.
    std::set<engine::CheckBox> tabelas;
    // Answers Yes to the confirmation without asking.
    bool sim = false;
    // A preview: the run reports what it would do and changes nothing.
    bool simular = false;
    // Each table is imported whole or left as it was.
    bool atomico = false;
    // The run makes no safety copy of the destination.
    bool semCopia = false;
    // After the run, writes its report as a PDF to this file.
    std::optional<std::string> relatorio;
    // Instead of importing, restores this safety copy over the destination.
    std::optional<std::string> restaurar;
    // The restore accepts a copy without its record (made by hand with the server's tool),
    // whose content cannot be checked against its origin.
    bool aceitarCopiaSemRegistro = false;
    // Instead of importing, compares the chosen destination tables with the source.
    bool conferir = false;
    // After the comparison, sets the sequences that stand below their tables' highest keys.
    bool ajustarSequencias = false;
};

// A command line the program does not accept; the text says what is wrong with it.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the arguments that follow the program name. "--help" or "--version" asks for the usage
// or the version and takes no other option.
// Throws UsageError for an unknown or repeated option, an option without its value, an
// unknown table name, a missing --tabelas, and any option its command does not take: an
// import takes --origem, --destino, --tabelas, --sim, --atomico, --sem-copia and --relatorio;
// a preview (--simular) the same; --conferir takes --origem, --destino and --tabelas, and
// --ajustar-sequencias, which goes with it only (and then --sim too); --restaurar takes
// --destino, --sim and --aceitar-copia-sem-registro, which goes with it only.
BatchOptions parseBatchOptions(const std::vector<std::string>& arguments);

// The usage text, printed for --help and after a usage error.
std::string_view usageText();

// The two database paths exactly as the window's file-name boxes would hold them.
struct DatabasePaths {
    std::string origem;
    std::string destino;
};

// Each path given on the command line, else the one the window restores from the settings
// file at settingsPath (section "Bancos", keys "Origem" and "Destino").
// A path from the settings file is the box's text: it loses every double quotation mark.
// A path from the command line is used as given, except that a relative one is made absolute
// against the current folder, since the server would resolve it against a folder of its own;
// a bare name that is no file of the current folder stays as it is (it may be an alias the
// server knows).
DatabasePaths databasePaths(const BatchOptions& options, const std::string& settingsPath);

}  // namespace batch
