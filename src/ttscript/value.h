// The values of the script language: text, a double-precision number, a list or a
// dictionary, plus the "not yet assigned" state of a variable. Short text is stored
// in the value itself; longer text is shared and copied on write, so
// `out = out & row` can append in place when the variable holds the only reference,
// in a buffer that grows without copying what it holds.
// Lists and dictionaries are shared by reference: copying a value shares them.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "platform/utf.h"
#include "ttscript/block_pool.h"
#include "ttscript/text_buffer.h"

namespace ttscript {

class Collection;
class RunMemory;

class alignas(8) Value {
  public:
    Value() = default;
    Value(const Value& other) noexcept {
        copyFrom(other);
        retain();
    }
    Value(Value&& other) noexcept {
        copyFrom(other);
        other.words_[0] = 0;
    }
    Value& operator=(const Value& other) noexcept {
        other.retain();
        release();
        copyFrom(other);
        return *this;
    }
    Value& operator=(Value&& other) noexcept {
        if (this != &other) {
            release();
            copyFrom(other);
            other.words_[0] = 0;
        }
        return *this;
    }
    ~Value() { release(); }

    // Drops what the value holds, leaving it unset.
    void clear() noexcept {
        release();
        words_[0] = 0;
    }

    static Value number(double n) {
        Value v;
        v.set(Kind::Number, std::bit_cast<std::uint64_t>(n));
        return v;
    }
    static Value text(std::string s);
    // The same from a view: short text is copied straight into the value.
    static Value textOf(std::string_view s);
    // What a text value of `size` bytes takes from the budget beyond the value.
    static std::size_t textBytes(std::size_t size);
    // "", what a call that gives nothing else gives: made in place, not from a string.
    static Value emptyText() {
        Value v;
        v.words_[0] = static_cast<std::uint64_t>(Kind::ShortText);
        return v;
    }
    // Takes a share of `collection`, which the caller has just made.
    static Value of(Collection* collection);

    bool isUnset() const { return kind() == Kind::Unset; }
    bool isNumber() const { return kind() == Kind::Number; }
    bool isText() const { return kind() == Kind::ShortText || kind() == Kind::SharedText; }
    bool isCollection() const { return kind() == Kind::Collection; }

    double rawNumber() const { return numberHeld(); }
    // The stored text of a text value (empty for other kinds).
    std::string_view rawText() const {
        if (kind() == Kind::SharedText) return shared()->view();
        return {shortText(), kind() == Kind::ShortText ? shortSize() : std::size_t{0}};
    }
    // What walks through a long text value have learnt of its characters, for the
    // next walk; null for other values, whose walks are short.
    mirudana::KnownPlaces* knownPlaces() const {
        return kind() == Kind::SharedText ? &shared()->known : nullptr;
    }
    // The list or dictionary of a collection value, else null.
    Collection* collection() const {
        return kind() == Kind::Collection ? collectionHeld() : nullptr;
    }

    // The value as text: numbers in their printed form. A collection is a runtime error.
    std::string toText() const;
    // The value as a number when it is a number or numeric text.
    std::optional<double> toNumber() const {
        if (kind() == Kind::Number) return numberHeld();
        return textAsNumber();
    }
    // Like toNumber, but anything else is a runtime error.
    double requireNumber() const {
        if (kind() == Kind::Number) return numberHeld();
        return requireNumericText();
    }
    // Non-zero numbers and numeric text, and text other than "", are true. A
    // collection is a runtime error.
    bool isTrue() const {
        if (kind() == Kind::Number) return numberHeld() != 0;
        return isTrueText();
    }

    // Turns this value into text the caller alone owns and gives it to append to.
    // The caller makes room with reserveToAppend and calls textGrew afterwards.
    TextBuffer& ownText();
    // Turns this value into empty text the caller alone owns, in the buffer it alone
    // held when that is small, and gives it to append to, as ownText does.
    TextBuffer& emptyOwnText();
    // Counts what the text handed out by ownText has grown by against the run's budget.
    void textGrew();

  private:
    friend class TextOf;

    // toNumber, requireNumber and isTrue of a value that is not a number.
    std::optional<double> textAsNumber() const;
    double requireNumericText() const;
    bool isTrueText() const;

    // Short text lives in the value itself; longer text in a counted block. A run
    // stays on one thread, so the count needs no atomic operations.
    // Kinds from SharedText on are counted references.
    enum class Kind : unsigned char { Unset, Number, ShortText, SharedText, Collection };
    // Text is kept as it was made until it is first appended to; from then on it is
    // in `grown`, and `text` is empty.
    struct Shared {
        std::size_t refs;
        std::string text;
        TextBuffer grown;
        RunMemory* memory;                 // the run whose budget counts it; null outside a run
        std::size_t counted;               // bytes taken from that budget
        mirudana::KnownPlaces known = {};  // of the text as it is: reset when it changes

        bool growing() const { return grown.capacity() != 0; }
        std::string_view view() const { return growing() ? grown.view() : std::string_view(text); }
        std::size_t capacity() const { return growing() ? grown.capacity() : text.capacity(); }

        static void* operator new(std::size_t) { return BlockPool<sizeof(Shared)>::take(); }
        static void operator delete(void* p) noexcept { BlockPool<sizeof(Shared)>::give(p); }
    };
    static Shared* share(std::string s);
    // Sets what `s` counts against its run's budget to what it now holds.
    static void recount(Shared& s);
    static std::size_t sharedBytes(std::size_t capacity);
    // Every kind fits in three words: the first holds the kind and a short text's
    // size in its low bytes, then the text's bytes fill the rest. A number or a
    // reference takes the second word instead, where those bytes would be. A value
    // is written and copied a whole word at a time, so a copy of one just made
    // reads each word as it was stored, which the processor forwards at once.
    static constexpr std::size_t kShortBytes = 22;
    static constexpr std::size_t kShortAt = 2;  // bytes before the short text

    Kind kind() const noexcept { return static_cast<Kind>(words_[0] & 0xFF); }
    std::size_t shortSize() const noexcept { return (words_[0] >> 8) & 0xFF; }
    const char* shortText() const noexcept {
        return reinterpret_cast<const char*>(words_) + kShortAt;
    }
    // A value of `kind` whose second word is `word`.
    void set(Kind kind, std::uint64_t word) noexcept {
        words_[0] = static_cast<std::uint64_t>(kind);
        words_[1] = word;
        words_[2] = 0;
    }
    double numberHeld() const noexcept { return std::bit_cast<double>(words_[1]); }
    template <class T>
    T* pointer() const noexcept {
        return reinterpret_cast<T*>(static_cast<std::uintptr_t>(words_[1]));
    }
    template <class T>
    static std::uint64_t wordOf(T* p) noexcept {
        return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p));
    }
    Shared* shared() const noexcept { return pointer<Shared>(); }
    Collection* collectionHeld() const noexcept { return pointer<Collection>(); }

    // Copies the words, leaving the count of shared text to the caller. Each word
    // goes through a register of its own: a compiler would otherwise load the first
    // two as one wide word, which waits until both words just stored have landed.
    void copyFrom(const Value& other) noexcept {
        std::uint64_t head = other.words_[0], word = other.words_[1], tail = other.words_[2];
#if defined(__GNUC__)
        asm("" : "+r"(head), "+r"(word), "+r"(tail));
#endif
        words_[0] = head;
        words_[1] = word;
        words_[2] = tail;
    }
    // Numbers and short text, the most common values, count nothing: only shared
    // text and collections leave the inline check.
    void retain() const noexcept {
        if (kind() >= Kind::SharedText) retainShared();
    }
    void release() noexcept {
        if (kind() >= Kind::SharedText) releaseShared();
    }
    void retainShared() const noexcept;
    void releaseShared() noexcept;

    std::uint64_t words_[3] = {0, 0, 0};  // unset
};

static_assert(sizeof(Value) == 24);
static_assert(std::endian::native == std::endian::little, "the kind is the first word's low byte");

// A value's text without copying it: the stored text of a text value, or the
// printed form of a number kept here. Valid while the value lives. A collection is
// a runtime error.
class TextOf {
  public:
    explicit TextOf(const Value& v);
    TextOf(const TextOf&) = delete;
    TextOf& operator=(const TextOf&) = delete;

    std::string_view str() const { return text_; }
    // The same as a std::string, for the host: short text is copied here.
    const std::string& string();

  private:
    std::string printed_;
    bool inPrinted_ = false;  // text_ is printed_
    std::string_view text_;
};

// Numeric text: optional blanks, an optional sign, decimal digits with an optional
// fraction and exponent, optional blanks, as the reference data reads it. "" is not
// numeric, nor is a number too large for a double; one too small is 0.
std::optional<double> parseNumericText(std::string_view text);

// A whole number up to 2^53 prints in full without a decimal point; others with up
// to 15 significant digits.
std::string formatNumber(double n);

// -1, 0 or 1: numerically when both sides are numbers or numeric text, otherwise as
// text in UTF-16 code unit order. A collection on either side is a runtime error.
int compareValues(const Value& a, const Value& b);

// -1, 0 or 1 in UTF-16 code unit order.
int compareTextsByCodeUnit(std::string_view a, std::string_view b);

// Sizes that saturate rather than wrap, for a result too large for any budget.
std::size_t addSizes(std::size_t a, std::size_t b);
std::size_t multiplySizes(std::size_t a, std::size_t b);

// Makes room in `text` for `needed` bytes before an append; a runtime error when
// the run's memory budget cannot hold them.
void reserveToAppend(std::string& text, std::size_t needed);
void reserveToAppend(TextBuffer& text, std::size_t needed);

}  // namespace ttscript
