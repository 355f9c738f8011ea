#include "run_admission.h"

#include "database_error.h"
#include "database_identity.h"

namespace engine {

std::unique_ptr<DestinationLock> admitRun(ImportContext& context) {
    WindowSeam& window = context.window;
    std::string origem;
    std::string destino;
    try {
        origem = serverFileName(context.IBDBOrigem, context.IBTransactionFireBird);
        destino = serverFileName(context.IBDatabaseDestino, context.IBTransactionFireBird);
    } catch (const db::DatabaseError& failure) {
        window.mensagem(
            std::string("Não foi possível identificar os bancos de dados no servidor. Nada foi importado.\r\nFalha: ") +
                failure.text(),
            false);
        return nullptr;
    }
    if (origem == destino) {
        window.mensagem(
            "Origem e destino são o mesmo banco de dados:\r\n" + destino + "\r\nNada foi apagado nem importado.",
            false);
        return nullptr;
    }
    auto lock = std::make_unique<DestinationLock>(destino);
    if (!lock->failure().empty()) {
        window.mensagem("Não foi possível verificar se outra importação grava neste banco de destino:\r\n" + destino +
                            "\r\nNada foi apagado nem importado.\r\nFalha: " + lock->failure(),
                        false);
        return nullptr;
    }
    if (!lock->held()) {
        window.mensagem("Outra importação está gravando neste banco de destino:\r\n" + destino +
                            "\r\nNada foi apagado nem importado. Tente de novo quando ela terminar.",
                        false);
        return nullptr;
    }
    return lock;
}

}  // namespace engine
