#pragma once

#include "batch_options.h"

namespace batch {

// The --conferir command: compares the chosen destination tables with the source, prints the
// summary and writes conferencia.csv. Returns the program's exit status (see
// exitStatusOfVerification).
int runVerifyCommand(const BatchOptions& options);

}  // namespace batch
