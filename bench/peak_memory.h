#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

// The peak resident memory of this process so far (VmHWM), in kB.
inline long peakMemoryKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}
