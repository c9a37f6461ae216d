#include "platform/interrupt_cleanup.h"

#include <csignal>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace mirudana {
namespace {

// The path to remove, held where a signal handler may read it: written only while
// `armed` is 0, so the handler never sees it half changed.
volatile std::sig_atomic_t armed = 0;

#ifdef _WIN32
wchar_t pendingPath[32768];

BOOL WINAPI onConsoleEvent(DWORD event) {
    if (armed &&
        (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT)) {
        // The file was opened with delete sharing, so it goes once the process ends.
        DeleteFileW(pendingPath);
    }
    return FALSE;  // the system's own handling ends the process
}

bool installOnce() {
    static const bool installed = SetConsoleCtrlHandler(onConsoleEvent, TRUE) != 0;
    return installed;
}

bool store(const std::filesystem::path& path) {
    const std::wstring& text = path.native();
    if (text.size() >= std::size(pendingPath)) return false;
    std::memcpy(pendingPath, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    return true;
}
#else
char pendingPath[4096];
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void onInterrupt(int signal) {
    if (armed) ::unlink(pendingPath);
    // Reset to the default by SA_RESETHAND: the signal, raised again, ends the
    // process once this handler returns, with the status it would have had.
    ::raise(signal);
}

bool installOnce() {
    static const bool installed = [] {
        for (int signal : kSignals) {
            struct sigaction current {};
            if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) {
                continue;
            }
            struct sigaction action {};
            action.sa_handler = onInterrupt;
            action.sa_flags = SA_RESETHAND;
            sigemptyset(&action.sa_mask);
            sigaction(signal, &action, nullptr);
        }
        return true;
    }();
    return installed;
}

bool store(const std::filesystem::path& path) {
    const std::string& text = path.native();
    if (text.size() >= sizeof pendingPath) return false;
    std::memcpy(pendingPath, text.c_str(), text.size() + 1);
    return true;
}
#endif

}  // namespace

RemoveOnInterrupt::RemoveOnInterrupt(const std::filesystem::path& path) {
    armed = 0;
    if (installOnce() && store(path)) armed = 1;
}

RemoveOnInterrupt::~RemoveOnInterrupt() { armed = 0; }

}  // namespace mirudana
