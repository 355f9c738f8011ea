// Stop requests on Windows. Windows has no SIGINT or SIGTERM for a program; what asks it to
// stop is recorded under the signal a POSIX system would send, so that the exit status is the
// same: Ctrl+C and Ctrl+Break as SIGINT; the console window closed, the user logging off and
// the machine shutting down as SIGTERM.
//
// Console events come through SetConsoleCtrlHandler, on a thread of their own. Windows ends
// the process as soon as the handler returns from a close, log-off or shutdown (and about five
// seconds after a close in any case): the handler waits there, so that the run can finish the
// row in hand, restart the key sequence and end on its own. A program that uses the window
// system (both do, through Qt) gets no console event for log-off and shutdown: a hidden
// window on a thread of its own takes WM_ENDSESSION and waits the same way.
#include "stop_signals.h"

#include <windows.h>

#include <atomic>
#include <csignal>
#include <thread>

namespace platform {

namespace {

std::atomic<int> receivedSignal{0};

// How long Windows is kept from ending the process once it has asked: more than it allows.
constexpr DWORD endWait = 30000;

BOOL WINAPI onConsoleEvent(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        receivedSignal = SIGINT;
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        receivedSignal = SIGTERM;
        ::Sleep(endWait);
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT CALLBACK onSessionMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYENDSESSION) return TRUE;
    if (message == WM_ENDSESSION) {
        if (wParam != FALSE) {
            receivedSignal = SIGTERM;
            ::Sleep(endWait);
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void watchSession() {
    WNDCLASSW kind{};
    kind.lpfnWndProc = onSessionMessage;
    kind.hInstance = ::GetModuleHandleW(nullptr);
    kind.lpszClassName = L"TavloMerakSessionWatch";
    if (::RegisterClassW(&kind) == 0) return;
    // A top-level window, never shown: message-only windows get no WM_ENDSESSION.
    const HWND window = ::CreateWindowExW(0, kind.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                                          kind.hInstance, nullptr);
    if (window == nullptr) return;
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

}  // namespace

void installStopSignals() {
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
    static std::atomic<bool> watching{false};
    if (!watching.exchange(true)) std::thread(watchSession).detach();
}

int stopSignal() { return receivedSignal; }

std::string stopSignalName(int signal) {
    if (signal == SIGINT) return "SIGINT";
    if (signal == SIGTERM) return "SIGTERM";
    return std::to_string(signal);
}

}  // namespace platform
