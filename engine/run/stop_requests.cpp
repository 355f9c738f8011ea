#include "stop_requests.h"

#include "shutdown_signals.h"
#include "stop_signals.h"

namespace engine {

void installStopSignals() {
    db::settleLibrarySignalHandling();
    platform::installStopSignals();
}

}  // namespace engine
