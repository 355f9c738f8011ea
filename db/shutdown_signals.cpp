#include "shutdown_signals.h"

#include "client_library.h"
#include "database_error.h"

namespace db {

namespace {

// Asked before each shutdown: non-zero declines it. Only the one a signal started is declined;
// the shutdown at the program's exit goes ahead.
int declineSignalShutdown(const int reason, const int, void*) { return reason == fb_shutrsn_signal ? 1 : 0; }

}  // namespace

void settleLibrarySignalHandling() {
    try {
        const ClientLibrary& library = clientLibrary();
        ISC_STATUS_ARRAY status{};
        library.shutdown_callback(status, declineSignalShutdown, fb_shut_confirmation, nullptr);
        // No database and a parameter block of no known version: refused before any server is
        // asked, after the library has set up its signal handling.
        isc_db_handle handle = 0;
        const char unknownVersion = 99;
        library.attach_database(status, 0, "", &handle, 1, &unknownVersion);
    } catch (const DatabaseError&) {
    }
}

}  // namespace db
