#include "battle_generator.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "battle/kvs_writer.h"
#include "dice.h"

namespace mirudana::kvsgen {
namespace {

constexpr std::size_t kMaxTextBytes = 0xFFFF;
constexpr int kDeckSize = 40;

// Dice streams of their own, apart from the history's.
enum Stream : std::uint64_t { kBattle = 101, kDeckCards, kMatchup };

std::string numbered(char prefix, int number, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%c%0*d", prefix, width, number);
    return buffer;
}

// The names and deck of one side, before the battle deals its cards.
struct SideSetup {
    std::string name;
    std::string deckName;
    int master;
    std::uint64_t deckKey;  // the same deck always holds the same cards
    int hitPointBias;       // how the matchup leans, for this side
};

class BattleMaker {
  public:
    BattleMaker(const GeneratorOptions& options, int index)
        : options_(options), dice_{options.seed, kBattle, static_cast<std::uint64_t>(index)} {}

    BattleRecord battle(const SideSetup& player, const SideSetup& opponent) {
        BattleRecord record;
        bool serverSaved = dice_.chance(50);
        bool playerFirst = dice_.chance(50);
        record.Server = side(serverSaved ? player : opponent, serverSaved == playerFirst);
        record.Client = side(serverSaved ? opponent : player, serverSaved != playerFirst);
        record.TurnCount = static_cast<std::int16_t>(dice_.between(3, 24));
        record.InfoText.append("SecurityLevel:")
            .append(std::to_string(dice_.between(0, 2)))
            .append("\r\nnowplay:")
            .append(serverSaved ? "s" : "c")
            .append("\r\n");
        record.AuxTexts = {"ver2", "", std::to_string(dice_.between(1000, 9999)), "", "end"};
        padWithLog(record, record.TurnCount, options_.sizeTarget);
        return record;
    }

  private:
    std::string card() { return numbered('C', dice_.between(1, options_.ids.cards), 4); }

    std::string statuses() {
        std::string joined;
        for (int k = dice_.between(0, 2); k > 0; --k) {
            if (!joined.empty()) joined += "/";
            joined += numbered('S', dice_.between(1, options_.ids.statuses), 2);
        }
        return joined;
    }

    std::vector<std::string> deckCards(std::uint64_t deckKey) const {
        Dice dice{options_.seed, kDeckCards, deckKey};
        std::vector<std::string> cards;
        for (int k = 0; k < kDeckSize; ++k) {
            cards.push_back(numbered('C', dice.between(1, options_.ids.cards), 4));
        }
        return cards;
    }

    // `n` cards of `deck`. The piles count from 1, so their upper bound is their size.
    TextList cardsOf(const std::vector<std::string>& deck, int n) {
        std::vector<std::string> ids;
        for (int k = 0; k < n; ++k)
            ids.push_back(deck[static_cast<std::size_t>(dice_.below(kDeckSize))]);
        return kvs::textListOf(std::move(ids), 1);
    }

    SideRecord side(const SideSetup& setup, bool first) {
        SideRecord side;
        MasterRecord& master = side.Master;
        master.Name = setup.name;
        master.Deck.DeckName = setup.deckName;
        master.Deck.AuthorName = setup.name;
        master.Deck.DeckType = static_cast<std::int16_t>(setup.deckKey % 4);
        std::vector<std::string> deck = deckCards(setup.deckKey);
        master.Deck.Cards = kvs::textListOf(deck, 1);
        master.Deck.Master = numbered('M', setup.master, 2);
        int hand = dice_.between(0, 7);
        int discarded = dice_.between(0, 20);
        master.DrawPile = cardsOf(deck, std::max(0, kDeckSize - hand - discarded - 5));
        master.Hand = cardsOf(deck, hand);
        master.DiscardPile = cardsOf(deck, discarded);
        master.HitPoints =
            static_cast<std::int16_t>(std::clamp(dice_.between(0, 30) + setup.hitPointBias, 0, 30));
        master.Stones = static_cast<std::int16_t>(dice_.between(0, 10));
        master.FirstPlayer = first;
        master.Status = statuses();
        for (MonsterRecord& slot : side.Monsters) {
            if (!dice_.chance(60)) continue;
            slot.Card = deck[static_cast<std::size_t>(dice_.below(kDeckSize))] + "/" +
                        std::to_string(dice_.between(0, 3));
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

    const GeneratorOptions& options_;
    Dice dice_;
};

}  // namespace

BattleSeries::BattleSeries(const GeneratorOptions& options)
    : options_(options), history_(options.seed, options.ids.masters) {}

BattleRecord BattleSeries::battle(int index) {
    HistoryBattle planned = history_.battle(index);
    const int masters = options_.ids.masters;
    PlayerDeck deck = playerDeck(planned.playerDeck, masters);
    const Opponent& opponent = history_.opponents()[static_cast<std::size_t>(planned.opponent)];
    // Each of the player's decks fares better against some masters than others.
    Dice matchup{options_.seed, kMatchup, static_cast<std::uint64_t>(planned.playerDeck),
                 static_cast<std::uint64_t>(planned.opponentMaster)};
    int lean = matchup.between(-6, 6);
    SideSetup player{kPlayerName, deck.name, deck.master,
                     static_cast<std::uint64_t>(planned.playerDeck), lean};
    SideSetup other{opponent.name, opponentDeckName(planned.opponent, planned.opponentMaster),
                    planned.opponentMaster,
                    1000 + static_cast<std::uint64_t>(planned.opponent) * 100 +
                        static_cast<std::uint64_t>(planned.opponentMaster),
                    0};
    BattleRecord record = BattleMaker(options_, index).battle(player, other);
    if (options_.awkwardTexts && index % 3 == 0) {
        record.Server.Master.Name = kAwkwardName;
        record.Server.Master.Deck.DeckName = kAwkwardDeck;
    }
    return record;
}

BattleRecord generateBattle(const GeneratorOptions& options, int index) {
    return BattleSeries(options).battle(index);
}

std::string battleFileName(int index) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "battle-%04d.kvs", index);
    return buffer;
}

}  // namespace mirudana::kvsgen
