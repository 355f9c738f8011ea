#pragma once

namespace engine {

// Makes Ctrl+C and SIGTERM (or the platform's counterparts) a request to stop the run at a
// row boundary instead of an end of the process: first the Firebird client library sets up
// its own signal handling, with the shutdown it would start declined, then the platform's
// handlers replace the library's. Call once at the program's start, before the first
// attachment.
void installStopSignals();

}  // namespace engine
