#pragma once

#include <string>
#include <vector>

#include "attachment.h"
#include "progress.h"
#include "server_login.h"
#include "transaction.h"

namespace engine {

// The tables of a database that hold rows (not views, not the server's own): how far the
// gauge goes while a backup or restore runs.
int userTableCount(db::Attachment& attachment, db::Transaction& transaction);

// Runs a backup or restore request on the local server as the destination's user (the fixed
// one or the login's) and shows its
// progress: each time the server reaches a table's data the status label shows the phase and
// the table's name and the gauge, running to tableCount, moves one step. Pending window
// messages are processed after every line the server reports. Throws db::DatabaseError with
// the server's reason when the service fails.
void runServerService(const Progress& progress, const ServerLogin& login, const std::vector<char>& request,
                      const std::string& phase, int tableCount);

}  // namespace engine
