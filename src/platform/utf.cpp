#include "platform/utf.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/text_find.h"

namespace mirudana {
namespace {

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

// The character at `i`: its length in bytes and in UTF-16 code units, and whether
// it stands for itself (bad input reads as U+FFFD). Walks text without decoding it;
// the Japanese three-byte form is checked here, anything else by decodeUtf8.
struct Step {
    std::size_t bytes;
    std::size_t units;
    bool good;
};
[[gnu::always_inline]] inline Step stepAt(std::string_view text, std::size_t i) {
    auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
    const std::uint8_t b0 = byte(i);
    if (b0 < 0x80) return {1, 1, true};
    if ((b0 & 0xF0) == 0xE0 && text.size() - i >= 3 && (byte(i + 1) & 0xC0) == 0x80 &&
        (byte(i + 2) & 0xC0) == 0x80) {
        // Not overlong (E0 needs A0 on), not a surrogate (ED needs below A0).
        const std::uint8_t b1 = byte(i + 1);
        if ((b0 != 0xE0 || b1 >= 0xA0) && (b0 != 0xED || b1 < 0xA0)) return {3, 1, true};
    }
    std::size_t next = i;
    const char32_t cp = decodeUtf8(text, next);
    // A genuine U+FFFD takes three bytes; a replacement for bad input takes one.
    return {next - i, cp >= 0x10000 ? std::size_t{2} : std::size_t{1},
            cp != kReplacement || next - i != 1};
}

// How many of the bytes from `i` on, up to `room`, are ASCII, in whole steps of
// eight: markup and identifiers are walked eight bytes at a time.
std::size_t asciiRun(std::string_view text, std::size_t i, std::size_t room) {
    std::size_t run = 0;
    while (room - run >= 8 && text.size() - i - run >= 8) {
        std::uint64_t eight;
        std::memcpy(&eight, text.data() + i + run, sizeof eight);
        if ((eight & 0x8080808080808080u) != 0) break;
        run += 8;
    }
    return run;
}

// A place in a text, in bytes and in UTF-16 code units.
struct Place {
    std::size_t byte = 0;
    std::size_t unit = 0;
};

// Walks `at` over the ASCII before code unit `target`; true while a character
// remains before it.
bool skipAscii(std::string_view text, Place& at, std::size_t target) {
    const std::size_t ascii = asciiRun(text, at.byte, target - at.unit);
    at.byte += ascii;
    at.unit += ascii;
    return at.byte < text.size() && at.unit < target;
}

// Walks `at` on by whole characters while they end at or before code unit `target`.
void walkTo(std::string_view text, Place& at, std::size_t target) {
    while (skipAscii(text, at, target)) {
        const Step step = stepAt(text, at.byte);
        if (at.unit + step.units > target) return;
        at.byte += step.bytes;
        at.unit += step.units;
    }
}

// Steps `at` back by whole characters while it is past code unit `target`. Only for
// valid UTF-8, where a character starts at any byte that does not continue one and
// takes two units when its first byte says four bytes.
void walkBackTo(std::string_view text, Place& at, std::size_t target) {
    while (at.unit > target) {
        std::size_t start = at.byte - 1;
        while ((static_cast<std::uint8_t>(text[start]) & 0xC0) == 0x80) --start;
        at.unit -= static_cast<std::uint8_t>(text[start]) >= 0xF0 ? 2 : 1;
        at.byte = start;
    }
}

// The place of code unit `target`, as walkTo finds it, walked from the place last
// found: on from it, or back from it when `target` is nearer to it than to the start
// (a loop that walks a text from its end); remembered for the next walk.
Place walkFrom(std::string_view text, KnownPlaces& known, std::size_t target) {
    Place at;
    if (known.byte <= text.size()) {
        const Place last{known.byte, known.unit};
        if (last.unit <= target) {
            at = last;
        } else if (target >= last.unit / 2) {
            if (known.valid < 0) known.valid = isValidUtf8(text) ? 1 : 0;
            if (known.valid == 1) at = last, walkBackTo(text, at, target);
        }
    }
    walkTo(text, at, target);
    known.byte = at.byte;
    known.unit = at.unit;
    return at;
}

}  // namespace

std::size_t codeUnitCount(std::string_view text) {
    KnownPlaces known;
    return codeUnitCount(text, known);
}

std::size_t codeUnitCount(std::string_view text, KnownPlaces& known) {
    if (known.units == SIZE_MAX) known.units = walkFrom(text, known, SIZE_MAX).unit;
    return known.units;
}

std::string codeUnitSlice(std::string_view text, std::size_t from, std::size_t count) {
    KnownPlaces known;
    return codeUnitSlice(text, from, count, known);
}

std::string codeUnitSlice(std::string_view text, std::size_t from, std::size_t count,
                          KnownPlaces& known) {
    const std::size_t end = count > SIZE_MAX - from ? SIZE_MAX : from + count;
    std::string out;
    Place at = walkFrom(text, known, from);
    if (at.byte == text.size() || from >= end) return out;
    if (at.unit < from) {  // `from` falls within a pair: its second half is kept
        out += kReplacementUtf8;
        at.byte += stepAt(text, at.byte).bytes;
        at.unit += 2;
    }
    // Whole characters are copied in runs; bad input, and a pair cut by the end,
    // come out as U+FFFD.
    std::size_t runStart = at.byte;
    while (skipAscii(text, at, end)) {
        const Step step = stepAt(text, at.byte);
        const bool cut = at.unit + step.units > end;
        if (!step.good || cut) {
            out.append(text.substr(runStart, at.byte - runStart)).append(kReplacementUtf8);
            runStart = at.byte + step.bytes;
        }
        at.byte += step.bytes;
        at.unit += step.units;
        if (cut) break;
    }
    out.append(text.substr(runStart, at.byte - runStart));
    return out;
}

std::size_t findInCodeUnits(std::string_view text, std::string_view find, std::size_t from) {
    KnownPlaces known;
    return findInCodeUnits(text, find, from, known);
}

std::size_t findInCodeUnits(std::string_view text, std::string_view find, std::size_t from,
                            KnownPlaces& known) {
    if (known.valid < 0) known.valid = isValidUtf8(text) ? 1 : 0;
    // Bad input matches as its U+FFFD, which a search of the bytes would not see.
    if (known.valid == 0 || !isValidUtf8(find))
        return utf8ToUtf16(text).find(utf8ToUtf16(find), from);
    Place start = walkFrom(text, known, from);
    if (start.unit < from && start.byte == text.size()) return std::string_view::npos;
    if (find.empty()) return from;
    // In valid UTF-8 a match of valid UTF-8 starts on a character, so the bytes
    // match exactly where the code units do; one starting within a pair cannot.
    if (start.unit < from) start.byte += stepAt(text, start.byte).bytes, start.unit += 2;
    std::size_t at = find.size() > kLongPart ? findLongText(text, find, start.byte)
                                             : text.find(find, start.byte);
    if (at == std::string_view::npos) return at;
    return start.unit + codeUnitCount(text.substr(start.byte, at - start.byte));
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        i += asciiRun(text, i, SIZE_MAX);
        if (i == text.size()) break;
        const Step step = stepAt(text, i);
        if (!step.good) return false;
        i += step.bytes;
    }
    return true;
}

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = decodeUtf8(text, i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        appendUtf8(out, cp);
    }
    return out;
}

}  // namespace mirudana
