#include "battle/settling_files.h"

#include <algorithm>
#include <fstream>

#include "platform/native_path.h"

namespace mirudana {

bool opensForReading(const std::string& path) {
    std::ifstream in(nativePath(path), std::ios::binary);
    return in.is_open();
}

SettlingFiles::SettlingFiles(std::chrono::milliseconds settle, std::chrono::milliseconds lockedFor,
                             std::function<bool(const std::string&)> opens)
    : settle_(settle), lockedFor_(lockedFor), opens_(std::move(opens)) {}

// Walks the sorted listing beside the sorted files known, so a look at many files
// that have not changed allocates nothing.
void SettlingFiles::look(const std::vector<std::string>& paths, FollowClock::time_point now) {
    waiting_ = false;
    nextLook_.reset();
    auto known = files_.begin();
    auto forget = [&](auto at) {
        if (at->second.taken) noteChange(now);  // read before and gone since
        return files_.erase(at);
    };
    for (const std::string& path : paths) {
        while (known != files_.end() && known->first < path) known = forget(known);
        const std::optional<Stamp> stamp = fileStamp(path);
        if (known != files_.end() && known->first == path) {
            if (!stamp) {
                known = forget(known);  // gone between the listing and now
                continue;
            }
            seenAgain(known->second, *stamp, now);
        } else {
            if (!stamp) continue;
            known = files_.emplace_hint(known, path, firstSeen(*stamp, now));
        }
        consider(path, known->second, now);
        ++known;
    }
    while (known != files_.end()) known = forget(known);
}

// A file's time says since when it has stood still, where the clocks agree; a time
// ahead of this machine's (a network drive) counts from now.
FollowClock::time_point SettlingFiles::stillSince(const Stamp& stamp,
                                                  FollowClock::time_point now) const {
    const auto age = std::chrono::system_clock::now() - stamp.modified;
    if (age < std::chrono::system_clock::duration::zero()) return now;
    return now - std::min(std::chrono::duration_cast<FollowClock::duration>(age),
                          std::chrono::duration_cast<FollowClock::duration>(settle_));
}

SettlingFiles::Tracked SettlingFiles::firstSeen(const Stamp& stamp,
                                                FollowClock::time_point now) const {
    return {stamp, stillSince(stamp, now), std::nullopt, std::nullopt, false};
}

void SettlingFiles::seenAgain(Tracked& file, const Stamp& stamp,
                              FollowClock::time_point now) const {
    if (file.seen == stamp) return;
    file = {stamp, stillSince(stamp, now), file.taken, std::nullopt, false};
}

void SettlingFiles::consider(const std::string& path, Tracked& file, FollowClock::time_point now) {
    if (file.taken == file.seen) return;
    if (now - file.since < settle_) {
        waiting_ = true;
        lookAgainBy(file.since + settle_);
        return;
    }
    if (opens_(path)) {
        file.taken = file.seen;
        file.refusedSince.reset();
        noteChange(now);
        return;
    }
    if (!file.refusedSince) file.refusedSince = now;
    if (file.givenUp) return;  // tried again at each look, but not worth looking sooner
    if (now - *file.refusedSince >= lockedFor_) {
        file.givenUp = true;
        givenUp_.push_back(path);
        return;
    }
    waiting_ = true;
    lookAgainBy(now + settle_ / 4);
}

void SettlingFiles::noteChange(FollowClock::time_point now) {
    if (!changedSince_) changedSince_ = now;
}

void SettlingFiles::lookAgainBy(FollowClock::time_point when) {
    if (!nextLook_ || when < *nextLook_) nextLook_ = when;
}

bool SettlingFiles::ready(FollowClock::time_point now) const {
    if (!changedSince_ && givenUp_.empty()) return false;
    return !waiting_ || !changedSince_ || now - *changedSince_ >= 2 * settle_;
}

FollowUpdate SettlingFiles::take() {
    FollowUpdate update;
    for (const auto& [path, file] : files_) {
        if (file.taken == file.seen) update.files.push_back(path);
    }
    update.filesChanged = changedSince_.has_value();
    update.skipped = std::move(givenUp_);
    givenUp_.clear();
    changedSince_.reset();
    return update;
}

}  // namespace mirudana
