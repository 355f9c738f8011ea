#pragma once

#include <ctime>

namespace platform {

// The local calendar time of a moment, as the machine's time zone gives it.
std::tm localTime(std::time_t moment);

}  // namespace platform
