// The content of one battle file (".kvs"), field by field, in file order.
// Texts are held as UTF-8; the file holds them in code page 932.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mirudana {

// A one-dimensional list of texts with its own bounds, or absent (never sized).
// Lists stored with more dimensions keep the first dimension's bounds here and
// every element in `items`, in file order (first index fastest), so `at` reaches
// the elements whose other indices are at their lower bounds.
struct TextList {
    bool present = false;
    std::int32_t lowerBound = 0;
    std::uint32_t count = 0;  // elements in the first dimension
    std::vector<std::string> items;

    // lowerBound + count - 1, computed without overflow.
    std::int64_t upperBound() const { return std::int64_t{lowerBound} + count - 1; }
    // The element with index `index`, or nullptr when the list has none.
    const std::string* at(std::int64_t index) const;

    bool operator==(const TextList&) const = default;
};

struct DeckRecord {
    std::string DeckName;
    std::string AuthorName;
    std::int16_t DeckType = 0;
    TextList Cards;
    std::string Master;

    bool operator==(const DeckRecord&) const = default;
};

struct MasterRecord {
    std::string Name;
    DeckRecord Deck;
    TextList DrawPile;
    TextList Hand;
    TextList DiscardPile;
    std::int16_t HitPoints = 0;
    std::int16_t Stones = 0;
    bool FirstPlayer = false;
    std::string Status;

    bool operator==(const MasterRecord&) const = default;
};

struct MonsterRecord {
    std::string Card;
    bool StateFlag = false;
    std::int16_t Level = 0;
    std::int16_t HitPoints = 0;
    std::string Status;

    bool operator==(const MonsterRecord&) const = default;
};

struct SideRecord {
    MasterRecord Master;
    std::array<MonsterRecord, 4> Monsters;

    bool operator==(const SideRecord&) const = default;
};

struct BattleRecord {
    SideRecord Server;
    SideRecord Client;
    std::int16_t TurnCount = 0;
    std::string AuxText;
    std::string InfoText;
    std::array<std::string, 5> AuxTexts;  // indices 1 to 5 in the file

    bool operator==(const BattleRecord&) const = default;
};

}  // namespace mirudana
