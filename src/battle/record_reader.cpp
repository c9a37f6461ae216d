#include "battle/record_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "platform/codepage.h"
#include "platform/failure.h"

namespace mirudana {
namespace {

// Every list element is a text, which takes at least its 2-byte length.
constexpr std::uint64_t kMinElementSize = 2;
// One dimension's bounds: a 32-bit count and a 32-bit lower bound.
constexpr std::uint64_t kDimensionSize = 8;

// Identifiers are plain ASCII, which reads the same in both encodings: they need no
// conversion. Eight bytes at a time, as the play log makes long ASCII texts.
bool isAscii(std::string_view bytes) {
    std::uint64_t high = 0;
    std::size_t k = 0;
    for (; k + 8 <= bytes.size(); k += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, bytes.data() + k, sizeof eight);
        high |= eight;
    }
    for (; k < bytes.size(); ++k) high |= static_cast<std::uint8_t>(bytes[k]);
    return (high & 0x8080808080808080u) == 0;
}

// The product of a list's counts, or more than any list can hold when it passes
// 64 bits; 0 when any count is 0.
std::uint64_t saturatingProduct(std::uint64_t product, std::uint32_t count) {
    if (count != 0 && product > std::numeric_limits<std::uint64_t>::max() / count) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return product * count;
}

// Reads the record field by field into one held record. Once the source has ended
// (`ended_`), every further field reads as empty, absent or zero without touching
// the source.
class RecordReader {
  public:
    explicit RecordReader(RecordSource& source) : source_(source), total_(source.size()) {}

    void battle(BattleRecord& record) {
        side(record.Server);
        side(record.Client);
        record.TurnCount = number();
        text(record.AuxText);
        text(record.InfoText);
        for (auto& aux : record.AuxTexts) text(aux);
    }

  private:
    void side(SideRecord& record) {
        master(record.Master);
        for (auto& monster : record.Monsters) monsterSlot(monster);
    }

    void master(MasterRecord& record) {
        text(record.Name);
        deck(record.Deck);
        textList(record.DrawPile);
        textList(record.Hand);
        textList(record.DiscardPile);
        record.HitPoints = number();
        record.Stones = number();
        record.FirstPlayer = number() != 0;
        text(record.Status);
    }

    void deck(DeckRecord& record) {
        text(record.DeckName);
        text(record.AuthorName);
        record.DeckType = number();
        textList(record.Cards);
        text(record.Master);
    }

    void monsterSlot(MonsterRecord& record) {
        text(record.Card);
        record.StateFlag = number() != 0;
        record.Level = number();
        record.HitPoints = number();
        text(record.Status);
    }

    // Bytes left in the source as far as its size tells (never negative).
    std::uint64_t remaining() const { return consumed_ < total_ ? total_ - consumed_ : 0; }

    // The next `n` bytes, or nothing (and the source ended) when fewer are left.
    // Only asked for `n` the remaining bytes can hold, so it allocates no more. The
    // bytes are seen where the source holds them when they can be: the view holds
    // until the next call.
    std::optional<std::string_view> take(std::size_t n) {
        if (ended_) return std::nullopt;
        if (window_.size() >= n) {
            std::string_view bytes = window_.substr(0, n);
            window_.remove_prefix(n);
            consumed_ += n;
            return bytes;
        }
        spill_.assign(window_);
        consumed_ += window_.size();
        while (spill_.size() < n) {
            window_ = source_.next();
            if (window_.empty()) {
                ended_ = true;
                return std::nullopt;
            }
            std::size_t part = std::min(n - spill_.size(), window_.size());
            spill_.append(window_.substr(0, part));
            window_.remove_prefix(part);
            consumed_ += part;
        }
        return std::string_view(spill_);
    }

    // A little-endian unsigned number of `width` bytes; nothing past the end.
    std::optional<std::uint32_t> unsignedNumber(std::size_t width) {
        std::optional<std::string_view> bytes = take(width);
        if (!bytes) return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t k = width; k-- > 0;) {
            value = value << 8 | static_cast<std::uint8_t>((*bytes)[k]);
        }
        return value;
    }

    std::int16_t number() { return static_cast<std::int16_t>(unsignedNumber(2).value_or(0)); }

    // A text as the file holds it; nothing when the source ends before its last
    // byte. The view holds until the next read.
    std::optional<std::string_view> rawText() {
        std::optional<std::uint32_t> length = unsignedNumber(2);
        if (!length) return std::nullopt;
        if (*length > remaining()) {
            ended_ = true;
            return std::nullopt;
        }
        return take(*length);
    }

    // The next text, as UTF-8, into `into`.
    void text(std::string& into) {
        std::optional<std::string_view> bytes = rawText();
        if (!bytes) {
            into.clear();
        } else if (isAscii(*bytes)) {
            into.assign(*bytes);
        } else {
            cp932ToUtf8(*bytes, into);
        }
    }

    static void makeAbsent(TextList& list) {
        list.present = false;
        list.lowerBound = 0;
        list.count = 0;
        list.items.clear();
    }

    void textList(TextList& list) {
        makeAbsent(list);
        std::int16_t dimensions = number();
        if (dimensions == 0) return;
        // A negative dimension count describes no list at all.
        if (dimensions < 0) throw Failure(failure::kSubscriptOutOfRange);
        if (remaining() / kDimensionSize < static_cast<std::uint64_t>(dimensions)) {
            ended_ = true;
            return;
        }
        std::uint32_t firstCount = 0;
        std::int32_t firstLowerBound = 0;
        std::uint64_t elements = 1;
        bool overflows = false;
        for (std::int16_t d = 0; d < dimensions; ++d) {
            std::optional<std::uint32_t> count = unsignedNumber(4);
            std::optional<std::uint32_t> lower = unsignedNumber(4);
            if (!count || !lower) return;
            auto lowerBound = static_cast<std::int32_t>(*lower);
            std::int64_t upperBound = std::int64_t{lowerBound} + *count - 1;
            overflows = overflows || upperBound > std::numeric_limits<std::int32_t>::max() ||
                        upperBound < std::numeric_limits<std::int32_t>::min();
            if (d == 0) {
                firstCount = *count;
                firstLowerBound = lowerBound;
            }
            elements = saturatingProduct(elements, *count);
        }
        // Checked before anything is allocated.
        if (elements > remaining() / kMinElementSize) {
            ended_ = true;
            return;
        }
        list.items.reserve(static_cast<std::size_t>(elements));
        for (std::uint64_t k = 0; k < elements; ++k) {
            // The source ends inside the list, or its texts outgrow what a list
            // holds: either way this is where the readable record ends.
            if (!element(list.items)) {
                list.items.clear();
                ended_ = true;
                return;
            }
        }
        // Bounds past 32 bits in a list whose bytes are all there: a damaged file.
        if (overflows) throw Failure(failure::kOverflow);
        list.present = true;
        list.count = firstCount;
        list.lowerBound = firstLowerBound;
    }

    // Appends the next text to `items`; false when there is none or it does not fit.
    bool element(TextItems& items) {
        std::optional<std::string_view> bytes = rawText();
        if (!bytes) return false;
        if (isAscii(*bytes)) return items.appendIfRoom(*bytes);
        cp932ToUtf8(*bytes, converted_);
        return items.appendIfRoom(converted_);
    }

    RecordSource& source_;
    const std::uint64_t total_;
    std::string_view window_;  // bytes from the source not read yet
    std::uint64_t consumed_ = 0;
    bool ended_ = false;
    std::string spill_;      // bytes that lay across the end of a window
    std::string converted_;  // a list element turned into UTF-8
};

}  // namespace

void readBattleRecord(RecordSource& source, BattleRecord& record) {
    RecordReader(source).battle(record);
}

BattleRecord readBattleRecord(std::string_view bytes) {
    MemorySource source(bytes);
    BattleRecord record;
    readBattleRecord(source, record);
    return record;
}

}  // namespace mirudana
