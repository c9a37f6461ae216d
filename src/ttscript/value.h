// The values of the script language: text or a double-precision number, plus the
// "not yet assigned" state of a variable. Text is shared and copied on write, so
// `out = out & row` can append in place when the variable holds the only reference.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ttscript {

// Longest text a script may build; keeps a runaway `s = s & s` from exhausting memory.
inline constexpr std::size_t kMaxTextBytes = std::size_t{1} << 26;

class Value {
  public:
    Value() = default;
    static Value number(double n);
    static Value text(std::string s);

    bool isUnset() const { return kind_ == Kind::Unset; }
    bool isNumber() const { return kind_ == Kind::Number; }
    bool isText() const { return kind_ == Kind::Text; }

    double rawNumber() const { return number_; }
    // The stored text of a text value (empty for other kinds).
    const std::string& rawText() const;

    // The value as text: numbers in their printed form.
    std::string toText() const;
    // Appends the value as text to `out`.
    void appendTo(std::string& out) const;
    // The value as a number when it is a number or numeric text.
    std::optional<double> toNumber() const;
    // Like toNumber, but text that is not numeric is a runtime error.
    double requireNumber() const;
    // Non-zero numbers and numeric text, and text other than "", are true.
    bool isTrue() const;

    // Turns this value into text the caller alone owns and appends `tail`. Text that
    // would grow past kMaxTextBytes is a runtime error.
    void appendInPlace(std::string_view tail);
    // Gives up the text, moving it out when nobody else shares it.
    std::string takeText() &&;

  private:
    enum class Kind : unsigned char { Unset, Number, Text };
    Kind kind_ = Kind::Unset;
    double number_ = 0;
    std::shared_ptr<std::string> text_;
};

// A value's text without copying it: the stored text of a text value, or the
// printed form of a number kept here. Valid while the value lives.
class TextOf {
  public:
    explicit TextOf(const Value& v);
    TextOf(const TextOf&) = delete;
    TextOf& operator=(const TextOf&) = delete;

    const std::string& str() const { return *text_; }

  private:
    std::string printed_;
    const std::string* text_;
};

// Numeric text: optional blanks, an optional sign, decimal digits with an optional
// fraction and exponent, optional blanks. "" is not numeric.
std::optional<double> parseNumericText(std::string_view text);

// A whole number up to 2^53 prints in full without a decimal point; others with up
// to 15 significant digits.
std::string formatNumber(double n);

// -1, 0 or 1: numerically when both sides are numbers or numeric text, otherwise as
// text in UTF-16 code unit order.
int compareValues(const Value& a, const Value& b);

// Runtime error for lengths past kMaxTextBytes.
void checkTextLength(std::size_t bytes);

}  // namespace ttscript
