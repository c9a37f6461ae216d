// Makes plausible battle records from a seed, for the sample data and the benches.
// The card, master and status identifiers follow the sample reference data:
// "C0001".."C0060", "M01".."M05" and "S01".."S15" unless told otherwise.
#pragma once

#include <cstdint>
#include <string>

#include "battle/battle_record.h"

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
    IdScheme ids;
};

// The battle number `index` of the series `options.seed` makes; the same
// arguments always give the same record on every platform.
BattleRecord generateBattle(const GeneratorOptions& options, int index);

// The file name of battle number `index`: "battle-0001.kvs" for 1.
std::string battleFileName(int index);

}  // namespace mirudana::kvsgen
