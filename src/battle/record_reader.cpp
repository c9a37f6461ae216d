#include "battle/record_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/codepage.h"
#include "app/failure.h"

namespace mirudana {
namespace {

// Every list element is a text, which takes at least its 2-byte length.
constexpr std::uint64_t kMinElementSize = 2;
// One dimension's bounds: a 32-bit count and a 32-bit lower bound.
constexpr std::uint64_t kDimensionSize = 8;
// Bytes read from the source at a time.
constexpr std::size_t kChunk = 16 * 1024;

class MemorySource : public RecordSource {
  public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    std::size_t read(char* into, std::size_t n) override {
        std::size_t got = std::min(n, bytes_.size());
        std::memcpy(into, bytes_.data(), got);
        bytes_.remove_prefix(got);
        return got;
    }
    std::uint64_t size() const override { return total_; }

  private:
    std::string_view bytes_;
    std::uint64_t total_ = bytes_.size();
};

// Reads the record field by field. Once the source has ended (`ended_`), every
// further field reads as empty, absent or zero without touching the source.
class RecordReader {
  public:
    explicit RecordReader(RecordSource& source) : source_(source) {}

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

    // Bytes left in the source as far as its size tells (never negative).
    std::uint64_t remaining() const {
        std::uint64_t total = source_.size();
        return consumed_ < total ? total - consumed_ : 0;
    }

    // The next `n` bytes, or nothing (and the source ended) when fewer are left.
    // Only asked for `n` the remaining bytes can hold, so it allocates no more. The
    // bytes are seen where they lie in the buffer when they can be: the view holds
    // until the next call.
    std::optional<std::string_view> take(std::size_t n) {
        if (ended_) return std::nullopt;
        if (end_ - begin_ >= n) {
            std::string_view bytes(buffer_.data() + begin_, n);
            begin_ += n;
            consumed_ += n;
            return bytes;
        }
        spill_.clear();
        while (spill_.size() < n) {
            if (begin_ == end_) {
                end_ = source_.read(buffer_.data(), buffer_.size());
                begin_ = 0;
                if (end_ == 0) {
                    ended_ = true;
                    return std::nullopt;
                }
            }
            std::size_t part = std::min(n - spill_.size(), end_ - begin_);
            spill_.append(buffer_.data() + begin_, part);
            begin_ += part;
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

    // Identifiers are plain ASCII, which reads the same in both encodings: they
    // need no conversion.
    static bool isAscii(std::string_view bytes) {
        return std::all_of(bytes.begin(), bytes.end(),
                           [](char c) { return static_cast<std::uint8_t>(c) < 0x80; });
    }

    std::string text() {
        std::optional<std::string_view> bytes = rawText();
        if (!bytes) return std::string();
        return isAscii(*bytes) ? std::string(*bytes) : cp932ToUtf8(*bytes);
    }

    TextList textList() {
        std::int16_t dimensions = number();
        if (dimensions == 0) return {};
        // A negative dimension count describes no list at all.
        if (dimensions < 0) throw Failure(failure::kSubscriptOutOfRange);
        if (remaining() / kDimensionSize < static_cast<std::uint64_t>(dimensions)) {
            ended_ = true;
            return {};
        }
        TextList list;
        std::vector<std::uint32_t> counts;
        bool overflows = false;
        for (std::int16_t d = 0; d < dimensions; ++d) {
            std::optional<std::uint32_t> count = unsignedNumber(4);
            std::optional<std::uint32_t> lower = unsignedNumber(4);
            if (!count || !lower) return {};
            auto lowerBound = static_cast<std::int32_t>(*lower);
            std::int64_t upperBound = std::int64_t{lowerBound} + *count - 1;
            overflows = overflows || upperBound > std::numeric_limits<std::int32_t>::max() ||
                        upperBound < std::numeric_limits<std::int32_t>::min();
            if (d == 0) {
                list.count = *count;
                list.lowerBound = lowerBound;
            }
            counts.push_back(*count);
        }
        std::optional<std::uint64_t> elements = elementCount(counts);
        if (!elements) {
            ended_ = true;
            return {};
        }
        list.present = true;
        list.items.reserve(static_cast<std::size_t>(*elements));
        for (std::uint64_t k = 0; k < *elements; ++k) {
            std::optional<std::string_view> element = rawText();
            // The source ends inside the list, or its texts outgrow what a list
            // holds: either way this is where the readable record ends.
            if (!element || !(isAscii(*element) ? list.items.push_back(*element)
                                                : list.items.push_back(cp932ToUtf8(*element)))) {
                ended_ = true;
                return {};
            }
        }
        // Bounds past 32 bits in a list whose bytes are all there: a damaged file.
        if (overflows) throw Failure(failure::kOverflow);
        return list;
    }

    // The product of the counts; nothing when the bytes left cannot hold that many
    // elements (checked before anything is allocated).
    std::optional<std::uint64_t> elementCount(const std::vector<std::uint32_t>& counts) const {
        for (std::uint32_t count : counts) {
            if (count == 0) return 0;
        }
        const std::uint64_t most = remaining() / kMinElementSize;
        std::uint64_t product = 1;
        for (std::uint32_t count : counts) {
            if (count > most / product) return std::nullopt;
            product *= count;
        }
        return product;
    }

    RecordSource& source_;
    std::array<char, kChunk> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::uint64_t consumed_ = 0;
    bool ended_ = false;
    std::string spill_;  // bytes that lay across the end of the buffer
};

}  // namespace

BattleRecord readBattleRecord(RecordSource& source) {
    auto reader = std::make_unique<RecordReader>(source);  // its buffer is large
    return reader->battle();
}

BattleRecord readBattleRecord(std::string_view bytes) {
    MemorySource source(bytes);
    return readBattleRecord(source);
}

}  // namespace mirudana
