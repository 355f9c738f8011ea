#pragma once

#include <string>

namespace platform {

// Ctrl+C (SIGINT), SIGTERM, SIGHUP (a closed terminal) and SIGQUIT as a request to stop the run at a row boundary
// instead of an end of the process. The request is only recorded: the run asks for it after each row.
// Windows has no such signals: its stop requests (Ctrl+C, Ctrl+Break, a closed console, log-off,
// shutdown) are recorded as SIGINT or SIGTERM, so that the exit status is the same.

// Installs the handlers, replacing any installed before (the Firebird client library's own,
// which would shut the program's connections down). A read waiting for the user's answer
// returns when a stop signal comes: the answer is No.
void installStopSignals();

// The signal that asked the program to stop (the last one when several came), or 0.
int stopSignal();

inline bool stopRequested() { return stopSignal() != 0; }

// The signal's name as the summary shows it ("SIGINT", "SIGTERM", ...), or its number.
std::string stopSignalName(int signal);

// The exit status that reports the signal as a shell does: 128 plus its number.
inline int exitStatusOfSignal(int signal) { return 128 + signal; }

}  // namespace platform
