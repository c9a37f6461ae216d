#include "battle/settling_files.h"

#include <fstream>
#include <system_error>

#include "platform/native_path.h"

namespace mirudana {

bool opensForReading(const std::string& path) {
    std::ifstream in(nativePath(path), std::ios::binary);
    return in.is_open();
}

SettlingFiles::SettlingFiles(std::chrono::milliseconds settle, std::chrono::milliseconds lockedFor,
                             std::function<bool(const std::string&)> opens)
    : settle_(settle), lockedFor_(lockedFor), opens_(std::move(opens)) {}

void SettlingFiles::look(const std::vector<std::string>& paths, FollowClock::time_point now) {
    namespace fs = std::filesystem;
    waiting_ = false;
    std::map<std::string, Tracked> present;
    for (const std::string& path : paths) {
        std::error_code sizeError, timeError;
        const fs::path native = nativePath(path);
        const Stamp stamp{fs::file_size(native, sizeError), fs::last_write_time(native, timeError)};
        if (sizeError || timeError) continue;  // gone between the listing and now
        auto known = files_.find(path);
        Tracked file;
        if (known != files_.end()) {
            file = std::move(known->second);
            files_.erase(known);
            if (!(file.seen == stamp)) file = {stamp, now, file.taken, std::nullopt, false};
        } else {
            const bool old = fs::file_time_type::clock::now() - stamp.time >= settle_;
            file = {stamp, old ? now - settle_ : now, std::nullopt, std::nullopt, false};
        }
        consider(path, file, now);
        present.emplace(path, std::move(file));
    }
    // What is left was read before and has gone since.
    for (const auto& [path, file] : files_) {
        if (file.taken) noteChange(now);
    }
    files_ = std::move(present);
}

void SettlingFiles::consider(const std::string& path, Tracked& file, FollowClock::time_point now) {
    if (file.taken == file.seen) return;
    if (now - file.since < settle_) {
        waiting_ = true;
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
}

void SettlingFiles::noteChange(FollowClock::time_point now) {
    if (!changedSince_) changedSince_ = now;
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
