// Conversion between UTF-8, the text of the core, and code page 932, the text of
// every file the tool reads or writes. Table driven: no set-up per call.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mirudana {

// A byte that starts a double-byte character of code page 932.
constexpr bool isCp932LeadByte(std::uint8_t b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Decodes code page 932 bytes as the platform does: a byte or pair the code page
// does not define becomes U+30FB.
std::string cp932ToUtf8(std::string_view bytes);
// The same into `out`, replacing its content but keeping its storage.
void cp932ToUtf8(std::string_view bytes, std::string& out);

// What the encoder writes for a character the code page lacks.
enum class Unrepresentable {
    Question,  // "?", as the platform does
    // The seven characters of JIS X 0208 that code page 932 decodes to other code
    // points (the wave dash U+301C, which it reads as U+FF5E, and so on) become the
    // code of that other character, which looks the same; anything else "?".
    LookAlike,
};

// Encodes as the platform does: where a character has several codes the lowest
// outside rows 0xED and 0xEE wins; a character the code page lacks becomes what
// `fallback` says. Invalid UTF-8 input counts as unrepresentable.
std::string utf8ToCp932(std::string_view text,
                        Unrepresentable fallback = Unrepresentable::Question);
// The same into `out`, replacing what it held: a buffer converted into again and
// again is allocated once.
void utf8ToCp932(std::string_view text, Unrepresentable fallback, std::string& out);

// The length of the longest start of the code page 932 `bytes`, at most `limit` bytes
// long, that does not end in the middle of a double-byte character.
std::size_t cp932PrefixLength(std::string_view bytes, std::size_t limit);

}  // namespace mirudana
