#pragma once

#include <functional>
#include <string>
#include <vector>

#include "attachment.h"
#include "progress.h"
#include "server_login.h"
#include "service_manager.h"
#include "transaction.h"

namespace engine {

// The tables of a database that hold rows (not views, not the server's own): how far the
// gauge goes while a backup or restore runs.
int userTableCount(db::Attachment& attachment, db::Transaction& transaction);

// Runs a restore streamed from this program (db::streamedRestoreRequest) on a server of this
// machine ("localhost", "localhost/3051") as the login and shows its progress: each time the server reaches a table's
// data the status label shows the phase and the table's name and the gauge, running to tableCount, moves one step.
// Pending window messages are processed after every line the server reports. readBytes hands the server the backup, as
// ServiceManager::feed. Throws db::DatabaseError with the server's reason when the service fails.
void runStreamedRestore(const Progress& progress, const ServerLogin& login, const std::string& server,
                        const std::vector<char>& request, const std::function<std::string(std::size_t)>& readBytes,
                        const std::string& phase, int tableCount);

}  // namespace engine
