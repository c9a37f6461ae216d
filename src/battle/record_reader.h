// Reads one battle record from a battle file (".kvs"): the packed little-endian
// layout the game saves, texts in code page 932.
#pragma once

#include <cstdint>
#include <string_view>

#include "battle/battle_record.h"

namespace mirudana {

// Where a record's bytes come from, read once from the start.
class RecordSource {
  public:
    virtual ~RecordSource() = default;
    // Up to `n` bytes into `into`; fewer only at the end. May throw Failure.
    virtual std::size_t read(char* into, std::size_t n) = 0;
    // The bytes the source holds in all, as far as known beforehand.
    virtual std::uint64_t size() const = 0;
};

// The record the source holds; bytes after it are never read.
//
// A source may end inside the record. From the field in which it ends onward,
// every text reads as empty, every list as absent and every number as 0; a list
// whose elements need more bytes than are left counts as where the source ends.
// So nothing is allocated beyond a small multiple of the bytes the record spans.
//
// Throws Failure for a damaged record whose bytes are all there (a negative
// dimension count, or list bounds whose upper bound does not fit 32 bits), and
// when the source itself fails.
BattleRecord readBattleRecord(RecordSource& source);

// The record held by `bytes`, read as above.
BattleRecord readBattleRecord(std::string_view bytes);

}  // namespace mirudana
