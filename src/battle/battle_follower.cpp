#include "battle/battle_follower.h"

#include <algorithm>

#include "battle/battle_folder.h"
#include "platform/stop_request.h"

namespace mirudana {

BattleFollower::BattleFollower(std::vector<std::string> folders, bool recursive, FollowTimes times,
                               std::function<bool(const std::string&)> opens)
    : folders_(std::move(folders)),
      recursive_(recursive),
      times_(times),
      watch_(folders_, recursive, times.notifications),
      settling_(times.settle, times.lockedFor, std::move(opens)) {}

std::vector<std::string> BattleFollower::listFiles() const {
    std::vector<std::string> files;
    for (const std::string& folder : folders_) {
        std::vector<std::string> found = battleFilesIn(folder, recursive_, SIZE_MAX);
        files.insert(files.end(), found.begin(), found.end());
    }
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());
    return files;
}

// When a file settles, or soon for one that would not open; otherwise as a
// fallback for what notifications miss.
std::chrono::milliseconds BattleFollower::timeUntilLook(FollowClock::time_point now) const {
    using std::chrono::milliseconds;
    const FollowClock::time_point due = settling_.nextLook().value_or(
        lastLook_ + (watch_.notifying() ? times_.rescan : times_.rescanWithout));
    return std::max(std::chrono::ceil<milliseconds>(due - now), milliseconds(0));
}

std::optional<FollowUpdate> BattleFollower::next() {
    while (!stopped_ && !StopOnInterrupt::stopRequested()) {
        FollowClock::time_point now = FollowClock::now();
        if (lookDue_) {
            settling_.look(listFiles(), now);
            lastLook_ = now;
            lookDue_ = false;
        }
        if ((first_ && !settling_.waiting()) || settling_.ready(now)) {
            first_ = false;
            return settling_.take();
        }
        if (watch_.wait(timeUntilLook(now)) != FolderWatch::Wake::Woken) lookDue_ = true;
    }
    return std::nullopt;
}

void BattleFollower::stop() {
    stopped_ = true;
    watch_.wake();
}

}  // namespace mirudana
