#include "shutdown_signals.h"

#include "client_library.h"
#include "database_error.h"

namespace db {

namespace {

// Asked before each shutdown: non-zero declines it. Only the one a signal started is declined.
int declineSignalShutdown(const int reason, const int, void*) { return reason == fb_shutrsn_signal ? 1 : 0; }

}  // namespace

void keepConnectionsOnSignals() {
    try {
        const ClientLibrary& library = clientLibrary();
        ISC_STATUS_ARRAY status{};
        library.shutdown_callback(status, declineSignalShutdown, fb_shut_confirmation, nullptr);
    } catch (const DatabaseError&) {
    }
}

}  // namespace db
