// Local time on Windows: localtime_s, safe to call from any thread.
#include "local_time.h"

namespace platform {

std::tm localTime(std::time_t moment) {
    std::tm local{};
    ::localtime_s(&local, &moment);
    return local;
}

}  // namespace platform
