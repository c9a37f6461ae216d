#include "platform/codepage.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "platform/utf.h"

namespace mirudana {
namespace {

#include "platform/cp932_table.inc"

constexpr char16_t kUndefined = 0x30FB;  // what the platform gives for a byte pair it lacks

constexpr bool isTrailByte(std::uint8_t b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

constexpr int leadRow(std::uint8_t lead) { return lead < 0xA0 ? lead - 0x81 : lead - 0xE0 + 0x1F; }

constexpr bool inRowsEdOrEe(std::uint16_t code) {
    return (code >> 8) == 0xED || (code >> 8) == 0xEE;
}

// Code point to code: 0 for a character the code page lacks (U+0000 itself is ASCII
// and never looked up). Where a character has several codes the lowest one outside
// rows 0xED and 0xEE wins, which is the platform's choice; the generator checks that
// this picks exactly the codes the charmap marks as reversible.
constexpr std::array<std::uint16_t, 0x10000> buildEncodeTable() {
    std::array<std::uint16_t, 0x10000> table{};
    for (int b = 0x80; b <= 0xFF; ++b) {
        if (!isCp932LeadByte(static_cast<std::uint8_t>(b)))
            table[kSingleByte[b]] = static_cast<std::uint16_t>(b);
    }
    for (bool rowsEdEe : {false, true}) {
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isCp932LeadByte(static_cast<std::uint8_t>(lead))) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                auto code = static_cast<std::uint16_t>((lead << 8) | trail);
                std::uint16_t cp =
                    kDoubleByte[leadRow(static_cast<std::uint8_t>(lead))][trail - 0x40];
                if (cp != 0 && inRowsEdOrEe(code) == rowsEdEe && table[cp] == 0) table[cp] = code;
            }
        }
    }
    return table;
}

constexpr std::array<std::uint16_t, 0x10000> kEncode = buildEncodeTable();

// The code of the look-alike of `cp`, or 0.
std::uint16_t lookAlikeCode(char32_t cp) {
    for (const LookAlike& pair : kLookAlikes) {
        if (pair.codePoint == cp) return pair.code;
    }
    return 0;
}

// Writes the UTF-8 form of a character of the code page (all in the BMP, none
// below U+0080 here) and returns the position after it.
char* putUtf8(char* p, char16_t cp) {
    if (cp < 0x800) {
        *p++ = static_cast<char>(0xC0 | (cp >> 6));
    } else {
        *p++ = static_cast<char>(0xE0 | (cp >> 12));
        *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    }
    *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    return p;
}

// Japanese text is mostly well-formed three-byte UTF-8: its code point at `i`, or
// 0 for anything else (other lengths, overlong forms, surrogates, bad input), which
// the general decoder then takes. Spares the general decoder's checks per byte.
// Inlined into the conversion loops: a call per character costs more than its work.
[[gnu::always_inline]] inline char32_t threeByteCharacter(std::string_view text, std::size_t i) {
    if (text.size() - i < 3) return 0;
    auto b0 = static_cast<std::uint8_t>(text[i]);
    auto b1 = static_cast<std::uint8_t>(text[i + 1]);
    auto b2 = static_cast<std::uint8_t>(text[i + 2]);
    if ((b0 & 0xF0) != 0xE0 || (b1 & 0xC0) != 0x80 || (b2 & 0xC0) != 0x80) return 0;
    char32_t cp = (char32_t{b0} & 0x0F) << 12 | (char32_t{b1} & 0x3F) << 6 | (b2 & 0x3F);
    if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return cp;
}

}  // namespace

std::string cp932ToUtf8(std::string_view bytes) {
    std::string out;
    cp932ToUtf8(bytes, out);
    return out;
}

void cp932ToUtf8(std::string_view bytes, std::string& out) {
    // Sized for the worst case (three UTF-8 bytes per byte) and cut to fit at the end,
    // so the loop writes without capacity checks.
    out.resize(bytes.size() * 3);
    char* p = out.data();
    for (std::size_t i = 0; i < bytes.size();) {
        auto b = static_cast<std::uint8_t>(bytes[i++]);
        if (b < 0x80) {
            *p++ = static_cast<char>(b);
            continue;
        }
        char16_t cp = kSingleByte[b];
        if (isCp932LeadByte(b)) {
            // A lead byte without a valid trail byte gives U+30FB, and the byte after it
            // is read again on its own, so a line end after a stray lead byte survives.
            cp = kUndefined;
            if (i < bytes.size() && isTrailByte(static_cast<std::uint8_t>(bytes[i]))) {
                auto trail = static_cast<std::uint8_t>(bytes[i++]);
                char16_t defined = kDoubleByte[leadRow(b)][trail - 0x40];
                if (defined != 0) cp = defined;
            }
        }
        p = putUtf8(p, cp);
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

std::string utf8ToCp932(std::string_view text, Unrepresentable fallback) {
    std::string out;
    utf8ToCp932(text, fallback, out);
    return out;
}

void utf8ToCp932(std::string_view text, Unrepresentable fallback, std::string& out) {
    // No character takes more bytes in code page 932 than in UTF-8, so the loop
    // writes without capacity checks; a buffer used before keeps its capacity.
    out.resize(text.size());
    char* p = out.data();
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size;) {
        auto b = static_cast<std::uint8_t>(text[i]);
        if (b < 0x80) {
            // Reports are mostly ASCII markup: copy eight bytes at a time and keep
            // those before the first non-ASCII one. The output is never ahead of the
            // input, so the eight bytes fit.
            while (size - i >= sizeof(std::uint64_t)) {
                std::uint64_t eight;
                std::memcpy(&eight, text.data() + i, sizeof eight);
                std::memcpy(p, &eight, sizeof eight);
                std::uint64_t high = eight & 0x8080808080808080u;
                int asciiBits = std::endian::native == std::endian::little ? std::countr_zero(high)
                                                                           : std::countl_zero(high);
                auto ascii = static_cast<std::size_t>(asciiBits / 8);
                p += ascii;
                i += ascii;
                if (ascii < sizeof eight) break;
            }
            while (i < size && static_cast<std::uint8_t>(text[i]) < 0x80) *p++ = text[i++];
            continue;
        }
        // Japanese text comes in runs of three-byte characters with double-byte
        // codes, which need none of the checks below.
        for (char32_t run; (run = threeByteCharacter(text, i)) != 0; i += 3) {
            std::uint16_t code = kEncode[run];
            if (code < 0x100) break;
            *p++ = static_cast<char>(code >> 8);
            *p++ = static_cast<char>(code & 0xFF);
        }
        if (i == size || static_cast<std::uint8_t>(text[i]) < 0x80) continue;
        char32_t cp = threeByteCharacter(text, i);
        if (cp != 0) {
            i += 3;
        } else {
            cp = decodeUtf8(text, i);  // invalid input gives U+FFFD, which has no code
        }
        std::uint16_t code = cp < 0x10000 ? kEncode[cp] : 0;
        if (code == 0 && fallback == Unrepresentable::LookAlike) code = lookAlikeCode(cp);
        if (code == 0) {
            *p++ = '?';
        } else if (code < 0x100) {
            *p++ = static_cast<char>(code);
        } else {
            *p++ = static_cast<char>(code >> 8);
            *p++ = static_cast<char>(code & 0xFF);
        }
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

std::size_t cp932PrefixLength(std::string_view bytes, std::size_t limit) {
    std::size_t length = 0;
    while (length < bytes.size()) {
        std::size_t next = length + 1;
        if (isCp932LeadByte(static_cast<std::uint8_t>(bytes[length])) && next < bytes.size() &&
            isTrailByte(static_cast<std::uint8_t>(bytes[next]))) {
            ++next;
        }
        if (next > limit) break;
        length = next;
    }
    return length;
}

}  // namespace mirudana
