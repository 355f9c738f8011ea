#pragma once

namespace platform {

// Makes the terminal show the program's UTF-8 output as UTF-8: nothing to do on POSIX
// systems; on Windows the console's code page (850 on a Brazilian machine) otherwise turns
// every accented letter into another character.
void useUtf8Terminal();

// Whether the program's standard input, or its standard error, is a terminal that a person
// types into and reads (a console on Windows); a file, a pipe or the null device is none.
bool standardInputIsTerminal();
bool standardErrorIsTerminal();

}  // namespace platform
