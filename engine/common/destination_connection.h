#pragma once

#include <string>

#include "attachment.h"
#include "server_login.h"
#include "transaction.h"

namespace engine {

// An attachment of its own to a destination database, with the import's connection
// parameters and the given login, and a transaction of its own on it: for reading the destination outside a run
// (counting its rows, naming it before a restore). Configured, not opened; dropped, it rolls
// its transaction back and detaches.
struct DestinationConnection {
    DestinationConnection(const std::string& destinoPath, const ServerLogin& login,
                          const std::string& name = "DestinoProprio");

    db::Attachment attachment;
    db::Transaction transaction;
};

}  // namespace engine
