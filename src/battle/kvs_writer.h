// Writes battle files (".kvs") in the packed layout the game saves, for tests,
// benches and the sample data; the tool itself never writes battle files.
// Texts are given as UTF-8 and written in code page 932.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "battle/battle_record.h"

namespace mirudana::kvs {

// Bytes [begin, end) of one field of a written file: a number, a text or a whole
// list (its elements are not fields of their own).
struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// One dimension of a list: its element count and its lower bound.
struct Dimension {
    std::uint32_t count = 0;
    std::int32_t lowerBound = 0;
};

class KvsWriter {
  public:
    KvsWriter& number(std::int16_t value);
    KvsWriter& truth(bool value);
    KvsWriter& uint32(std::uint32_t value);
    KvsWriter& int32(std::int32_t value);
    // Throws std::length_error for more than 65,535 bytes in code page 932.
    KvsWriter& text(std::string_view utf8);
    KvsWriter& rawText(std::string_view cp932);
    // Dimension count 0 for an absent list; otherwise one dimension with the list's
    // own count and lower bound, then every item (a test may let them disagree).
    KvsWriter& textList(const TextList& list);
    // Dimension count, one (count, lower bound) pair per dimension, then `items`.
    KvsWriter& multiDimList(const std::vector<Dimension>& dimensions,
                            const std::vector<std::string>& items);
    KvsWriter& raw(std::string_view bytes);
    KvsWriter& record(const BattleRecord& record);

    const std::string& bytes() const { return bytes_; }
    const std::vector<Span>& fields() const { return spans_; }

  private:
    void side(const SideRecord& side);
    void master(const MasterRecord& master);
    void deck(const DeckRecord& deck);
    void monster(const MonsterRecord& monster);

    std::string bytes_;
    std::vector<Span> spans_;
};

std::string encodeBattleRecord(const BattleRecord& record);

// A present one-dimensional list holding `items` from `lowerBound` on.
TextList textListOf(std::vector<std::string> items, std::int32_t lowerBound = 0);

}  // namespace mirudana::kvs
