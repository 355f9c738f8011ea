// Terminals on POSIX systems show UTF-8 as it is.
#include "terminal.h"

namespace platform {

void useUtf8Terminal() {}

}  // namespace platform
