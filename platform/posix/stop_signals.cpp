// SIGINT, SIGTERM, SIGHUP and SIGQUIT on POSIX systems.
#include "stop_signals.h"

#include <signal.h>

#include <initializer_list>

namespace platform {

namespace {

// The one piece of process-wide state a signal needs: written by the handler only.
volatile sig_atomic_t receivedSignal = 0;

extern "C" void recordStopSignal(int signal) { receivedSignal = signal; }

}  // namespace

void installStopSignals() {
    struct sigaction action {};
    action.sa_handler = recordStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read waiting for the user's answer returns, and the answer is No.
    action.sa_flags = 0;
    // SIGHUP comes when the terminal or the SSH connection closes, SIGQUIT with Ctrl+\: both
    // stop the run as SIGTERM does, instead of killing it or being ignored.
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) ::sigaction(signal, &action, nullptr);
}

int stopSignal() { return receivedSignal; }

std::string stopSignalName(int signal) {
    if (signal == SIGINT) return "SIGINT";
    if (signal == SIGTERM) return "SIGTERM";
    if (signal == SIGHUP) return "SIGHUP";
    if (signal == SIGQUIT) return "SIGQUIT";
    return std::to_string(signal);
}

}  // namespace platform
