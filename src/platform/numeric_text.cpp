#include "platform/numeric_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/failure.h"

namespace mirudana {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::size_t skipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isDigit(text[pos])) ++pos;
    return pos;
}

// Checks the spelling by hand: from_chars alone would also take "inf", "nan" and
// hexadecimal forms, and rejects a leading "+".
bool isDecimalSpelling(std::string_view text) {
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    std::size_t intEnd = skipDigits(text, pos);
    bool digits = intEnd > pos;
    pos = intEnd;
    if (pos < text.size() && text[pos] == '.') {
        std::size_t fracEnd = skipDigits(text, pos + 1);
        digits = digits || fracEnd > pos + 1;
        pos = fracEnd;
    }
    if (!digits) return false;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
        std::size_t expEnd = skipDigits(text, pos);
        if (expEnd == pos) return false;
        pos = expEnd;
    }
    return pos == text.size();
}

// Whether a decimal spelling out of a double's range is too small rather than too
// large: the power of ten of its first significant digit is negative.
bool isTiny(std::string_view text) {
    std::size_t pos = 0;
    long long power = -1;  // of the first significant digit, before the exponent
    bool seenPoint = false, seenDigit = false;
    for (; pos < text.size() && (isDigit(text[pos]) || text[pos] == '.'); ++pos) {
        if (text[pos] == '.') {
            seenPoint = true;
        } else if (!seenDigit && text[pos] == '0') {
            if (seenPoint) --power;
        } else {
            seenDigit = true;
            if (!seenPoint) ++power;
        }
    }
    long long exponent = 0;
    if (pos < text.size()) {
        // A spelling that from_chars found out of range has at most a few exponent
        // digits that matter; clamp so a long one cannot overflow.
        bool negative = text[pos + 1] == '-';
        for (std::size_t i = pos + 1; i < text.size(); ++i) {
            if (isDigit(text[i])) exponent = std::min(exponent * 10 + (text[i] - '0'), 1000000LL);
        }
        if (negative) exponent = -exponent;
    }
    return power + exponent < 0;
}

// A sign and up to 15 digits, nothing else: exact in a double, and the most common
// numeric text by far, so it is read without the general parser.
std::optional<double> shortWholeNumber(std::string_view text) {
    bool negative = !text.empty() && text.front() == '-';
    if (negative || (!text.empty() && text.front() == '+')) text.remove_prefix(1);
    if (text.empty() || text.size() > 15) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (!isDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    auto magnitude = static_cast<double>(value);
    return negative ? -magnitude : magnitude;
}

}  // namespace

std::optional<double> parseDecimalNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    if (std::optional<double> whole = shortWholeNumber(text)) return whole;
    if (!isDecimalSpelling(text)) return std::nullopt;
    bool negative = text.front() == '-';
    if (text.front() == '+' || negative) text.remove_prefix(1);
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        value = isTiny(text) ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::int16_t roundToInt16(double value) {
    // nearbyint rounds halves to even in the default rounding mode.
    double rounded = std::nearbyint(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) throw Failure(failure::kOverflow);
    return static_cast<std::int16_t>(rounded);
}

}  // namespace mirudana
