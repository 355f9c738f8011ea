#include "connection_setup.h"

#include <optional>

#include "connection_parameters.h"
#include "database_error.h"
#include "server_login.h"
#include "text.h"

namespace engine {

namespace {

void configure(db::Attachment& attachment, const std::string& fileName, db::Transaction& transaction) {
    attachment.setConnectionString(std::string(kLoopbackHost) + ":" + fileName);
    attachment.setSqlDialect(kSqlDialect);
    attachment.setDefaultTransaction(&transaction);
    attachment.open();
}

// The typed login replaces the session's for both attachments; the next attempt starts from
// both closed, as the first did.
void useLogin(ImportSession& session, const Credentials& typed) {
    session.login.use(typed);
    session.IBDBOrigem.close();
    session.IBDatabaseDestino.close();
}

}  // namespace

bool Connectar(ImportSession& session, const std::string& origem, const std::string& destino, RunPrompter& prompter,
               bool announce) {
    if (db::trimBlanks(origem).empty()) {
        prompter.tell(MessageKind::Warning, "Selecione o banco de dados de origem!");
        return false;
    }
    if (db::trimBlanks(destino).empty()) {
        prompter.tell(MessageKind::Warning, "Selecione o banco de dados de destino!");
        return false;
    }

    // Closing the source first commits and ends both transactions when they are active.
    session.IBDBOrigem.close();
    session.IBDatabaseDestino.close();

    while (true) {
        try {
            session.IBDatabaseDestino.setParams(destinoParams(session.login));
            session.IBDBOrigem.setParams(origemParams(session.login));
            configure(session.IBDatabaseDestino, destino, session.IBTransactionFireBird);
            configure(session.IBDBOrigem, origem, session.IBTransactionFireBird);
            if (!session.IBTransactionFireBird.isActive()) session.IBTransactionFireBird.start();
            if (announce && session.IBDatabaseDestino.isOpen() && session.IBDBOrigem.isOpen())
                prompter.tell(MessageKind::Warning, "Base de dados Origem e Destino conectados com sucesso");
            return true;
        } catch (const db::DatabaseError& failure) {
            if (isLoginRefused(failure)) {
                if (const std::optional<Credentials> typed = prompter.askLogin()) {
                    useLogin(session, *typed);
                    continue;
                }
            }
            prompter.tell(MessageKind::Warning,
                          std::string("Falha na função: \"Connectar\"\r\nFalha: ") + failure.text());
            return false;
        }
    }
}

}  // namespace engine
