#pragma once

#include "values.h"

// The regional format in which numbers and dates are read and written as text: that of the
// Brazilian desktops the tool runs on. A build for another region changes only this file.
namespace engine {

inline constexpr db::RegionalFormat kRegionalFormat{
    .decimalSeparator = ',',
    .dateLayout = "%02d/%02d/%04d",
    .timeLayout = "%02u:%02u:%02u",
    .dateTimeScan = "%d/%d/%d%n %d:%d:%d%n",
};

}  // namespace engine
