#pragma once

#include <string>

#include "progress.h"
#include "run_prompter.h"
#include "server_login.h"

namespace engine {

// Puts a destination back as it was when a safety copy was made of it. Checks the copy file
// first (a file that does not exist or is not a server backup is reported and nothing is
// touched), then asks the confirmation naming both files, saying so plainly, with No as its
// default, when the copy was made of another database. On Yes the server restores the copy
// over the destination, replacing it; the server refuses while any other connection is
// attached to the destination, and its reason is shown. The destination is attached and the
// server's service used as the given login. Reports the outcome through the
// prompter and returns true when the destination was restored.
bool restoreSafetyCopy(const Progress& progress, RunPrompter& prompter, const ServerLogin& login,
                       const std::string& copyPath, const std::string& destinationPath);

}  // namespace engine
