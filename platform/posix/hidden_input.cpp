#include "hidden_input.h"

#include <termios.h>
#include <unistd.h>

namespace platform {

namespace {

// Turns the terminal's echo off while it lives, and puts the terminal's settings back after.
class EchoOff {
public:
    EchoOff() : active_(::tcgetattr(STDIN_FILENO, &saved_) == 0) {
        if (!active_) return;
        termios quiet = saved_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        active_ = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff() {
        if (active_) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    termios saved_{};
    bool active_;
};

}  // namespace

std::optional<std::string> readLineWithoutEcho(std::istream& input) {
    const EchoOff echoOff;
    std::string line;
    if (!std::getline(input, line)) return std::nullopt;
    return line;
}

}  // namespace platform
