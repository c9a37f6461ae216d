// Finding one text in another in time linear in their sizes, whatever the texts:
// a plain search compares a long part again at nearly every place of a text that
// almost holds it ("aaa…ab" in "aaa…a"), which scripts from anyone may ask.
#pragma once

#include <cstddef>
#include <string_view>

namespace mirudana {

// Parts longer than this are looked for by findLongText; a plain search of a shorter
// one costs at most this many comparisons a byte of the text.
inline constexpr std::size_t kLongPart = 32;

// Where `part` (not empty) first occurs in `text` at or after `from`, or npos. Rolls a
// hash over the text and compares bytes only where it matches the part's.
std::size_t findLongText(std::string_view text, std::string_view part, std::size_t from = 0);

}  // namespace mirudana
