#include "import_run.h"

#include <algorithm>

#include "connection_setup.h"
#include "run_log_file.h"
#include "safety_copy.h"
#include "table_imports.h"

namespace engine {

namespace {

constexpr const char* kLogPrompt = "Ocorreu erro durante a importação.\r\nDeseja visualiazar os erros?";
constexpr const char* kSuccess = "Importação finalizada com sucesso";
constexpr const char* kWithErrors = "Importação finalizada com erros";

bool anyTableTicked(const WindowSeam& window) {
    for (CheckBox box : {CheckBox::Clientes, CheckBox::Produtos, CheckBox::ListaPrecos, CheckBox::Fornec,
                         CheckBox::Vendedores, CheckBox::Receber, CheckBox::Pagar})
        if (window.isTicked(box)) return true;
    return false;
}

// Saves a non-empty log in the program folder and offers to open it.
void saveAndOffer(ImportContext& context, const std::vector<std::string>& log, const std::string& fileName) {
    if (log.empty()) return;
    saveRunLog(context.programFolder + fileName, log);
    if (context.window.confirma(kLogPrompt)) context.window.openFile(context.programFolder, fileName);
}

void releaseRun(ImportContext& context) {
    context.LogErros.clear();
    context.LogClienteRepetido.clear();
    context.Importando = false;
}

void runTables(ImportContext& context) {
    const WindowSeam& window = context.window;
    // Each box is read when the run reaches its table.
    if (window.isTicked(CheckBox::Clientes)) ImportaClientes(context);
    if (window.isTicked(CheckBox::Fornec)) ImportaFornecedores(context);
    if (window.isTicked(CheckBox::Produtos)) {
        ImportaGrupos(context);
        ImportaProdutos(context);
    }
    if (window.isTicked(CheckBox::Vendedores)) ImportaVendedores(context);
}

}  // namespace

void BitBtnImportarClick(ImportContext& context) {
    WindowSeam& window = context.window;
    if (!anyTableTicked(window)) {
        window.showPlainMessage("Marque uma ou mais de uma tabela para ser importado!!");
        return;
    }
    context.IBDatabaseDestino.close();
    if (!Connectar(context, false)) return;
    if (!window.confirma("Atenção os registros das tabelas marcadas serão apagadas e importadas: \r\nConfirma ?"))
        return;

    context.Importando = true;
    window.setImportEnabled(false);
    // A connection test during the run would replace the run's connections underneath it.
    window.setConnectionTestEnabled(false);
    window.setGaugeMinimum(0);
    window.setGaugePosition(0);
    context.LogErros.clear();
    context.LogClienteRepetido.clear();
    context.outcomes.clear();
    try {
        context.safetyCopy.reset();
        context.stoppedWithoutCopy = false;
        if (context.options.safetyCopy && !context.options.preview && !copyBeforeEmptying(context)) {
            context.stoppedWithoutCopy = true;
            window.setGaugePosition(0);
            window.setImportEnabled(true);
            window.setConnectionTestEnabled(true);
            releaseRun(context);
            return;
        }
        runTables(context);
        saveAndOffer(context, context.LogErros, "quorel.log");
        saveAndOffer(context, context.LogClienteRepetido, "quorel2.log");

        // Success is announced only when every table ran to its end and nothing was refused.
        const bool clean = context.LogErros.empty() && context.LogClienteRepetido.empty() &&
                           std::all_of(context.outcomes.begin(), context.outcomes.end(),
                                       [](const TableOutcome& outcome) { return outcome.completed; });
        const char* endMessage = clean ? kSuccess : kWithErrors;
        window.mensagem(endMessage, clean);
        window.setStatus(endMessage);
        window.setGaugePosition(0);
        window.setImportEnabled(true);
        window.setConnectionTestEnabled(true);
        context.IBDatabaseDestino.close();
    } catch (...) {
        // Whatever escapes (a log file that cannot be written) leaves the window usable.
        window.setImportEnabled(true);
        window.setConnectionTestEnabled(true);
        releaseRun(context);
        throw;
    }
    releaseRun(context);
}

}  // namespace engine
