// Ending a long-running program cleanly on an interrupt: Ctrl+C, SIGTERM or
// SIGHUP (on Windows Ctrl+C, Ctrl+Break or closing the console) asks it to stop
// instead of ending it, so it can finish what it writes and leave nothing behind.
#pragma once

namespace mirudana {

class FolderWatch;

class StopOnInterrupt {
  public:
    // While an instance lives, an interrupt sets stopRequested() and wakes
    // `watch`. One instance at a time.
    explicit StopOnInterrupt(FolderWatch& watch);
    // Back to the system's handling. On Windows, a console being closed waits
    // for this before the process is ended.
    ~StopOnInterrupt();
    StopOnInterrupt(const StopOnInterrupt&) = delete;
    StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;

    static bool stopRequested();
};

}  // namespace mirudana
