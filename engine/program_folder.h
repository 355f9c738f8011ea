#pragma once

#include <string>

namespace engine {

// The folder of the running program file, with its trailing path separator.
std::string programFolder();

}  // namespace engine
