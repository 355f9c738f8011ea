// A line typed without echo on Windows: the console's echo turned off while the line is read
// (SetConsoleMode without ENABLE_ECHO_INPUT), its mode put back after. Standard input that is no
// console (a pipe, a file, NUL) is read as it is.
#include "hidden_input.h"

#include <windows.h>

namespace platform {

namespace {

class EchoOff {
public:
    EchoOff() : input_(::GetStdHandle(STD_INPUT_HANDLE)), active_(::GetConsoleMode(input_, &saved_) != 0) {
        if (active_) active_ = ::SetConsoleMode(input_, saved_ & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) != 0;
    }
    ~EchoOff() {
        if (!active_) return;
        ::SetConsoleMode(input_, saved_);
        // The Enter that ended the line was not shown either: what follows starts a new line,
        // as it does after an echoed answer.
        DWORD written = 0;
        ::WriteConsoleW(::GetStdHandle(STD_ERROR_HANDLE), L"\r\n", 2, &written, nullptr);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    HANDLE input_;
    DWORD saved_ = 0;
    bool active_;
};

}  // namespace

std::optional<std::string> readLineWithoutEcho(std::istream& input) {
    const EchoOff echoOff;
    std::string line;
    if (!std::getline(input, line)) return std::nullopt;
    // The console ends a line with CR LF; the C runtime's text mode leaves no CR, a binary
    // standard input would.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace platform
