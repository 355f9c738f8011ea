#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <type_traits>

// The peak resident memory of this process so far (VmHWM), in kB.
inline long peakMemoryKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

// Runs a measurement in a child process of its own, so that its peak memory is its own, and
// returns what it returned through a pipe.
template <typename Work>
auto inChildProcess(Work work) -> decltype(work()) {
    using Result = decltype(work());
    static_assert(std::is_trivially_copyable_v<Result>);
    int channel[2];
    if (::pipe(channel) != 0) std::exit(1);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const Result result = work();
        if (::write(channel[1], &result, sizeof result) != static_cast<ssize_t>(sizeof result)) ::_exit(1);
        ::_exit(0);
    }
    ::close(channel[1]);
    Result result{};
    if (::read(channel[0], &result, sizeof result) != static_cast<ssize_t>(sizeof result)) std::exit(1);
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    return result;
}
