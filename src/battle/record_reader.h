// Reads one battle record from a battle file (".kvs"): the packed little-endian
// layout the game saves, texts in code page 932.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>

#include "battle/battle_record.h"

namespace mirudana {

// Where a record's bytes come from, read once from the start.
class RecordSource {
  public:
    virtual ~RecordSource() = default;
    // The next bytes, as many as the source has at hand; empty only at the end.
    // The view holds until the next call. May throw Failure.
    virtual std::string_view next() = 0;
    // The bytes the source holds in all, as far as known beforehand.
    virtual std::uint64_t size() const = 0;
};

// Bytes already in memory, handed out at once.
class MemorySource : public RecordSource {
  public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes), total_(bytes.size()) {}
    std::string_view next() override { return std::exchange(bytes_, std::string_view()); }
    std::uint64_t size() const override { return total_; }

  private:
    std::string_view bytes_;
    std::uint64_t total_;
};

// Reads the record the source holds into `record`, replacing every field; bytes
// after it are never read. The texts and lists of `record` keep their storage, so
// reading record after record into one allocates little.
//
// A source may end inside the record. From the field in which it ends onward,
// every text reads as empty, every list as absent and every number as 0; a list
// whose elements need more bytes than are left counts as where the source ends.
// So nothing is allocated beyond a small multiple of the bytes the record spans.
//
// Throws Failure for a damaged record whose bytes are all there (a negative
// dimension count, or list bounds whose upper bound does not fit 32 bits), and
// when the source itself fails; `record` is then partly replaced.
void readBattleRecord(RecordSource& source, BattleRecord& record);

// The record held by `bytes`, read as above.
BattleRecord readBattleRecord(std::string_view bytes);

}  // namespace mirudana
