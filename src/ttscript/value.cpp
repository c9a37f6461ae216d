#include "ttscript/value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <utility>

#include "platform/numeric_text.h"
#include "ttscript/collection.h"
#include "ttscript/run_memory.h"
#include "ttscript/script_failure.h"
#include "ttscript/text_words.h"

namespace ttscript {
namespace {

// In UTF-8, the lead byte of a code point from U+E000 to U+FFFF is 0xEE or 0xEF;
// of a supplementary one 0xF0 to 0xF4. UTF-16 puts the latter (as surrogates
// 0xD800..) before the former, unlike byte order.
int utf16Rank(unsigned char lead) {
    if (lead >= 0xF0) return 0xED;
    return lead;
}

template <class Text>
void reserveRoom(Text& text, std::size_t needed) {
    if (needed <= text.capacity()) return;
    // The string would grow to exactly `needed` when a long tail more than doubles
    // it, and copy all again at the next small append: leave room to spare. Room
    // never written costs no memory.
    // Short texts built in many small appends (a row, a card) start with room for
    // several.
    constexpr std::size_t kLeastCapacity = 256;
    std::size_t capacity = text.empty() ? needed : std::max(needed + needed / 2, kLeastCapacity);
    checkMemoryFor(capacity - text.capacity());
    text.reserve(capacity);
}

}  // namespace

int compareTextsByCodeUnit(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    std::size_t i = 0;
    while (i < n && a[i] == b[i]) ++i;
    if (i == n) return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    // Where the texts differ at a lead byte, byte order is code point order, which
    // matches code unit order except between the two ranges ranked above.
    bool atLead = (static_cast<unsigned char>(a[i]) & 0xC0) != 0x80;
    if (atLead) {
        int ra = utf16Rank(static_cast<unsigned char>(a[i]));
        int rb = utf16Rank(static_cast<unsigned char>(b[i]));
        if (ra != rb) return ra < rb ? -1 : 1;
    }
    return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;
}

Value Value::text(std::string s) {
    if (s.size() <= kShortBytes) return textOf(s);
    Value v;
    Shared* shared = share(std::move(s));  // may throw: the kind is set after
    v.set(Kind::SharedText, wordOf(shared));
    return v;
}

Value Value::textOf(std::string_view s) {
    if (s.size() > kShortBytes) return text(std::string(s));
    Value v;
    // Put together in registers: put together in memory, its words would be read
    // back from stores of other widths, which the processor cannot forward.
    static_assert(kShortAt == 2 && kShortBytes == 22, "six bytes, then eight, then eight");
    v.words_[0] = static_cast<std::uint64_t>(Kind::ShortText) | s.size() << 8 | bytesAt(s, 0) << 16;
    v.words_[1] = bytesAt(s, 6);
    v.words_[2] = bytesAt(s, 14);
    return v;
}

// What shared text of `capacity` bytes takes: its block and the text's, each with
// what the allocator adds to a block, and the text's terminating zero.
std::size_t Value::sharedBytes(std::size_t capacity) {
    constexpr std::size_t kBlockOverhead = 16;
    return sizeof(Shared) + capacity + 1 + 2 * kBlockOverhead;
}

std::size_t Value::textBytes(std::size_t size) {
    return size <= kShortBytes ? 0 : sharedBytes(size);
}

// Long text counts against the budget of the run that makes it.
Value::Shared* Value::share(std::string s) {
    RunMemory* memory = RunMemory::current();
    std::size_t bytes = sharedBytes(s.capacity());
    if (memory) memory->take(bytes);
    return new Shared{1, std::move(s), TextBuffer(), memory, memory ? bytes : 0};
}

Value Value::of(Collection* collection) {
    Value v;
    v.set(Kind::Collection, wordOf(collection));
    ++collection->refs_;
    return v;
}

void Value::retainShared() const noexcept {
    if (kind() == Kind::SharedText) ++shared()->refs;
    if (kind() == Kind::Collection) ++collectionHeld()->refs_;
}

void Value::releaseShared() noexcept {
    if (kind() == Kind::SharedText) {
        Shared* s = shared();
        if (--s->refs == 0) {
            if (s->memory) s->memory->give(s->counted);
            delete s;
        }
    }
    if (kind() == Kind::Collection) {
        Collection* c = collectionHeld();
        if (--c->refs_ == 0) c->memory_->release(c);
    }
}

std::string Value::toText() const {
    if (kind() == Kind::Number) return formatNumber(numberHeld());
    if (kind() == Kind::Collection) collectionMisused(*this, "文字列として");
    return std::string(rawText());
}

std::optional<double> Value::textAsNumber() const {
    if (isText()) return parseNumericText(rawText());
    return std::nullopt;
}

double Value::requireNumericText() const {
    if (auto n = textAsNumber()) return *n;
    if (kind() == Kind::Collection) collectionMisused(*this, "数値として");
    throwRuntimeError("数値ではありません: \"" + shownText(rawText()) + "\"");
}

bool Value::isTrueText() const {
    if (auto n = textAsNumber()) return *n != 0;
    if (kind() == Kind::Collection) collectionMisused(*this, "条件に");
    return !rawText().empty();
}

TextBuffer& Value::ownText() {
    if (kind() == Kind::SharedText && shared()->refs == 1) {
        Shared& s = *shared();
        s.known = {};
        // Moved to a buffer that grows in place the first time it is appended to.
        if (!s.growing() && !s.text.empty()) {
            checkMemoryFor(s.text.size());
            s.grown = TextBuffer(s.text);
            std::string().swap(s.text);
            recount(s);
        }
        return s.grown;
    }
    TextOf now(*this);
    std::size_t bytes = sharedBytes(now.str().size());
    checkMemoryFor(bytes);
    RunMemory* memory = RunMemory::current();
    Shared* own = new Shared{1, std::string(), TextBuffer(now.str()), memory, 0};
    if (memory) {
        own->counted = bytes;
        memory->take(bytes);
    }
    release();
    set(Kind::SharedText, wordOf(own));
    return own->grown;
}

TextBuffer& Value::emptyOwnText() {
    // A row's worth of room is worth keeping for the next row; a page's is let go.
    constexpr std::size_t kMostRoomKept = 4096;
    if (kind() == Kind::SharedText && shared()->refs == 1 && shared()->growing() &&
        shared()->grown.capacity() <= kMostRoomKept) {
        shared()->grown.clear();
        shared()->known = {};
        return shared()->grown;
    }
    Shared* own = new Shared{1, std::string(), TextBuffer(), RunMemory::current(), 0};
    release();
    set(Kind::SharedText, wordOf(own));
    return own->grown;
}

void Value::textGrew() {
    shared()->known = {};
    recount(*shared());
}

void Value::recount(Shared& s) {
    if (!s.memory) return;
    std::size_t bytes = sharedBytes(s.capacity());
    if (bytes < s.counted) {
        s.memory->give(s.counted - bytes);
        s.counted = bytes;
    } else if (bytes > s.counted) {
        std::size_t more = bytes - s.counted;
        s.counted = bytes;
        s.memory->take(more);
    }
}

TextOf::TextOf(const Value& v) {
    if (v.isCollection()) collectionMisused(v, "文字列として");
    if (v.isNumber()) {
        printed_ = formatNumber(v.numberHeld());
        inPrinted_ = true;
        text_ = printed_;
    } else {
        text_ = v.rawText();
    }
}

const std::string& TextOf::string() {
    if (!inPrinted_) {
        printed_.assign(text_);
        inPrinted_ = true;
        text_ = printed_;
    }
    return printed_;
}

std::optional<double> parseNumericText(std::string_view text) {
    // Most texts a script compares are names: turn them away at the first byte,
    // found without a call, as few texts start with blanks.
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    if (start == text.size()) return std::nullopt;
    char first = text[start];
    if (!(first >= '0' && first <= '9') && first != '+' && first != '-' && first != '.') {
        return std::nullopt;
    }
    std::optional<double> n = mirudana::parseDecimalNumber(text);
    // Too large for a double: no arithmetic could use it.
    if (n && std::isinf(*n)) return std::nullopt;
    return n;
}

std::string formatNumber(double n) {
    if (n == 0) return "0";  // also -0
    char buffer[40];
    char* end;
    // Every whole number up to 2^53 is exact, so all its digits are worth printing.
    if (std::nearbyint(n) == n && std::fabs(n) <= 0x1p53) {
        end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(n)).ptr;
    } else {
        end = std::to_chars(buffer, buffer + sizeof buffer, n, std::chars_format::general, 15).ptr;
    }
    return std::string(buffer, end);
}

int compareValues(const Value& a, const Value& b) {
    if (a.isCollection()) collectionMisused(a, "比較に");
    if (b.isCollection()) collectionMisused(b, "比較に");
    auto na = a.toNumber();
    if (na) {
        if (auto nb = b.toNumber()) return *na < *nb ? -1 : (*na > *nb ? 1 : 0);
    }
    if (a.isNumber() || b.isNumber()) return compareTextsByCodeUnit(a.toText(), b.toText());
    return compareTextsByCodeUnit(a.rawText(), b.rawText());
}

std::size_t addSizes(std::size_t a, std::size_t b) { return a > SIZE_MAX - b ? SIZE_MAX : a + b; }

std::size_t multiplySizes(std::size_t a, std::size_t b) {
    return b != 0 && a > SIZE_MAX / b ? SIZE_MAX : a * b;
}

void reserveToAppend(std::string& text, std::size_t needed) { reserveRoom(text, needed); }
void reserveToAppend(TextBuffer& text, std::size_t needed) { reserveRoom(text, needed); }

}  // namespace ttscript
