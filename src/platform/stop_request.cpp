#include "platform/stop_request.h"

#include <csignal>

#include "platform/folder_watch.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace mirudana {
namespace {

volatile std::sig_atomic_t requested = 0;
FolderWatch* volatile watchToWake = nullptr;

void requestStop() {
    requested = 1;
    if (FolderWatch* watch = watchToWake) watch->wake();
}

#ifdef _WIN32
HANDLE finished = nullptr;

BOOL WINAPI onConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
        return FALSE;
    }
    requestStop();
    // The system ends the process once this returns from a close: let the
    // program finish first (it has about five seconds).
    if (event == CTRL_CLOSE_EVENT) WaitForSingleObject(finished, 4500);
    return TRUE;
}
#else
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void onStopSignal(int) { requestStop(); }
#endif

}  // namespace

StopOnInterrupt::StopOnInterrupt(FolderWatch& watch) {
    requested = 0;
    watchToWake = &watch;
#ifdef _WIN32
    finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
#else
    for (int signal : kSignals) {
        struct sigaction action {};
        action.sa_handler = onStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
#endif
}

StopOnInterrupt::~StopOnInterrupt() {
    watchToWake = nullptr;
#ifdef _WIN32
    SetEvent(finished);
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
#else
    for (int signal : kSignals) std::signal(signal, SIG_DFL);
#endif
}

bool StopOnInterrupt::stopRequested() { return requested != 0; }

}  // namespace mirudana
