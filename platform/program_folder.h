#pragma once

#include <string>

namespace platform {

// The folder of the running program file, with its trailing path separator.
std::string programFolder();

}  // namespace platform
