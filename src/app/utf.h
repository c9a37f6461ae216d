// UTF-8 and UTF-16 helpers for the places that count or compare code units.
#pragma once

#include <string>
#include <string_view>

namespace mirudana {

bool isValidUtf8(std::string_view text);

// Invalid UTF-8 sequences become U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);

// Unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace mirudana
