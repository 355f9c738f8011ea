#include "run_admission.h"

#include "database_error.h"
#include "database_identity.h"

namespace engine {

std::unique_ptr<platform::DestinationLock> admitRun(ImportSession& session, RunPrompter& prompter,
                                                    const std::string& nothingDone) {
    std::string origem;
    std::string destino;
    try {
        origem = db::serverFileName(session.IBDBOrigem, session.IBTransactionFireBird);
        destino = db::serverFileName(session.IBDatabaseDestino, session.IBTransactionFireBird);
    } catch (const db::DatabaseError& failure) {
        prompter.tell(
            MessageKind::Warning,
            std::string("Não foi possível identificar os bancos de dados no servidor. " + nothingDone + "\r\nFalha: ") +
                failure.text());
        return nullptr;
    }
    if (origem == destino) {
        prompter.tell(MessageKind::Warning,
                      "Origem e destino são o mesmo banco de dados:\r\n" + destino + "\r\n" + nothingDone);
        return nullptr;
    }
    auto lock = std::make_unique<platform::DestinationLock>(destino);
    if (!lock->failure().empty()) {
        prompter.tell(MessageKind::Warning,
                      "Não foi possível verificar se outra importação grava neste banco de destino:\r\n" + destino +
                          "\r\n" + nothingDone + "\r\nFalha: " + lock->failure());
        return nullptr;
    }
    if (!lock->held()) {
        prompter.tell(MessageKind::Warning, "Outra importação está gravando neste banco de destino:\r\n" + destino +
                                                "\r\n" + nothingDone + " Tente de novo quando ela terminar.");
        return nullptr;
    }
    return lock;
}

}  // namespace engine
