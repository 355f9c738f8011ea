#pragma once

#include <string>

#include "progress.h"
#include "run_prompter.h"
#include "server_login.h"

namespace engine {

// Puts a destination back as it was when a safety copy was made of it, never leaving it
// damaged by a damaged copy:
// - the copy file is checked first: a file that does not exist or is not a server backup, or
//   whose size and SHA-256 differ from its record (copy_record.h), is reported and nothing is
//   touched;
// - then the confirmation names both files, saying so plainly, with No as its default, when the
//   copy was made of another database or has no record (a copy made by hand);
// - the copy is restored into a new database beside the destination, streamed from this
//   program, which checks the bytes read against the record again; that database is whole
//   when the server reported no failure and every table holds the rows the record gives it (a
//   copy without a record: when the server's full validation of it found no fault);
// - only then is the copy restored over the destination, the same way; the server refuses
//   while any other connection is attached to the destination, and its reason is shown;
// - the destination is checked against the same row counts, and the new database is removed
//   only once the destination passed; a failure that leaves the destination damaged or off
//   line keeps it and names it.
// When a check fails before the destination is touched, the new database is removed and the
// message says which check failed. Returns true when the destination was restored.
bool restoreSafetyCopy(const Progress& progress, RunPrompter& prompter, const ServerLogin& login,
                       const std::string& copyPath, const std::string& destinationPath);

}  // namespace engine
