// The Windows platform tests' program. Started with a role as its first argument, it is the
// child process a test needs instead of running the tests:
//   --print-program-folder FILE   writes programFolder() to FILE and ends
//   --hold-lock NAME FILE         takes the destination lock on NAME, writes "held" or
//                                 "not held" to FILE, and waits to be killed
//   --read-hidden FILE            reads a line as a password is read, writes it between
//                                 brackets to FILE ("none" at the end of the input)
//   --terminals FILE              writes whether standard input and standard error are
//                                 terminals to FILE ("input yes, errors no")
//   --stop-on-ctrl-c FILE         sends Ctrl+C to its own console with the stop handlers
//                                 installed, and writes the stop request it recorded to FILE
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "file_paths.h"
#include "hidden_input.h"
#include "program_folder.h"
#include "run_lock.h"
#include "stop_signals.h"
#include "terminal.h"
#include "windows_text.h"

namespace {

std::vector<std::string> utf8Arguments() {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(platform::windows::toUtf8(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

void writeFile(const std::string& utf8Path, const std::string& bytes) {
    std::ofstream(platform::filePath(utf8Path), std::ios::binary) << bytes;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = utf8Arguments();
    if (arguments.size() == 3 && arguments[1] == "--print-program-folder") {
        writeFile(arguments[2], platform::programFolder());
        return 0;
    }
    if (arguments.size() == 4 && arguments[1] == "--hold-lock") {
        platform::DestinationLock lock(arguments[2]);
        writeFile(arguments[3], lock.held() ? "held" : "not held");
        ::Sleep(INFINITE);
        return 0;
    }
    if (arguments.size() == 3 && arguments[1] == "--read-hidden") {
        const std::optional<std::string> line = platform::readLineWithoutEcho(std::cin);
        writeFile(arguments[2], line ? "[" + *line + "]" : "none");
        return 0;
    }
    if (arguments.size() == 3 && arguments[1] == "--terminals") {
        writeFile(arguments[2], std::string("input ") + (platform::standardInputIsTerminal() ? "yes" : "no") +
                                    ", errors " + (platform::standardErrorIsTerminal() ? "yes" : "no"));
        return 0;
    }
    if (arguments.size() == 3 && arguments[1] == "--stop-on-ctrl-c") {
        platform::installStopSignals();
        ::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
        // The handler runs on a thread of its own.
        for (int i = 0; i < 100 && !platform::stopRequested(); ++i) ::Sleep(50);
        const int signal = platform::stopSignal();
        writeFile(arguments[2], signal == 0 ? "none"
                                            : platform::stopSignalName(signal) + " " +
                                                  std::to_string(platform::exitStatusOfSignal(signal)));
        return 0;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
