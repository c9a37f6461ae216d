// Waiting for something to change in a few folders: the system's notifications
// (inotify on Linux, ReadDirectoryChangesW on Windows) where the folder gives
// them, and a plain timeout where it does not, so the caller looks again either way.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace mirudana {

class FolderWatch {
  public:
    // Watches `folders` (with `recursive`, their sub-folders too, also those made
    // later). With `notifications` false, no system notification is asked for:
    // every wait lasts its whole timeout unless woken.
    FolderWatch(const std::vector<std::string>& folders, bool recursive, bool notifications = true);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // True when every folder gives notifications; false where a folder cannot (a
    // network drive, too many watches) or is gone (removed, moved away: watched
    // again once it is back), so only looking again finds its changes.
    bool notifying() const;

    enum class Wake { Changed, TimedOut, Woken };

    // Waits until something in the folders changes (Changed, also when the
    // system's queue of changes overflowed), `timeout` passes, or wake() is called.
    Wake wait(std::chrono::milliseconds timeout);

    // Ends the current or the next wait. Safe from any thread and from a signal handler.
    void wake();

  private:
    struct System;
    std::unique_ptr<System> system_;
};

}  // namespace mirudana
