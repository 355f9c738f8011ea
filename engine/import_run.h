#pragma once

#include "import_context.h"

namespace engine {

// The Import command: checks the selection, reconnects, asks for confirmation, runs the
// ticked table imports, saves and offers the logs, and restores the window. A log file that
// cannot be written raises after the window has been made usable again.
void BitBtnImportarClick(ImportContext& context);

}  // namespace engine
