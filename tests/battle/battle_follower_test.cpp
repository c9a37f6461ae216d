// Following folders with real files written, locked, removed and renamed while a
// follower runs on its own thread, as a game and a virus scanner would.
#include "battle/battle_follower.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <thread>

#include "platform/native_path.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace mirudana::testing {
namespace {

using namespace std::chrono_literals;

constexpr FollowTimes kShort{200ms, 600ms, 3600s, 3600s, true};

// A follower on its thread; each update waits in a queue for the test to take it.
class Following {
  public:
    explicit Following(const std::string& folder, FollowTimes times = kShort,
                       std::function<bool(const std::string&)> opens = opensForReading)
        : follower_({folder}, false, times, std::move(opens)), thread_([this] {
              while (std::optional<FollowUpdate> update = follower_.next()) {
                  std::lock_guard lock(mutex_);
                  updates_.push_back(std::move(*update));
                  arrived_.notify_all();
              }
          }) {}
    ~Following() {
        follower_.stop();
        thread_.join();
    }

    // The next update; fails the test when none comes within `limit`.
    FollowUpdate next(std::chrono::milliseconds limit = 5s) {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_for(lock, limit, [this] { return !updates_.empty(); })) {
            ADD_FAILURE() << "no update";
            return {};
        }
        FollowUpdate update = std::move(updates_.front());
        updates_.pop_front();
        return update;
    }

    // Updates until one lists `count` files.
    int updatesUntil(std::size_t count) {
        for (int updates = 1; updates < 100; ++updates) {
            if (next().files.size() == count) return updates;
        }
        return -1;
    }

  private:
    BattleFollower follower_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<FollowUpdate> updates_;
    std::thread thread_;
};

std::uintmax_t sizeOf(const std::string& path) {
    return std::filesystem::file_size(nativePath(path));
}

TEST(BattleFollowerTest, AFileWrittenInPiecesIsTakenOnceWhole) {
    TempDir dir;
    dir.write("old.kvs", "old");
    Following following(dir.path());
    EXPECT_EQ(following.next().files, std::vector<std::string>{dir.file("old.kvs")});
    {
        std::ofstream out(nativePath(dir.file("new.kvs")), std::ios::binary);
        for (int piece = 0; piece < 3; ++piece) {
            out << std::string(1000, 'x') << std::flush;
            std::this_thread::sleep_for(100ms);  // longer than a poll, shorter than settling
        }
    }
    const FollowUpdate update = following.next();
    ASSERT_EQ(update.files, (std::vector<std::string>{dir.file("new.kvs"), dir.file("old.kvs")}));
    EXPECT_EQ(sizeOf(update.files[0]), 3000u);
}

TEST(BattleFollowerTest, RemovedAndRenamedFilesGiveAnUpdate) {
    TempDir dir;
    const std::string a = dir.write("a.kvs", "a");
    const std::string b = dir.write("b.kvs", "b");
    Following following(dir.path());
    EXPECT_EQ(following.next().files.size(), 2u);
    std::filesystem::remove(nativePath(a));
    EXPECT_EQ(following.next().files, std::vector<std::string>{b});
    // Written beside, then renamed over: the new content is taken.
    const std::string written = dir.write("b.tmp", "bbbb");
    std::filesystem::rename(nativePath(written), nativePath(b));
    const FollowUpdate update = following.next();
    ASSERT_EQ(update.files, std::vector<std::string>{b});
    EXPECT_EQ(sizeOf(b), 4u);
}

TEST(BattleFollowerTest, ABurstOfFilesGivesFewUpdates) {
    TempDir dir;
    Following following(dir.path());
    EXPECT_TRUE(following.next().files.empty());
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < 500; ++k) dir.write("burst-" + std::to_string(1000 + k) + ".kvs", "x");
    // A busy machine may stretch the burst past the settling time; each such
    // stretch may give one more update, but no more than that.
    const auto stretches = (std::chrono::steady_clock::now() - start) / kShort.settle;
    const int updates = following.updatesUntil(500);
    EXPECT_GE(updates, 1);
    EXPECT_LE(updates, 3 + stretches);
}

// A file another program holds: tried until it opens, within the locked-for time.
TEST(BattleFollowerTest, ALockedFileIsTakenOnceReleased) {
    TempDir dir;
    Following following(dir.path());
    EXPECT_TRUE(following.next().files.empty());
    const std::string path = dir.write("held.kvs", "held");
#ifdef _WIN32
    // Opened without sharing, as a virus scanner does.
    HANDLE held = CreateFileW(nativePath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::this_thread::sleep_for(400ms);  // settled, still held
    CloseHandle(held);
#endif
    EXPECT_EQ(following.next().files, std::vector<std::string>{path});
}

TEST(BattleFollowerTest, AFileThatNeverOpensIsNamedOnceAsSkipped) {
    TempDir dir;
    std::atomic<bool> locked{true};
    Following following(dir.path(), kShort, [&locked](const std::string& path) {
        return !(locked && path.ends_with("held.kvs")) && opensForReading(path);
    });
    EXPECT_TRUE(following.next().files.empty());
    const std::string path = dir.write("held.kvs", "held");
    FollowUpdate update = following.next();
    EXPECT_TRUE(update.files.empty());
    EXPECT_EQ(update.skipped, std::vector<std::string>{path});
    locked = false;
    dir.write("other.kvs", "other");  // the next look tries the held file again
    update = following.next();
    EXPECT_EQ(update.files, (std::vector<std::string>{path, dir.file("other.kvs")}));
    EXPECT_TRUE(update.skipped.empty());
}

// Each way of finding a change alone: notifications with no rescan in sight, and
// rescans with no notifications.
TEST(BattleFollowerTest, NotificationsAndRescansEachFindANewFile) {
    const FollowTimes notificationsOnly{100ms, 600ms, 3600s, 3600s, true};
    const FollowTimes rescansOnly{100ms, 600ms, 3600s, 50ms, false};
    for (const FollowTimes& times : {notificationsOnly, rescansOnly}) {
        SCOPED_TRACE(times.notifications ? "notifications" : "rescans");
        TempDir dir;
        Following following(dir.path(), times);
        EXPECT_TRUE(following.next().files.empty());
        dir.write("new.kvs", "new");
        EXPECT_EQ(following.next(3s).files, std::vector<std::string>{dir.file("new.kvs")});
    }
}

// Removes `folder`, trying again for a while: Windows refuses while another handle
// holds a file in it, as the follower's own look at a new file may for a moment.
void removeFolder(const std::string& folder) {
    std::error_code error;
    for (int tries = 0; tries < 40; ++tries) {
        if (std::filesystem::remove_all(nativePath(folder), error), !error) return;
        std::this_thread::sleep_for(50ms);
    }
    FAIL() << folder << ": " << error.message();
}

// Its battles are found in the short time of a folder without notifications, not
// in the long one of a rescan.
TEST(BattleFollowerTest, AFolderRemovedAndMadeAgainIsFollowedAgain) {
    const FollowTimes times{100ms, 600ms, 3600s, 100ms, true};
    TempDir dir;
    const std::string folder = dir.makeDir("battles");
    dir.write("battles/a.kvs", "a");
    Following following(folder, times);
    EXPECT_EQ(following.next().files.size(), 1u);
    for (const char* name : {"b.kvs", "c.kvs"}) {
        SCOPED_TRACE(name);
        removeFolder(folder);
        EXPECT_TRUE(following.next().files.empty());
        dir.makeDir("battles");
        const std::string battle = dir.write(std::string("battles/") + name, "x");
        const std::vector<std::string> found = following.next(3s).files;
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(nativePath(found[0]), nativePath(battle));  // "/" or "\\" alike
    }
}

}  // namespace
}  // namespace mirudana::testing
