// Local time on POSIX systems: localtime_r(3), safe to call from any thread.
#include "local_time.h"

namespace platform {

std::tm localTime(std::time_t moment) {
    std::tm local{};
    ::localtime_r(&moment, &local);
    return local;
}

}  // namespace platform
