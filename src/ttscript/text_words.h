// Short texts read a word at a time, in registers: to pack a short text into a
// value, hash a dictionary key and compare two keys without a call to the library
// for the few bytes most of them have.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace ttscript {

// Up to eight bytes of `s` from `at` on as a little-endian word, zero past its end,
// read without touching a byte outside it.
inline std::uint64_t bytesAt(std::string_view s, std::size_t at) {
    std::size_t n = s.size();
    if (at >= n) return 0;
    std::uint64_t word = 0;
    if (n >= 8) {
        std::size_t from = std::min(at, n - 8);
        std::memcpy(&word, s.data() + from, 8);
        return word >> (8 * (at - from));
    }
    for (std::size_t i = at; i < n; ++i) {
        word |= std::uint64_t{static_cast<unsigned char>(s[i])} << (8 * (i - at));
    }
    return word;
}

// A text of up to sixteen bytes as two little-endian words, zero past its end: the
// same as bytesAt(s, 0) and bytesAt(s, 8), but with a few overlapping loads in
// place of a byte at a time, as most keys are that short.
struct ShortWords {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    bool operator==(const ShortWords&) const = default;
};

inline ShortWords shortWords(std::string_view s) {
    const char* p = s.data();
    std::size_t n = s.size();
    auto load = [p](std::size_t at, std::size_t bytes) {
        std::uint64_t word = 0;
        std::memcpy(&word, p + at, bytes);
        return word;
    };
    if (n >= 8) {
        // The last eight bytes, shifted down past those the first word holds.
        return {load(0, 8), n == 8 ? 0 : load(n - 8, 8) >> (8 * (16 - n))};
    }
    // Two loads that overlap where the text is shorter than both: the bytes they
    // share are the same, so or-ing them is exact.
    if (n >= 4) return {load(0, 4) | load(n - 4, 4) << (8 * (n - 4)), 0};
    if (n == 0) return {};
    return {load(0, 1) | load(n / 2, 1) << (8 * (n / 2)) | load(n - 1, 1) << (8 * (n - 1)), 0};
}

inline bool sameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (a.size() > 16) return std::memcmp(a.data(), b.data(), a.size()) == 0;
    return shortWords(a) == shortWords(b);
}

// A hash whose low bits are as good as its high ones, as a table indexed by them
// needs: sixteen bytes at a time, each half multiplied by its own odd constant,
// then mixed.
inline std::size_t hashText(std::string_view s) {
    auto mix = [](std::uint64_t x) {
        x ^= x >> 33;
        x *= 0xff51afd7ed558ccdULL;
        x ^= x >> 33;
        x *= 0xc4ceb9fe1a85ec53ULL;
        return x ^ (x >> 33);
    };
    auto block = [](ShortWords w) {
        return w.low * 0x9e3779b97f4a7c15ULL ^ w.high * 0xc2b2ae3d27d4eb4fULL;
    };
    std::uint64_t h = s.size();
    std::size_t at = 0;
    for (; at + 16 < s.size(); at += 16) h = mix(h ^ block({bytesAt(s, at), bytesAt(s, at + 8)}));
    return static_cast<std::size_t>(mix(h ^ block(shortWords(s.substr(at)))));
}

}  // namespace ttscript
