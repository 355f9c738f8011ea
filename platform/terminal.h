#pragma once

namespace platform {

// Makes the terminal show the program's UTF-8 output as UTF-8: nothing to do on POSIX
// systems; on Windows the console's code page (850 on a Brazilian machine) otherwise turns
// every accented letter into another character.
void useUtf8Terminal();

}  // namespace platform
