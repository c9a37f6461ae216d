// The numeric test and the 16-bit conversion applied to rarity values read from INI files.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace mirudana {

// The value of `text` when it is a plain decimal number: optional spaces or tabs
// around it, an optional sign, digits with an optional fraction (".5" and "5." count)
// and an optional exponent ("1e9", "2.5E-1"). Anything else (hex, thousands
// separators, "inf", the empty text) is not numeric. A number too large for a double
// gives infinity, which the conversion below rejects; one too small gives 0. The
// report scripts read numeric text with the same rule.
std::optional<double> parseDecimalNumber(std::string_view text);

// `value` rounded to the nearest whole number, halves to the even neighbour.
// Throws Failure 6 when the result lies outside -32,768 to 32,767.
std::int16_t roundToInt16(double value);

}  // namespace mirudana
