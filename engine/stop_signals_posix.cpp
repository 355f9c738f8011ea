// SIGINT and SIGTERM on POSIX systems. A Windows build replaces this file with one that
// handles the console's control events.
#include "stop_signals.h"

#include <signal.h>

#include "shutdown_signals.h"

namespace engine {

namespace {

// The one piece of process-wide state a signal needs: written by the handler only.
volatile sig_atomic_t receivedSignal = 0;

extern "C" void recordStopSignal(int signal) { receivedSignal = signal; }

}  // namespace

void installStopSignals() {
    // The library's handlers first, so that these replace them.
    db::settleLibrarySignalHandling();
    struct sigaction action {};
    action.sa_handler = recordStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read waiting for the user's answer returns, and the answer is No.
    action.sa_flags = 0;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

int stopSignal() { return receivedSignal; }

}  // namespace engine
