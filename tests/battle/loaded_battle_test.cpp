#include "battle/loaded_battle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "battle/kvs_writer.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/native_path.h"
#else
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace mirudana {
namespace {

using testing::TempDir;

BattleRecord namedBattle(const std::string& server, const std::string& client) {
    BattleRecord record;
    record.Server.Master.Name = server;
    record.Client.Master.Name = client;
    record.Server.Master.Hand = kvs::textListOf({"C0001", "C0002"});
    record.InfoText = "SecurityLevel:1\r\nnowplay:c\r\n";
    return record;
}

BattleRecord serverNamed(const std::string& name) {
    BattleRecord record;
    record.Server.Master.Name = name;
    return record;
}

TEST(LoadedBattleTest, LoadOutcomes) {
    TempDir dir;
    const BattleRecord previous = namedBattle("前", "前2");
    const BattleRecord next = namedBattle("次", "次2");
    const std::string nextBytes = kvs::encodeBattleRecord(next);
    struct Case {
        const char* name;
        std::function<std::string()> path;
        bool loaded;
        BattleRecord held;
    };
    const Case cases[] = {
        {"valid file", [&] { return dir.write("next.kvs", nextBytes); }, true, next},
        {"extra bytes", [&] { return dir.write("extra.kvs", nextBytes + "xyz"); }, true, next},
        {"no extension check", [&] { return dir.write("next.txt", nextBytes); }, true, next},
        {"148 zero bytes", [&] { return dir.write("zero.kvs", std::string(148, '\0')); }, true, {}},
        {"empty file", [&] { return dir.write("empty.kvs", ""); }, true, {}},
        {"missing file", [&] { return dir.file("missing.kvs"); }, false, previous},
        {"folder", [&] { return dir.makeDir("folder.kvs"); }, false, previous},
        {"hidden file", [&] { return dir.write(".hidden.kvs", nextBytes); }, false, previous},
        {"empty path", [] { return std::string(); }, false, previous},
#ifndef _WIN32
        // Turned away at once, not left waiting for a writer.
        {"named pipe",
         [&] {
             std::string path = dir.file("pipe.kvs");
             EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
             return path;
         },
         false, previous},
#endif
        // A cut file loads what it holds; from the field it ends in, all is empty.
        {"cut inside a text",
         [&] { return dir.write("cut.kvs", nextBytes.substr(0, 3)); },
         true,
         {}},
        {"cut inside a list", [&] { return dir.write("cutlist.kvs", nextBytes.substr(0, 24)); },
         true, serverNamed("次")},
        {"hostile count",
         [&] {
             return dir.write("hostile.kvs", kvs::KvsWriter()
                                                 .number(0)
                                                 .number(0)
                                                 .number(0)
                                                 .number(0)
                                                 .number(1)
                                                 .uint32(0x7FFFFFFF)
                                                 .int32(0)
                                                 .bytes());
         },
         true,
         {}},
        {"damaged bounds",
         [&] {
             return dir.write("damaged.kvs",
                              kvs::KvsWriter().raw(std::string(8, '\0')).number(-1).bytes());
         },
         false, previous},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedBattle battle;
        // Twice, so that the next file is read over storage that held a record.
        std::string previousPath = dir.write("previous.kvs", kvs::encodeBattleRecord(previous));
        battle.LoadBattleFile(previousPath);
        battle.LoadBattleFile(previousPath);
        ASSERT_TRUE(battle.FileLoaded);
        battle.TargetIsClient = true;
        battle.CurrentIndex = 4;

        battle.LoadBattleFile(c.path());
        EXPECT_EQ(battle.FileLoaded, c.loaded);
        EXPECT_EQ(battle.record, c.held);
        EXPECT_TRUE(battle.TargetIsClient);
        EXPECT_EQ(battle.CurrentIndex, 4);
    }
}

#ifndef _WIN32
// Peak memory grown while loading `path`, in a child process of its own so earlier
// tests do not hide it; -1 when the load fails. (Windows has no fork to give a
// fresh peak, so these cases run on Linux only.)
long loadPeakGrowthKiB(const std::string& path, std::size_t expectedHandSize) {
    pid_t child = fork();
    if (child == 0) {
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        LoadedBattle battle;
        battle.LoadBattleFile(path);
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        bool ok =
            battle.FileLoaded && battle.record.Server.Master.Hand.items.size() == expectedHandSize;
        // The growth in MiB as the exit status (255: failed).
        _exit(
            ok ? static_cast<int>(std::min<long>((after.ru_maxrss - before.ru_maxrss) / 1024, 254))
               : 255);
    }
    int status = 0;
    waitpid(child, &status, 0);
    int code = WIFEXITED(status) ? WEXITSTATUS(status) : 255;
    return code == 255 ? -1 : code * 1024L;
}

TEST(LoadedBattleTest, LargeFilesTakeMemoryBoundedByTheRecordNotTheFile) {
    TempDir dir;
    // A 2 GB sparse file whose record takes its first bytes.
    BattleRecord record = namedBattle("a", "b");
    std::string sparse = dir.write("sparse.kvs", kvs::encodeBattleRecord(record));
    std::filesystem::resize_file(sparse, std::uintmax_t{2} << 30);
    long sparseGrowth = loadPeakGrowthKiB(sparse, 2);
    EXPECT_GE(sparseGrowth, 0);
    EXPECT_LT(sparseGrowth, 8 * 1024) << "KiB";

    // A hand of ten million empty texts in 20 MB: a few bytes of memory per byte.
    constexpr std::uint32_t kTexts = 10'000'000;
    std::string many = dir.write(
        "many.kvs",
        kvs::KvsWriter().raw(std::string(14, '\0')).number(1).uint32(kTexts).int32(0).bytes());
    std::filesystem::resize_file(many, 24 + 2 * std::uintmax_t{kTexts} + 148);
    long manyGrowth = loadPeakGrowthKiB(many, kTexts);
    EXPECT_GE(manyGrowth, 0);
    EXPECT_LT(manyGrowth, 3 * 20 * 1024) << "KiB";
}
#else
TEST(LoadedBattleTest, FileHeldWithoutSharingCountsAsFailedLoad) {
    TempDir dir;
    std::string path = dir.write("locked.kvs", kvs::encodeBattleRecord(namedBattle("a", "b")));
    // Held open by another program that shares it with no one.
    HANDLE held = CreateFileW(nativePath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    LoadedBattle battle;
    battle.LoadBattleFile(path);
    EXPECT_FALSE(battle.FileLoaded);
    EXPECT_EQ(battle.record, BattleRecord{});
    CloseHandle(held);
}
#endif

TEST(LoadedBattleTest, TargetSideFollowsTargetIsClient) {
    TempDir dir;
    LoadedBattle battle;
    battle.LoadBattleFile(dir.write("b.kvs", kvs::encodeBattleRecord(namedBattle("鯖", "客"))));
    ASSERT_TRUE(battle.FileLoaded);
    EXPECT_EQ(battle.GetTargetSide().Master.Name, "鯖");
    battle.TargetIsClient = true;
    EXPECT_EQ(battle.GetTargetSide().Master.Name, "客");
}

}  // namespace
}  // namespace mirudana
