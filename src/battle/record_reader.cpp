#include "battle/record_reader.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "app/codepage.h"
#include "app/failure.h"

namespace mirudana {
namespace {

// Every list element is a text, which takes at least its 2-byte length.
constexpr std::size_t kMinElementSize = 2;
// One dimension's bounds: a 32-bit count and a 32-bit lower bound.
constexpr std::size_t kDimensionSize = 8;

class RecordReader {
  public:
    explicit RecordReader(std::string_view bytes) : bytes_(bytes) {}

    BattleRecord battle() {
        BattleRecord record;
        record.Server = side();
        record.Client = side();
        record.TurnCount = number();
        record.AuxText = text();
        record.InfoText = text();
        for (auto& aux : record.AuxTexts) aux = text();
        return record;
    }

  private:
    SideRecord side() {
        SideRecord record;
        record.Master = master();
        for (auto& monster : record.Monsters) monster = monsterSlot();
        return record;
    }

    MasterRecord master() {
        MasterRecord record;
        record.Name = text();
        record.Deck = deck();
        record.DrawPile = textList();
        record.Hand = textList();
        record.DiscardPile = textList();
        record.HitPoints = number();
        record.Stones = number();
        record.FirstPlayer = number() != 0;
        record.Status = text();
        return record;
    }

    DeckRecord deck() {
        DeckRecord record;
        record.DeckName = text();
        record.AuthorName = text();
        record.DeckType = number();
        record.Cards = textList();
        record.Master = text();
        return record;
    }

    MonsterRecord monsterSlot() {
        MonsterRecord record;
        record.Card = text();
        record.StateFlag = number() != 0;
        record.Level = number();
        record.HitPoints = number();
        record.Status = text();
        return record;
    }

    std::size_t remaining() const { return bytes_.size() - pos_; }

    // The next `n` bytes; a failure when the file has fewer.
    std::string_view take(std::size_t n) {
        if (n > remaining()) throw Failure(failure::kInputPastEnd);
        std::string_view part = bytes_.substr(pos_, n);
        pos_ += n;
        return part;
    }

    std::uint32_t uint32() {
        std::string_view b = take(4);
        std::uint32_t value = 0;
        for (int k = 3; k >= 0; --k) value = value << 8 | static_cast<std::uint8_t>(b[k]);
        return value;
    }

    // A 16-bit number where the bytes beyond the end of the file read as zero.
    std::uint16_t wordPastEndAsZero() {
        auto byteAt = [this](std::size_t k) -> std::uint16_t {
            return k < bytes_.size() ? static_cast<std::uint8_t>(bytes_[k]) : 0;
        };
        auto value = static_cast<std::uint16_t>(byteAt(pos_) | byteAt(pos_ + 1) << 8);
        pos_ = std::min(pos_ + 2, bytes_.size());
        return value;
    }

    std::int16_t number() { return static_cast<std::int16_t>(wordPastEndAsZero()); }

    std::string decoded(std::size_t length) {
        std::string_view bytes = take(length);
        // Identifiers are plain ASCII, which reads the same in both encodings.
        bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                 [](char c) { return static_cast<std::uint8_t>(c) < 0x80; });
        return ascii ? std::string(bytes) : cp932ToUtf8(bytes);
    }

    std::string text() { return decoded(wordPastEndAsZero()); }

    // A list element: nothing of it may lie beyond the end of the file.
    std::string element() {
        std::string_view length = take(2);
        return decoded(static_cast<std::uint8_t>(length[0]) |
                       static_cast<std::size_t>(static_cast<std::uint8_t>(length[1])) << 8);
    }

    TextList textList() {
        TextList list;
        std::int16_t dimensions = number();
        if (dimensions == 0) return list;
        // A negative dimension count describes no list at all.
        if (dimensions < 0) throw Failure(failure::kSubscriptOutOfRange);
        if (remaining() / kDimensionSize < static_cast<std::size_t>(dimensions)) {
            throw Failure(failure::kInputPastEnd);
        }
        std::vector<std::uint32_t> counts;
        for (std::int16_t d = 0; d < dimensions; ++d) {
            std::uint32_t count = uint32();
            auto lowerBound = static_cast<std::int32_t>(uint32());
            std::int64_t upperBound = std::int64_t{lowerBound} + count - 1;
            if (upperBound > std::numeric_limits<std::int32_t>::max() ||
                upperBound < std::numeric_limits<std::int32_t>::min()) {
                throw Failure(failure::kOverflow);
            }
            if (d == 0) {
                list.count = count;
                list.lowerBound = lowerBound;
            }
            counts.push_back(count);
        }
        std::size_t elements = elementCount(counts);
        list.present = true;
        list.items.reserve(elements);
        for (std::size_t k = 0; k < elements; ++k) list.items.push_back(element());
        return list;
    }

    // The product of the counts, a failure when the bytes left cannot hold that
    // many elements (checked before anything is allocated).
    std::size_t elementCount(const std::vector<std::uint32_t>& counts) const {
        for (std::uint32_t count : counts) {
            if (count == 0) return 0;
        }
        const std::size_t most = remaining() / kMinElementSize;
        std::size_t product = 1;
        for (std::uint32_t count : counts) {
            if (count > most / product) throw Failure(failure::kInputPastEnd);
            product *= count;
        }
        return product;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
};

}  // namespace

BattleRecord readBattleRecord(std::string_view bytes) { return RecordReader(bytes).battle(); }

}  // namespace mirudana
