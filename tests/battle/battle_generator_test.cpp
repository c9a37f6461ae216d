#include "battle_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>

#include "battle/kvs_writer.h"
#include "battle/record_reader.h"

namespace mirudana {
namespace {

TEST(BattleGeneratorTest, BattlesReadBackWithTheSampleIdentifiers) {
    kvsgen::GeneratorOptions options;
    options.seed = 11;
    options.sizeTarget = 2048;
    const std::regex card("C00(0[1-9]|[1-5][0-9]|60)");
    const std::regex master("M0[1-5]");
    const std::regex statuses("(S(0[1-9]|1[0-5])(/S(0[1-9]|1[0-5]))*)?");
    for (int index = 1; index <= 20; ++index) {
        SCOPED_TRACE(index);
        BattleRecord battle = kvsgen::generateBattle(options, index);
        EXPECT_EQ(battle, kvsgen::generateBattle(options, index));
        std::string bytes = kvs::encodeBattleRecord(battle);
        EXPECT_GE(bytes.size(), 2048u);
        EXPECT_LT(bytes.size(), 2200u);
        EXPECT_EQ(readBattleRecord(bytes), battle);
        EXPECT_NE(battle.Server.Master.FirstPlayer, battle.Client.Master.FirstPlayer);
        for (const SideRecord* side : {&battle.Server, &battle.Client}) {
            EXPECT_TRUE(std::regex_match(side->Master.Deck.Master, master));
            EXPECT_TRUE(std::regex_match(side->Master.Status, statuses));
            for (const std::string& id : side->Master.Hand.items) {
                EXPECT_TRUE(std::regex_match(id, card)) << id;
            }
        }
    }
    EXPECT_EQ(kvsgen::battleFileName(7), "battle-0007.kvs");
}

// One player's folder: the same name on the saving side, a few decks, recurring
// opponents with a favourite master, and evening sessions (Japan time) over months.
TEST(BattleGeneratorTest, BattlesFormOnePlayersHistory) {
    kvsgen::GeneratorOptions options;
    options.seed = 2024;
    kvsgen::BattleSeries series(options);
    std::map<std::string, int> opponents, decks;
    std::map<std::string, std::map<std::string, int>> mastersOf;
    std::int64_t previous = 0;
    constexpr int kBattles = 400;
    for (int index = 1; index <= kBattles; ++index) {
        SCOPED_TRACE(index);
        BattleRecord battle = series.battle(index);
        EXPECT_EQ(battle, kvsgen::generateBattle(options, index));
        bool serverSaved = battle.InfoText.find("nowplay:s") != std::string::npos;
        const MasterRecord& player = (serverSaved ? battle.Server : battle.Client).Master;
        const MasterRecord& opponent = (serverSaved ? battle.Client : battle.Server).Master;
        EXPECT_EQ(player.Name, kvsgen::kPlayerName);
        ++decks[player.Deck.DeckName];
        ++opponents[opponent.Name];
        ++mastersOf[opponent.Name][opponent.Deck.Master];
        std::int64_t saved = series.savedAt(index);
        EXPECT_GT(saved, previous);
        previous = saved;
        int hourInJapan = static_cast<int>((saved + 9 * 3600) % 86400 / 3600);
        EXPECT_TRUE(hourInJapan >= 19 && hourInJapan <= 23) << hourInJapan;
    }
    // Fixed by the seed alone, so the same on every platform and in every time zone.
    EXPECT_EQ(series.savedAt(1), 1711967542);         // 2024-04-01 19:32:22 in Japan
    EXPECT_EQ(series.savedAt(kBattles), 1718363016);  // 2024-06-14 20:03:36
    EXPECT_GE(decks.size(), 3u);
    EXPECT_LE(decks.size(), 6u);
    EXPECT_GE(opponents.size(), 20u);
    auto [least, most] = std::minmax_element(opponents.begin(), opponents.end(),
                                             [](auto& a, auto& b) { return a.second < b.second; });
    EXPECT_GT(most->second, 5 * least->second);
    const std::map<std::string, int>& regular = mastersOf[most->first];
    int favourite = std::max_element(regular.begin(), regular.end(), [](auto& a, auto& b) {
                        return a.second < b.second;
                    })->second;
    EXPECT_GT(favourite * 10, most->second * 7);
}

}  // namespace
}  // namespace mirudana
