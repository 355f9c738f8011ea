#include "batch_options.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string_view>

#include "database_server.h"
#include "file_paths.h"
#include "profile_file.h"
#include "settings_file.h"

namespace batch {

namespace {

using engine::CheckBox;

const std::map<std::string, CheckBox, std::less<>> kTableNames = {
    {"clientes", CheckBox::Clientes},
    {"fornecedores", CheckBox::Fornec},
    {"produtos", CheckBox::Produtos},
    {"vendedores", CheckBox::Vendedores},
};

constexpr std::string_view kUsage =
    "Uso:\n"
    "  tavlo-merak-batch [--origem PATH] [--destino PATH] --tabelas LIST [--sim] [--simular] [--atomico]\n"
    "                    [--sem-copia] [--relatorio ARQUIVO.pdf]\n"
    "  tavlo-merak-batch --restaurar COPIA.fbk --destino PATH [--sim] [--aceitar-copia-sem-registro]\n"
    "  tavlo-merak-batch --conferir [--origem PATH] [--destino PATH] --tabelas LIST\n"
    "                    [--ajustar-sequencias [--sim]]\n"
    "  tavlo-merak-batch --help | --version\n"
    "\n"
    "Importa do banco Tavlo (origem) para o banco Merak (destino) as tabelas escolhidas,\n"
    "como o comando Importar da janela: as tabelas do destino são apagadas e importadas.\n"
    "  --origem PATH    banco de origem; sem esta opção, o caminho salvo em Config.ini\n"
    "  --destino PATH   banco de destino; sem esta opção, o caminho salvo em Config.ini\n"
    "  --tabelas LIST   uma ou mais de clientes,fornecedores,produtos,vendedores, separadas\n"
    "                   por vírgula; a importação segue sempre esta ordem\n"
    "  --sim            confirma a importação sem perguntar\n"
    "  --simular        mostra o que a importação faria, sem gravar nada no destino e sem\n"
    "                   perguntar; os logs vão para quorel-simulacao.log e quorel2-simulacao.log\n"
    "  --atomico        cada tabela é importada inteira ou fica como estava\n"
    "  --sem-copia      não faz a cópia de segurança do destino antes de apagar as tabelas\n"
    "  --relatorio ARQUIVO.pdf\n"
    "                   grava o relatório da importação em PDF, para entregar ao cliente\n"
    "  --restaurar COPIA.fbk\n"
    "                   em vez de importar, devolve o destino ao estado da cópia de segurança;\n"
    "                   a cópia é restaurada primeiro num banco novo ao lado do destino e só\n"
    "                   substitui o destino se estiver inteira e conferir com o seu registro\n"
    "  --aceitar-copia-sem-registro\n"
    "                   restaura também uma cópia sem registro (.fbk.txt), feita à mão com o\n"
    "                   gbak: o seu conteúdo não pode ser conferido com o banco de onde veio,\n"
    "                   só com a validação do servidor\n"
    "  --conferir       em vez de importar, compara cada registro das tabelas escolhidas do\n"
    "                   destino com o que a importação faz do registro da origem, sem gravar\n"
    "                   nada; as diferenças vão para conferencia.csv na pasta do programa;\n"
    "                   saída 0 tudo confere (fora registros recusados explicados), 1 há\n"
    "                   diferenças, 2 conferência não iniciada\n"
    "  --ajustar-sequencias\n"
    "                   com --conferir: depois da conferência, põe cada sequência atrasada\n"
    "                   (abaixo do maior código da sua tabela) nesse código, depois de\n"
    "                   perguntar (--sim responde Sim); nunca diminui uma sequência; saída 0\n"
    "                   nada atrasado e tudo confere, 1 algo difere ou ficou atrasado, 2 não\n"
    "                   pôde ser feito\n"
    "Um caminho relativo é tomado a partir da pasta atual.\n"
    "Antes de apagar, o programa grava uma cópia de segurança do destino ao lado dele\n"
    "(<destino>-<aaaammdd-hhmmss-mmm>.fbk) com o seu registro (.fbk.txt), anotada em copias.log\n"
    "na pasta do programa; se a cópia falhar ou não conferir, nada é apagado. Cópias, registros e\n"
    "logs só podem ser lidos pelo usuário que os gravou.\n"
    "Os registros recusados ficam em quorel.log e quorel2.log, e cada linha recusada, com a\n"
    "coluna e o motivo, em recusadas.csv, na pasta do programa (ou, se ela\n"
    "não aceitar os arquivos, em ~/.local/share/tavlo-merak/).\n"
    "Ctrl+C, SIGTERM, SIGHUP (terminal fechado) ou SIGQUIT param a importação ao fim do\n"
    "registro em curso.\n"
    "Saída: 0 tudo importado; 1 falha de tabela ou registro no log; 2 importação não iniciada\n"
    "(também: origem e destino são o mesmo banco, ou outra importação grava no destino);\n"
    "130 parada por Ctrl+C; 143 por SIGTERM; 129 por SIGHUP; 131 por SIGQUIT.\n"
    "O usuário e a senha do servidor Firebird vêm de ISC_USER e ISC_PASSWORD, quando definidas;\n"
    "se o servidor recusar, são perguntados no terminal.\n";

std::set<CheckBox> tablesOf(const std::string& list) {
    std::set<CheckBox> tables;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        const std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const auto found = kTableNames.find(name);
        if (found == kTableNames.end()) throw UsageError("tabela desconhecida: \"" + name + "\"");
        tables.insert(found->second);
        if (comma == std::string::npos) return tables;
        start = comma + 1;
    }
}

// The text as a file-name box holds it: every double quotation mark deleted.
std::string asBoxText(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
    return text;
}

// A relative path named from the current folder; an empty one stays empty for the window's
// message. A text that names its server keeps it: only its file part is made absolute.
std::string fromCallersFolder(const std::string& text) {
    namespace fs = std::filesystem;
    const std::string path = engine::fileOf(text);
    const fs::path given = platform::filePath(path);
    if (path.empty() || given.is_absolute()) return text;
    std::error_code ignored;
    if (!given.has_parent_path() && !fs::exists(given, ignored)) return text;
    return engine::onServerOf(text, platform::utf8Path(fs::absolute(given)));
}

// What each command takes; any other option given with it is refused with the command's text.
// An option that belongs to one command only says so when given without it.
struct CommandRule {
    std::set<std::string_view> takes;
    std::string refusal;
};

const CommandRule kImport{{"--origem", "--destino", "--tabelas", "--sim", "--atomico", "--sem-copia", "--relatorio"},
                          "a importação não aceita esta combinação de opções"};
// A preview asks nothing and makes no copy: --sim and --sem-copia change nothing there, and
// scripts pass them.
const CommandRule kPreview{
    {"--simular", "--origem", "--destino", "--tabelas", "--atomico", "--relatorio", "--sim", "--sem-copia"},
    "--simular não aceita esta combinação de opções"};
const CommandRule kVerify{{"--conferir", "--origem", "--destino", "--tabelas", "--ajustar-sequencias"},
                          "--conferir aceita apenas --origem, --destino e --tabelas"};
// With --ajustar-sequencias it asks its question, which --sim answers.
const CommandRule kVerifyAndAdjust{
    {"--conferir", "--origem", "--destino", "--tabelas", "--ajustar-sequencias", "--sim"},
    "--conferir --ajustar-sequencias aceita apenas --origem, --destino, --tabelas e --sim"};
const CommandRule kRestore{{"--restaurar", "--destino", "--sim", "--aceitar-copia-sem-registro"},
                           "--restaurar aceita apenas --destino e --sim"};

const std::map<std::string_view, std::string_view> kOptionOfCommand = {
    {"--aceitar-copia-sem-registro", "--restaurar"},
    {"--ajustar-sequencias", "--conferir"},
};

void refuseWhatTheCommandDoesNotTake(const BatchOptions& options, const std::set<std::string_view>& given) {
    const CommandRule& rule = options.restaurar  ? kRestore
                              : options.conferir ? (options.ajustarSequencias ? kVerifyAndAdjust : kVerify)
                              : options.simular  ? kPreview
                                                 : kImport;
    for (const std::string_view option : given) {
        if (rule.takes.count(option) != 0) continue;
        const auto owner = kOptionOfCommand.find(option);
        if (owner != kOptionOfCommand.end() && rule.takes.count(owner->second) == 0)
            throw UsageError(std::string(option) + " vai apenas com " + std::string(owner->second));
        throw UsageError(rule.refusal);
    }
}

}  // namespace

BatchOptions parseBatchOptions(const std::vector<std::string>& arguments) {
    BatchOptions options;
    for (const char* alone : {"--help", "--version"}) {
        if (std::find(arguments.begin(), arguments.end(), alone) == arguments.end()) continue;
        if (arguments.size() > 1) throw UsageError(std::string(alone) + " não aceita outras opções");
        (arguments.front() == "--help" ? options.help : options.version) = true;
        return options;
    }
    bool tablesGiven = false;
    std::set<std::string_view> given;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        // A destructive run must not guess which of two values was meant.
        auto once = [&](bool alreadyGiven) {
            if (alreadyGiven) throw UsageError("opção repetida: " + option);
            given.insert(option);
        };
        auto value = [&]() -> const std::string& {
            if (i + 1 == arguments.size()) throw UsageError("falta o valor de " + option);
            return arguments[++i];
        };
        if (option == "--origem") {
            once(options.origem.has_value());
            options.origem = value();
        } else if (option == "--destino") {
            once(options.destino.has_value());
            options.destino = value();
        } else if (option == "--tabelas") {
            once(tablesGiven);
            options.tabelas = tablesOf(value());
            tablesGiven = true;
        } else if (option == "--sim") {
            once(options.sim);
            options.sim = true;
        } else if (option == "--simular") {
            once(options.simular);
            options.simular = true;
        } else if (option == "--atomico") {
            once(options.atomico);
            options.atomico = true;
        } else if (option == "--sem-copia") {
            once(options.semCopia);
            options.semCopia = true;
        } else if (option == "--aceitar-copia-sem-registro") {
            once(options.aceitarCopiaSemRegistro);
            options.aceitarCopiaSemRegistro = true;
        } else if (option == "--relatorio") {
            once(options.relatorio.has_value());
            options.relatorio = value();
        } else if (option == "--conferir") {
            once(options.conferir);
            options.conferir = true;
        } else if (option == "--ajustar-sequencias") {
            once(options.ajustarSequencias);
            options.ajustarSequencias = true;
        } else if (option == "--restaurar") {
            once(options.restaurar.has_value());
            options.restaurar = value();
        } else {
            throw UsageError("opção desconhecida: " + option);
        }
    }
    refuseWhatTheCommandDoesNotTake(options, given);
    if (options.restaurar && !options.destino) throw UsageError("falta --destino para --restaurar");
    if (!options.restaurar && !tablesGiven) throw UsageError("falta --tabelas");
    return options;
}

std::string_view usageText() { return kUsage; }

DatabasePaths databasePaths(const BatchOptions& options, const std::string& settingsPath) {
    const engine::ProfileFile settings(settingsPath);
    auto path = [&](const std::optional<std::string>& given, std::string_view key) {
        return given ? fromCallersFolder(*given) : asBoxText(settings.readString(engine::kDatabasesSection, key, ""));
    };
    return {path(options.origem, engine::kOrigemKey), path(options.destino, engine::kDestinoKey)};
}

}  // namespace batch
