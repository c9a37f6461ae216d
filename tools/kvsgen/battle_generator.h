// Makes plausible battle records from a seed, for the sample data and the benches:
// one player's history (see player_history.h), the player on the side that saved
// each battle. The card, master and status identifiers follow the sample reference
// data: "C0001".."C0060", "M01".."M05" and "S01".."S15" unless told otherwise.
#pragma once

#include <cstdint>
#include <string>

#include "battle/battle_record.h"
#include "player_history.h"

namespace mirudana::kvsgen {

struct IdScheme {
    int cards = 60;
    int masters = 5;
    int statuses = 15;
};

struct GeneratorOptions {
    std::uint64_t seed = 1;
    // The record is padded with a battle log in AuxText to at least this many bytes
    // (at most what one text can hold).
    std::size_t sizeTarget = 0;
    // Every third battle gets a player and a deck name that exporters must quote
    // or escape: commas, quotes, line breaks, a tab, markup and a backslash.
    bool awkwardTexts = false;
    IdScheme ids;
};

// The battles of the series `options.seed` makes; the same arguments always give
// the same record and time on every platform.
class BattleSeries {
  public:
    explicit BattleSeries(const GeneratorOptions& options);

    // Battle number `index`, from 1.
    BattleRecord battle(int index);
    // When battle `index` was saved, in seconds since 1970-01-01 00:00 UTC: the
    // modification time of its file.
    std::int64_t savedAt(int index) { return history_.battle(index).savedAt; }

  private:
    GeneratorOptions options_;
    PlayerHistory history_;
};

// Battle number `index` alone; BattleSeries makes many faster.
BattleRecord generateBattle(const GeneratorOptions& options, int index);

// The awkward player name of the server side of every third battle, and its
// deck name, when GeneratorOptions::awkwardTexts is set.
inline constexpr const char* kAwkwardName = "カンマ,と\"引用符\"\r\n改行\t①髙～";
inline constexpr const char* kAwkwardDeck = "<b>&amp;\\デッキ</b>";

// The file name of battle number `index`: "battle-0001.kvs" for 1.
std::string battleFileName(int index);

}  // namespace mirudana::kvsgen
