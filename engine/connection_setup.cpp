#include "connection_setup.h"

#include "connection_parameters.h"
#include "database_error.h"
#include "text.h"

namespace engine {

namespace {

void configure(db::Attachment& attachment, const std::string& fileName, db::Transaction& transaction) {
    attachment.setConnectionString(std::string(kLoopbackHost) + ":" + fileName);
    attachment.setLoginPrompt(false);
    attachment.setSqlDialect(kSqlDialect);
    attachment.setDefaultTransaction(&transaction);
    attachment.open();
}

}  // namespace

bool Connectar(ImportContext& context, bool announce) {
    WindowSeam& window = context.window;
    const std::string origem = window.fileNameOrigem();
    const std::string destino = window.fileNameDestino();
    if (db::trimBlanks(origem).empty()) {
        window.mensagem("Selecione o banco de dados de origem!", false);
        return false;
    }
    if (db::trimBlanks(destino).empty()) {
        window.mensagem("Selecione o banco de dados de destino!", false);
        return false;
    }

    // Closing the source first commits and ends both transactions when they are active.
    context.IBDBOrigem.close();
    context.IBDatabaseDestino.close();

    try {
        configure(context.IBDatabaseDestino, destino, context.IBTransactionFireBird);
        configure(context.IBDBOrigem, origem, context.IBTransactionFireBird);
        if (!context.IBTransactionFireBird.isActive()) context.IBTransactionFireBird.start();
        if (announce && context.IBDatabaseDestino.isOpen() && context.IBDBOrigem.isOpen())
            window.mensagem("Base de dados Origem e Destino conectados com sucesso", false);
        return true;
    } catch (const db::DatabaseError& failure) {
        window.mensagem(std::string("Falha na função: \"Connectar\"\r\nFalha: ") + failure.text(), false);
        return false;
    }
}

}  // namespace engine
