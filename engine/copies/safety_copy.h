#pragma once

#include <ctime>
#include <string>

#include "attachment.h"
#include "progress.h"
#include "run_report.h"
#include "server_login.h"
#include "transaction.h"

namespace engine {

// Where the copy of a database goes: beside it, as "<name without extension>-<yyyymmdd-hhmmss>.fbk"
// with the given local time.
std::string safetyCopyPath(const std::string& databaseFileName, const std::tm& localTime);

// Backs up the attached destination through its server into a file beside it, showing the
// progress. Throws db::DatabaseError with the server's reason when it fails.
SafetyCopy makeSafetyCopy(const Progress& progress, const ServerLogin& login, db::Attachment& destination,
                          db::Transaction& transaction);

}  // namespace engine
