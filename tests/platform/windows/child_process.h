#pragma once

// Starting a program from a test on Windows and waiting for it: CreateProcessW with a UTF-16
// command line, so that accented folders reach the child as they are.

#include <windows.h>

#include <string>
#include <vector>

namespace windows_test {

// One argument quoted for CommandLineToArgvW.
inline std::wstring quoted(const std::wstring& argument) {
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        text += c;
    }
    text.append(backslashes * 2, L'\\');
    return text + L"\"";
}

class ChildProcess {
public:
    // Starts the program with the arguments; the child's standard output and error go to the
    // file named by outputFile when one is given, and its standard input is then the file named
    // by inputFile, or NUL.
    ChildProcess(const std::wstring& program, const std::vector<std::wstring>& arguments,
                 const std::wstring& outputFile = {}, const std::wstring& inputFile = L"NUL") {
        std::wstring commandLine = quoted(program);
        for (const std::wstring& argument : arguments) commandLine += L" " + quoted(argument);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        HANDLE output = INVALID_HANDLE_VALUE;
        HANDLE input = INVALID_HANDLE_VALUE;
        if (!outputFile.empty()) {
            SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
            output = ::CreateFileW(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            startup.dwFlags = STARTF_USESTDHANDLES;
            // Never the test's own input: the child does not wait on it.
            input = ::CreateFileW(inputFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            startup.hStdInput = input;
            startup.hStdOutput = output;
            startup.hStdError = output;
        }
        // No console window: the child gets a console of its own that nobody sees.
        started_ = ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, !outputFile.empty(),
                                    CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process_) != 0;
        if (output != INVALID_HANDLE_VALUE) ::CloseHandle(output);
        if (input != INVALID_HANDLE_VALUE) ::CloseHandle(input);
    }
    ~ChildProcess() {
        if (!started_) return;
        if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.hProcess, 1);
        ::CloseHandle(process_.hThread);
        ::CloseHandle(process_.hProcess);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return started_; }

    // The exit status, or -1 when the child did not end within the time given.
    int wait(DWORD milliseconds = 60000) {
        if (!started_ || ::WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0) return -1;
        DWORD status = 0;
        ::GetExitCodeProcess(process_.hProcess, &status);
        return static_cast<int>(status);
    }

    // Ends the child at once, as the task manager does.
    void kill() {
        if (started_) ::TerminateProcess(process_.hProcess, 1);
        wait();
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

}  // namespace windows_test
