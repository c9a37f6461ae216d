// UTF-8 and UTF-16 helpers for the places that count or compare code units.
#pragma once

#include <string>
#include <string_view>

namespace mirudana {

bool isValidUtf8(std::string_view text);

// The code point of the UTF-8 sequence at `i`, advancing `i` past it. An invalid
// sequence gives U+FFFD and consumes one byte.
char32_t decodeUtf8(std::string_view text, std::size_t& i);

// Invalid UTF-8 sequences become U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);

// Unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace mirudana
