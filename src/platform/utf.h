// UTF-8 and UTF-16 helpers for the places that count or compare code units.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mirudana {

bool isValidUtf8(std::string_view text);

// What invalid input decodes to.
inline constexpr char32_t kReplacement = 0xFFFD;

// The code point of the UTF-8 sequence at `i`, advancing `i` past it. An invalid
// sequence gives U+FFFD and consumes one byte. Inline: the converters call it for
// every character.
inline char32_t decodeUtf8(std::string_view s, std::size_t& i) {
    auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(s[k]); };
    std::uint8_t b0 = byte(i);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((b0 & 0xE0) == 0xC0) {
        length = 2, cp = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3, cp = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4, cp = b0 & 0x07, minimum = 0x10000;
    } else {
        ++i;
        return kReplacement;
    }
    if (i + static_cast<std::size_t>(length) > s.size()) {
        ++i;
        return kReplacement;
    }
    for (int k = 1; k < length; ++k) {
        std::uint8_t b = byte(i + static_cast<std::size_t>(k));
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += static_cast<std::size_t>(length);
    return cp;
}

// Invalid UTF-8 sequences become U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);

// Unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

// Counting and cutting UTF-8 text in UTF-16 code units without converting it: each
// gives what the same step on utf8ToUtf16(text) gives, back through utf16ToUtf8.
// So invalid bytes count one unit each and come out as U+FFFD, a character past
// U+FFFF counts two, and a cut between those two leaves U+FFFD for the half kept.

// What walks through one text have learnt of it, kept beside a text that does not
// change so that reading it a character at a time, or asking its length in a loop,
// does not walk it again from its start each time. Start afresh when the text changes.
struct KnownPlaces {
    std::size_t byte = 0;          // where the last walk stopped, a character's start
    std::size_t unit = 0;          // the same place in code units
    std::size_t units = SIZE_MAX;  // codeUnitCount of the whole text, once counted
    signed char valid = -1;        // isValidUtf8 of the whole text, once checked
};

// utf8ToUtf16(text).size()
std::size_t codeUnitCount(std::string_view text);
std::size_t codeUnitCount(std::string_view text, KnownPlaces& known);

// utf16ToUtf8(utf8ToUtf16(text).substr(from, count)), with "" when `from` is past
// the end and `count` running at most to the end.
std::string codeUnitSlice(std::string_view text, std::size_t from, std::size_t count);
std::string codeUnitSlice(std::string_view text, std::size_t from, std::size_t count,
                          KnownPlaces& known);

// utf8ToUtf16(text).find(utf8ToUtf16(find), from)
std::size_t findInCodeUnits(std::string_view text, std::string_view find, std::size_t from);
std::size_t findInCodeUnits(std::string_view text, std::string_view find, std::size_t from,
                            KnownPlaces& known);

}  // namespace mirudana
