#pragma once

#include "import_context.h"

namespace engine {

// (Re)connects both databases and starts the destination transaction over both. Reports
// every failure through the window, and success too when announce is set.
bool Connectar(ImportContext& context, bool announce);

}  // namespace engine
