#include "battle/loaded_battle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "support/kvs_writer.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>

#include "app/native_path.h"
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
        {"cut inside a text", [&] { return dir.write("cut.kvs", nextBytes.substr(0, 3)); }, false,
         previous},
        {"cut inside a list", [&] { return dir.write("cutlist.kvs", nextBytes.substr(0, 24)); },
         false, previous},
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
         false, previous},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedBattle battle;
        battle.LoadBattleFile(dir.write("previous.kvs", kvs::encodeBattleRecord(previous)));
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

TEST(LoadedBattleTest, UnreadableFileCountsAsFailedLoad) {
    TempDir dir;
    std::string path = dir.write("locked.kvs", kvs::encodeBattleRecord(namedBattle("a", "b")));
#ifdef _WIN32
    // Held open by another program that shares it with no one.
    HANDLE held = CreateFileW(nativePath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
#else
    std::filesystem::permissions(path, std::filesystem::perms::none);
    if (std::ifstream(path)) GTEST_SKIP() << "permissions do not stop this user from reading";
#endif
    LoadedBattle battle;
    battle.LoadBattleFile(path);
    EXPECT_FALSE(battle.FileLoaded);
    EXPECT_EQ(battle.record, BattleRecord{});
#ifdef _WIN32
    CloseHandle(held);
#endif
}

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
