#include "battle_generator.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace mirudana
