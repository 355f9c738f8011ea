#pragma once

#include <string>

#include "attachment.h"
#include "transaction.h"

namespace engine {

// The file name of the attached database as the server opened it (symbolic links and ".."
// resolved): where the server writes a copy beside it, and how two names of one database are
// told apart from two databases.
std::string serverFileName(db::Attachment& attachment, db::Transaction& transaction);

}  // namespace engine
