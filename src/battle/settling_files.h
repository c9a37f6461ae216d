// Which battle files of followed folders are ready to be read: a file is taken once
// its size and time have stood still for the settle interval and it opens for
// reading, so a file the game is still writing, or one a virus scanner holds, is
// not read half-way. Driven by looks at the folders; it keeps no clock of its own.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace mirudana {

using FollowClock = std::chrono::steady_clock;

// What a run of a followed folder gets: the files to read, in name order, and
// those given up on since the last update because they would not open.
struct FollowUpdate {
    std::vector<std::string> files;
    std::vector<std::string> skipped;
    bool filesChanged = false;  // false when only `skipped` is news
};

// Whether `path` opens for reading now (not locked, not denied).
bool opensForReading(const std::string& path);

class SettlingFiles {
  public:
    SettlingFiles(std::chrono::milliseconds settle, std::chrono::milliseconds lockedFor,
                  std::function<bool(const std::string&)> opens = opensForReading);

    // One look at the battle files there are now (`paths` sorted, each once). A file
    // already older than the settle interval when first seen counts as settled at once.
    void look(const std::vector<std::string>& paths, FollowClock::time_point now);

    // Files still changing, or settled but not opening yet (for up to `lockedFor`,
    // then they are given up on and only tried again at later looks): worth
    // looking again soon.
    bool waiting() const { return waiting_; }

    // When the next look is worth making: when the first file still changing would
    // have stood still long enough, or soon for files that would not open. Nothing
    // while no file waits.
    std::optional<FollowClock::time_point> nextLook() const { return nextLook_; }

    // Whether an update is due: settled changes, and either nothing still changing
    // or the changes have waited twice the settle interval (so a long stream of new
    // files gives an update now and then, not one per file nor only at its end).
    bool ready(FollowClock::time_point now) const;

    // The update, ending the current changes.
    FollowUpdate take();

  private:
    using Stamp = FileStamp;
    struct Tracked {
        Stamp seen;
        FollowClock::time_point since;                        // when `seen` was first seen
        std::optional<Stamp> taken;                           // what the runs read
        std::optional<FollowClock::time_point> refusedSince;  // first failed open of `seen`
        bool givenUp = false;
    };

    FollowClock::time_point stillSince(const Stamp& stamp, FollowClock::time_point now) const;
    void lookAgainBy(FollowClock::time_point when);
    Tracked firstSeen(const Stamp& stamp, FollowClock::time_point now) const;
    void seenAgain(Tracked& file, const Stamp& stamp, FollowClock::time_point now) const;
    void consider(const std::string& path, Tracked& file, FollowClock::time_point now);
    void noteChange(FollowClock::time_point now);

    std::chrono::milliseconds settle_;
    std::chrono::milliseconds lockedFor_;
    std::function<bool(const std::string&)> opens_;
    std::map<std::string, Tracked> files_;
    std::vector<std::string> givenUp_;
    std::optional<FollowClock::time_point> changedSince_;
    std::optional<FollowClock::time_point> nextLook_;
    bool waiting_ = false;
};

}  // namespace mirudana
