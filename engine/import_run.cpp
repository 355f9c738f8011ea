#include "import_run.h"

#include <algorithm>

#include "connection_setup.h"
#include "run_log_file.h"
#include "table_imports.h"
#include "transaction_policy.h"

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
    // Each box is read when the run reaches its table; after a stop request no table is reached.
    auto reached = [&](CheckBox box) { return !window.stopRequested() && window.isTicked(box); };
    if (reached(CheckBox::Clientes)) ImportaClientes(context);
    if (reached(CheckBox::Fornec)) ImportaFornecedores(context);
    if (reached(CheckBox::Produtos)) {
        ImportaGrupos(context);
        if (!window.stopRequested()) ImportaProdutos(context);
    }
    if (reached(CheckBox::Vendedores)) ImportaVendedores(context);
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
    // A preview changes nothing, so it asks nothing.
    if (!context.options.preview &&
        !window.confirma("Atenção os registros das tabelas marcadas serão apagadas e importadas: \r\nConfirma ?"))
        return;
    const TransactionPolicy policy = TransactionPolicy::of(context.options);

    context.Importando = true;
    window.setImportEnabled(false);
    // A connection test during the run would replace the run's connections underneath it.
    window.setConnectionTestEnabled(false);
    window.setGaugeMinimum(0);
    window.setGaugePosition(0);
    context.LogErros.clear();
    context.LogClienteRepetido.clear();
    context.outcomes.clear();
    context.refusedRows.clear();
    context.refusedRowsLeftOut = 0;
    context.lookups.clear();
    try {
        runTables(context);
        endRunTransaction(context, policy);
        saveAndOffer(context, context.LogErros, "quorel.log");
        saveAndOffer(context, context.LogClienteRepetido, "quorel2.log");

        // Success is announced only when every table ran to its end and nothing was refused.
        const bool clean = context.LogErros.empty() && context.LogClienteRepetido.empty() &&
                           std::all_of(context.outcomes.begin(), context.outcomes.end(),
                                       [](const TableOutcome& outcome) {
                                           return outcome.completed && !outcome.interrupted;
                                       });
        const char* endMessage = clean ? kSuccess : kWithErrors;
        window.mensagem(endMessage, clean);
        window.setStatus(endMessage);
        window.setGaugePosition(0);
        window.setImportEnabled(true);
        window.setConnectionTestEnabled(true);
        context.IBDatabaseDestino.close();
    } catch (...) {
        // Whatever escapes (a log file that cannot be written) leaves the window usable, and
        // a preview's work undone.
        try {
            endRunTransaction(context, policy);
        } catch (...) {
        }
        window.setImportEnabled(true);
        window.setConnectionTestEnabled(true);
        releaseRun(context);
        throw;
    }
    releaseRun(context);
}

}  // namespace engine
