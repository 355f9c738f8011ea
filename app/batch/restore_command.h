#pragma once

#include "batch_options.h"

namespace batch {

// The --restaurar command: puts the destination back as the safety copy holds it, after the
// confirmation on the terminal. Returns the program's exit status: 0 when the destination was
// restored, 2 when it was not (a bad copy file, a No, or the server's refusal).
int runRestoreCommand(const BatchOptions& options);

}  // namespace batch
