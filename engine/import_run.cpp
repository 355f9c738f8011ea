#include "import_run.h"

#include <algorithm>

#include "connection_setup.h"
#include "run_admission.h"
#include "safety_copy.h"
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

// Offers to open a log that holds entries; a log that the program folder could not take is
// named first, with the file that holds its entries.
void offer(ImportContext& context, const RunLogFile& log) {
    if (log.entries() == 0) return;
    if (!log.programFolderFailure().empty())
        context.window.mensagem(log.programFolderFailure() + "\r\nOs registros deste log estão em: " + log.path(),
                                false);
    if (context.window.confirma(kLogPrompt)) context.window.openFile(log.folder(), log.fileName());
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
    const std::unique_ptr<DestinationLock> destinationLock = admitRun(context);
    if (!destinationLock) return;
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
    context.runLogs.start(context.programFolder, context.options.preview);
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
        endRunTransaction(context, policy);
        context.flushLogs();
        context.runLogs.finish();
        offer(context, context.runLogs.erros());
        offer(context, context.runLogs.repetidos());

        // Success is announced only when every table ran to its end and nothing was refused.
        const bool clean =
            context.runLogs.entries() == 0 &&
            std::all_of(context.outcomes.begin(), context.outcomes.end(),
                        [](const TableOutcome& outcome) { return outcome.completed && !outcome.interrupted; });
        const char* endMessage = clean ? kSuccess : kWithErrors;
        window.mensagem(endMessage, clean);
        window.setStatus(endMessage);
        window.setGaugePosition(0);
        window.setImportEnabled(true);
        window.setConnectionTestEnabled(true);
        context.IBDatabaseDestino.close();
    } catch (...) {
        // Whatever escapes (a log that no folder could take) leaves the window usable, and a
        // preview's work undone; the failure in hand is the one to report.
        try {
            endRunTransaction(context, policy);
        } catch (...) {
        }
        try {
            context.runLogs.finish();
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
