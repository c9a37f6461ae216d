// One player's history of battles, as a seed lays it out: evening sessions over
// months, a few decks that take turns over the weeks, and recurring opponents, each
// with a favourite master card. Everything is worked out from the seed and the
// battle's number with integer arithmetic, so it is the same on every machine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mirudana::kvsgen {

// The player who saved every battle, on the saving side.
inline constexpr const char* kPlayerName = "ミナト";

struct Opponent {
    std::string name;
    int favouriteMaster = 1;  // the master card they mostly play, from 1
};

struct HistoryBattle {
    std::int64_t savedAt = 0;  // seconds since 1970-01-01 00:00 UTC
    int playerDeck = 0;        // index in playerDecks()
    int opponent = 0;          // index in opponents()
    int opponentMaster = 1;    // from 1
};

class PlayerHistory {
  public:
    // `masters`: how many master cards there are to choose from.
    PlayerHistory(std::uint64_t seed, int masters);

    // Battle number `index` (from 1). Sessions are laid out as far as it lies, once.
    HistoryBattle battle(int index);

    const std::vector<Opponent>& opponents() const { return opponents_; }

  private:
    struct Session {
        int firstIndex;
        int day;  // days since the first session
    };

    // The decks of a few weeks in a row: one played most, one now and then.
    struct DeckSpell {
        int main;
        int side;
    };

    const DeckSpell& decksOfWeek(int week);

    std::uint64_t seed_;
    int masters_;
    std::vector<Opponent> opponents_;
    std::vector<int> opponentWeights_;  // running totals, for a skewed choice
    std::vector<Session> sessions_;
    std::vector<DeckSpell> decksOfWeek_;
};

struct PlayerDeck {
    const char* name;
    int master;  // from 1, within the masters there are
};

// The player's decks: a name and its master card.
PlayerDeck playerDeck(int deck, int masters);
int playerDeckCount();

// The name of the deck `opponent` plays with `master`.
std::string opponentDeckName(int opponent, int master);

}  // namespace mirudana::kvsgen
