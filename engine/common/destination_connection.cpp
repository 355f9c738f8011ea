#include "destination_connection.h"

#include "connection_parameters.h"
#include "database_server.h"

namespace engine {

DestinationConnection::DestinationConnection(const std::string& destinoPath, const ServerLogin& login,
                                             const std::string& name)
    : attachment(name), transaction(name + "Transacao") {
    attachment.setParams(destinoParams(login));
    attachment.setSqlDialect(kSqlDialect);
    attachment.setConnectionString(connectionStringOf(destinoPath));
    transaction.setParams(kTransactionParams);
    transaction.setDefaultAttachment(&attachment);
    attachment.setDefaultTransaction(&transaction);
}

}  // namespace engine
