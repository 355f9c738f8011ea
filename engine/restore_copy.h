#pragma once

#include <string>

#include "window_seam.h"

namespace engine {

// Puts a destination back as it was when a safety copy was made of it. Checks the copy file
// first (a file that does not exist or is not a server backup is reported and nothing is
// touched), then asks the confirmation naming both files: confirma when the copy was made of
// this destination, confirmaPadraoNao, saying so plainly, when it was made of another
// database. On Yes the server restores the copy over the destination, replacing it; the
// server refuses while any other connection is attached to the destination, and its reason
// is shown. Reports the outcome with window.mensagem and returns true when the destination
// was restored.
bool restoreSafetyCopy(WindowSeam& window, const std::string& copyPath, const std::string& destinationPath);

}  // namespace engine
