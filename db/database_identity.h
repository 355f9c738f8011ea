#pragma once

#include <string>

#include "attachment.h"
#include "transaction.h"

namespace db {

// The file that the server opened for an attachment, as the server names it: a symbolic
// link, "..", a doubled separator or an alias come back resolved to one spelling, so two
// attachments are on the same database exactly when their names are equal. The name is the
// bytes of the server's file system (UTF-8 here), whatever character set the attachment
// talks in. Throws db::DatabaseError when the server cannot be asked.
std::string serverFileName(Attachment& attachment, Transaction& transaction);

}  // namespace db
