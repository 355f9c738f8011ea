#pragma once

#include <ctime>
#include <string>

#include "attachment.h"
#include "progress.h"
#include "run_report.h"
#include "server_login.h"
#include "transaction.h"

namespace engine {

// Where the copy of a database goes: beside it, as
// "<name with its extension>-<yyyymmdd-hhmmss-mmm>.fbk" with the given local time and
// milliseconds; attempt 1 and on add "-<attempt>" before ".fbk", for a name already taken.
std::string safetyCopyPath(const std::string& databaseFileName, const std::tm& localTime, int milliseconds,
                           int attempt = 0);

// Backs up the attached destination into a new file beside it, streamed from the server and
// written by this program as a private file (a file already there is never replaced), with its
// record beside it (copy_record.h); then reads the file back and checks it against the record.
// Shows the progress. Throws db::DatabaseError with the server's reason when the backup fails,
// and std::runtime_error when the copy or its record cannot be written or checked; the copy
// file is removed then.
SafetyCopy makeSafetyCopy(const Progress& progress, const ServerLogin& login, db::Attachment& destination,
                          db::Transaction& transaction);

}  // namespace engine
