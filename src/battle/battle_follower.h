// Following folders of battle files: the updates a followed report gets, each the
// folders' settled battle files (see settling_files.h). Notifications of the system
// say when to look again where they work; a periodic look catches what they miss.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "battle/settling_files.h"
#include "platform/folder_watch.h"

namespace mirudana {

struct FollowTimes {
    // A file is taken once unchanged this long.
    std::chrono::milliseconds settle{1000};
    // A file that will not open is tried this long before it is named as skipped.
    std::chrono::milliseconds lockedFor{10000};
    // How often the folders are looked at again while nothing is said to change:
    // with notifications working, and where they do not.
    std::chrono::milliseconds rescan{60000};
    std::chrono::milliseconds rescanWithout{2000};
    bool notifications = true;
};

class BattleFollower {
  public:
    BattleFollower(std::vector<std::string> folders, bool recursive, FollowTimes times = {},
                   std::function<bool(const std::string&)> opens = opensForReading);

    // The first call gives the folders' battle files as they are (waiting for any
    // still being written); each later call waits until the settled files differ,
    // or some were given up on. Nothing once stop() was called.
    std::optional<FollowUpdate> next();

    // Ends the current or the next call of next(). Safe from any thread; the
    // watch may also be woken from a signal handler (see stop_request.h).
    void stop();
    FolderWatch& watch() { return watch_; }

  private:
    std::vector<std::string> listFiles() const;
    std::chrono::milliseconds timeUntilLook(FollowClock::time_point now) const;

    std::vector<std::string> folders_;
    bool recursive_;
    FollowTimes times_;
    FolderWatch watch_;
    SettlingFiles settling_;
    std::atomic<bool> stopped_{false};
    bool first_ = true;
    bool lookDue_ = true;
    FollowClock::time_point lastLook_{};
};

}  // namespace mirudana
