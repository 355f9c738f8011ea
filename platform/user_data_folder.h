#pragma once

#include <string>

namespace platform {

// The program's folder in the user's data location, with its trailing separator, created when
// missing: where the run logs go when the program folder cannot take them. Throws
// std::runtime_error when it cannot be created.
std::string userDataFolder();

}  // namespace platform
