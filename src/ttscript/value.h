// The values of the script language: text, a double-precision number, a list or a
// dictionary, plus the "not yet assigned" state of a variable. Short text is stored
// in the value itself; longer text is shared and copied on write, so
// `out = out & row` can append in place when the variable holds the only reference.
// Lists and dictionaries are shared by reference: copying a value shares them.
#pragma once

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

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
        other.kind_ = Kind::Unset;
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
            other.kind_ = Kind::Unset;
        }
        return *this;
    }
    ~Value() { release(); }

    // Drops what the value holds, leaving it unset.
    void clear() noexcept {
        release();
        kind_ = Kind::Unset;
    }

    static Value number(double n);
    static Value text(std::string s);
    // The same from a view: short text is copied straight into the value.
    static Value textOf(std::string_view s);
    // What a text value of `size` bytes takes from the budget beyond the value.
    static std::size_t textBytes(std::size_t size);
    // Takes a share of `collection`, which the caller has just made.
    static Value of(Collection* collection);

    bool isUnset() const { return kind_ == Kind::Unset; }
    bool isNumber() const { return kind_ == Kind::Number; }
    bool isText() const { return kind_ == Kind::ShortText || kind_ == Kind::SharedText; }
    bool isCollection() const { return kind_ == Kind::Collection; }

    double rawNumber() const { return numberHeld(); }
    // The stored text of a text value (empty for other kinds).
    std::string_view rawText() const {
        if (kind_ == Kind::SharedText) return shared()->text;
        return {short_, kind_ == Kind::ShortText ? shortSize_ : std::size_t{0}};
    }
    // The list or dictionary of a collection value, else null.
    Collection* collection() const {
        return kind_ == Kind::Collection ? collectionHeld() : nullptr;
    }

    // The value as text: numbers in their printed form. A collection is a runtime error.
    std::string toText() const;
    // The value as a number when it is a number or numeric text.
    std::optional<double> toNumber() const {
        if (kind_ == Kind::Number) return numberHeld();
        return textAsNumber();
    }
    // Like toNumber, but anything else is a runtime error.
    double requireNumber() const {
        if (kind_ == Kind::Number) return numberHeld();
        return requireNumericText();
    }
    // Non-zero numbers and numeric text, and text other than "", are true. A
    // collection is a runtime error.
    bool isTrue() const {
        if (kind_ == Kind::Number) return numberHeld() != 0;
        return isTrueText();
    }

    // Turns this value into text the caller alone owns and gives it to append to.
    // The caller makes room with reserveToAppend and calls textGrew afterwards.
    std::string& ownText();
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
    struct Shared {
        std::size_t refs;
        std::string text;
        RunMemory* memory;    // the run whose budget counts it; null outside a run
        std::size_t counted;  // bytes taken from that budget
    };
    static Shared* share(std::string s);
    static std::size_t sharedBytes(std::size_t capacity);
    // Every kind fits in 24 bytes: the kind and a short text's size lead, its bytes
    // fill the rest. A number or a reference takes the 8 bytes from offset 8 instead,
    // where those bytes would be.
    static constexpr std::size_t kShortBytes = 22;
    static constexpr std::size_t kWordAt = 6;  // offset 8 of the value, in short_

    double numberHeld() const noexcept {
        double n;
        std::memcpy(&n, short_ + kWordAt, sizeof n);
        return n;
    }
    void setWord(const void* from) noexcept { std::memcpy(short_ + kWordAt, from, 8); }
    template <class T>
    T* pointer() const noexcept {
        T* p;
        std::memcpy(&p, short_ + kWordAt, sizeof p);
        return p;
    }
    Shared* shared() const noexcept { return pointer<Shared>(); }
    Collection* collectionHeld() const noexcept { return pointer<Collection>(); }

    // Copies the bytes, leaving the count of shared text to the caller.
    void copyFrom(const Value& other) noexcept {
        kind_ = other.kind_;
        shortSize_ = other.shortSize_;
        std::memcpy(short_, other.short_, kShortBytes);
    }
    // Numbers and short text, the most common values, count nothing: only shared
    // text and collections leave the inline check.
    void retain() const noexcept {
        if (kind_ >= Kind::SharedText) retainShared();
    }
    void release() noexcept {
        if (kind_ >= Kind::SharedText) releaseShared();
    }
    void retainShared() const noexcept;
    void releaseShared() noexcept;

    Kind kind_ = Kind::Unset;
    unsigned char shortSize_ = 0;
    char short_[kShortBytes];  // only what the kind uses is set
};

static_assert(sizeof(Value) == 24);

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
    const std::string* whole_ = nullptr;
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

}  // namespace ttscript
