#include "connection_setup.h"

#include <optional>

#include "connection_parameters.h"
#include "database_error.h"
#include "database_server.h"
#include "server_login.h"
#include "text.h"

namespace engine {

namespace {

void configure(db::Attachment& attachment, const std::string& fileName, db::Transaction& transaction) {
    attachment.setConnectionString(connectionStringOf(fileName));
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

    // A database that cannot be used from here (on another machine, or by a path longer than the
    // server names a file) is refused before anything is closed or attached.
    for (const std::string* text : {&origem, &destino}) {
        if (const std::string refusal = databaseRefusal(*text); !refusal.empty()) {
            prompter.tell(MessageKind::Warning, refusal);
            return false;
        }
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
            std::string message = std::string("Falha na função: \"Connectar\"\r\nFalha: ") + failure.text();
            if (const std::optional<db::StructureMismatch>& mismatch = failure.structureMismatch())
                message +=
                    "\r\n\r\n" + structureExplanation(*mismatch, session.IBDatabaseDestino.isOpen() ? origem : destino);
            prompter.tell(MessageKind::Warning, message);
            return false;
        }
    }
}

}  // namespace engine
