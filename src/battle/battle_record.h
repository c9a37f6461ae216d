// The content of one battle file (".kvs"), field by field, in file order.
// Texts are held as UTF-8; the file holds them in code page 932.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirudana {

// The texts of a list packed into one buffer, so that a list of many short texts
// takes little more memory than the bytes it was read from.
class TextItems {
  public:
    TextItems() = default;
    explicit TextItems(const std::vector<std::string>& texts);
    TextItems(const TextItems&) = default;
    TextItems(TextItems&&) noexcept = default;
    TextItems& operator=(const TextItems&) = default;
    // Takes the texts of `other` and leaves it this list's storage, so that a record
    // moved onto another keeps both records' storage for reading again.
    TextItems& operator=(TextItems&& other) noexcept {
        chars_.swap(other.chars_);
        ends_.swap(other.ends_);
        return *this;
    }

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view view(std::size_t offset) const;
    std::string operator[](std::size_t offset) const { return std::string(view(offset)); }
    std::vector<std::string> toVector() const;

    // Walks the texts in order, each handed out as a copy.
    class const_iterator {
      public:
        const_iterator(const TextItems& items, std::size_t offset)
            : items_(&items), offset_(offset) {}
        std::string operator*() const { return (*items_)[offset_]; }
        const_iterator& operator++() {
            ++offset_;
            return *this;
        }
        bool operator==(const const_iterator&) const = default;

      private:
        const TextItems* items_;
        std::size_t offset_;
    };
    const_iterator begin() const { return {*this, 0}; }
    const_iterator end() const { return {*this, size()}; }

    void reserve(std::size_t count) { ends_.reserve(count); }
    // Empties the list. Its storage is kept for the next texts unless it has grown
    // large, so that one long list does not hold its memory for good.
    void clear();
    // Appends `text`; false (and nothing appended) when the texts would pass 4 GiB.
    bool appendIfRoom(std::string_view text);

    bool operator==(const TextItems&) const = default;

  private:
    std::string chars_;
    std::vector<std::uint32_t> ends_;  // where each text ends in chars_
};

// A one-dimensional list of texts with its own bounds, or absent (never sized).
// Lists stored with more dimensions keep the first dimension's bounds here and
// every element in `items`, in file order (first index fastest), so `at` reaches
// the elements whose other indices are at their lower bounds.
struct TextList {
    bool present = false;
    std::int32_t lowerBound = 0;
    std::uint32_t count = 0;  // elements in the first dimension
    TextItems items;

    // lowerBound + count - 1, computed without overflow.
    std::int64_t upperBound() const { return std::int64_t{lowerBound} + count - 1; }
    // The element with index `index`, or nothing when the list has none.
    std::optional<std::string_view> at(std::int64_t index) const;

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
