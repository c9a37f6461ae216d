#include "battle_generator.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>
#include <vector>

#include "battle/kvs_writer.h"

namespace mirudana::kvsgen {
namespace {

constexpr std::size_t kMaxTextBytes = 0xFFFF;
constexpr int kDeckSize = 40;

const std::array<const char*, 8> kPlayerNames = {"ひかり", "蒼月", "ミナト", "sora_42",
                                                 "カイト", "紅葉", "Rin",    "ツバサ"};
const std::array<const char*, 6> kDeckNames = {"速攻デッキ", "炎の守り",   "氷結コントロール",
                                               "森の行進",   "雷鳴ビート", "test deck"};

std::string numbered(char prefix, int number, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%c%0*d", prefix, width, number);
    return buffer;
}

// Draws from std::mt19937_64, whose output is fixed by the standard, without the
// distributions, whose output is not.
class Dice {
  public:
    explicit Dice(std::uint64_t seed) : engine_(seed) {}

    int below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }

  private:
    std::mt19937_64 engine_;
};

class BattleMaker {
  public:
    BattleMaker(const GeneratorOptions& options, int index)
        : ids_(options.ids), dice_(options.seed * 1000003u + static_cast<std::uint64_t>(index)) {}

    BattleRecord battle(std::size_t sizeTarget) {
        BattleRecord record;
        bool serverFirst = dice_.chance(50);
        record.Server = side(serverFirst);
        record.Client = side(!serverFirst);
        record.TurnCount = static_cast<std::int16_t>(dice_.between(1, 30));
        record.InfoText.append("SecurityLevel:")
            .append(std::to_string(dice_.between(0, 2)))
            .append("\r\nnowplay:")
            .append(dice_.chance(50) ? "s" : "c")
            .append("\r\n");
        record.AuxTexts = {"ver2", "", std::to_string(dice_.between(1000, 9999)), "", "end"};
        padWithLog(record, record.TurnCount, sizeTarget);
        return record;
    }

  private:
    std::string card() { return numbered('C', dice_.between(1, ids_.cards), 4); }
    std::string masterCard() { return numbered('M', dice_.between(1, ids_.masters), 2); }

    std::string statuses() {
        std::string joined;
        for (int k = dice_.between(0, 2); k > 0; --k) {
            if (!joined.empty()) joined += "/";
            joined += numbered('S', dice_.between(1, ids_.statuses), 2);
        }
        return joined;
    }

    // The piles count from 1, so their upper bound is their number of cards.
    TextList cards(int n) {
        std::vector<std::string> ids;
        for (int k = 0; k < n; ++k) ids.push_back(card());
        return kvs::textListOf(std::move(ids), 1);
    }

    SideRecord side(bool first) {
        SideRecord side;
        MasterRecord& master = side.Master;
        master.Name = kPlayerNames[static_cast<std::size_t>(dice_.below(kPlayerNames.size()))];
        master.Deck.DeckName = kDeckNames[static_cast<std::size_t>(dice_.below(kDeckNames.size()))];
        master.Deck.AuthorName = master.Name;
        master.Deck.DeckType = static_cast<std::int16_t>(dice_.between(0, 3));
        master.Deck.Cards = cards(kDeckSize);
        master.Deck.Master = masterCard();
        int hand = dice_.between(0, 7);
        int discarded = dice_.between(0, 20);
        master.DrawPile = cards(std::max(0, kDeckSize - hand - discarded - 5));
        master.Hand = cards(hand);
        master.DiscardPile = cards(discarded);
        master.HitPoints = static_cast<std::int16_t>(dice_.between(0, 30));
        master.Stones = static_cast<std::int16_t>(dice_.between(0, 10));
        master.FirstPlayer = first;
        master.Status = statuses();
        for (MonsterRecord& slot : side.Monsters) {
            if (!dice_.chance(60)) continue;
            slot.Card = card() + "/" + std::to_string(dice_.between(0, 3));
            slot.StateFlag = dice_.chance(30);
            slot.Level = static_cast<std::int16_t>(dice_.between(1, 5));
            slot.HitPoints = static_cast<std::int16_t>(dice_.between(1, 50));
            slot.Status = statuses();
        }
        return side;
    }

    // AuxText carries a log of plays, long enough for the record to reach `target`.
    void padWithLog(BattleRecord& record, int turns, std::size_t target) {
        std::size_t size = kvs::encodeBattleRecord(record).size();
        for (int line = 0; size < target; ++line) {
            std::string entry = "T";
            entry.append(std::to_string(line % turns + 1))
                .append(dice_.chance(50) ? " s " : " c ")
                .append(card())
                .append(" > ")
                .append(card())
                .append("\r\n");
            if (record.AuxText.size() + entry.size() > kMaxTextBytes) break;
            record.AuxText += entry;
            size += entry.size();
        }
    }

    IdScheme ids_;
    Dice dice_;
};

}  // namespace

BattleRecord generateBattle(const GeneratorOptions& options, int index) {
    BattleRecord record = BattleMaker(options, index).battle(options.sizeTarget);
    if (options.awkwardTexts && index % 3 == 0) {
        record.Server.Master.Name = kAwkwardName;
        record.Server.Master.Deck.DeckName = kAwkwardDeck;
    }
    return record;
}

std::string battleFileName(int index) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "battle-%04d.kvs", index);
    return buffer;
}

}  // namespace mirudana::kvsgen
