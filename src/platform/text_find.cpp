#include "platform/text_find.h"

#include <chrono>
#include <cstdint>
#include <random>

namespace mirudana {
namespace {

// Polynomial hashes modulo the prime 2^61 - 1.
constexpr std::uint64_t kPrime = (std::uint64_t{1} << 61) - 1;

std::uint64_t addMod(std::uint64_t a, std::uint64_t b) {
    std::uint64_t sum = a + b;
    return sum >= kPrime ? sum - kPrime : sum;
}

std::uint64_t subtractMod(std::uint64_t a, std::uint64_t b) {
    return a >= b ? a - b : a + kPrime - b;
}

__extension__ typedef unsigned __int128 Wide;  // gcc's and clang's, as -Wpedantic wants said

std::uint64_t multiplyMod(std::uint64_t a, std::uint64_t b) {
    Wide product = static_cast<Wide>(a) * b;
    return addMod(static_cast<std::uint64_t>(product & kPrime),
                  static_cast<std::uint64_t>(product >> 61));
}

// Chosen once a process, so that no text can be made to match the hash of a part it
// does not hold at many places.
std::uint64_t hashBase() {
    static const std::uint64_t base = [] {
        std::random_device device;
        auto now =
            static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        std::uint64_t seed = (std::uint64_t{device()} << 32) ^ device() ^ now;
        return 256 + seed % (kPrime - 512);
    }();
    return base;
}

std::uint64_t byteAt(std::string_view text, std::size_t at) {
    return static_cast<unsigned char>(text[at]);
}

}  // namespace

std::size_t findLongText(std::string_view text, std::string_view part, std::size_t from) {
    const std::size_t size = part.size();
    if (from > text.size() || text.size() - from < size) return std::string_view::npos;
    const std::uint64_t base = hashBase();
    std::uint64_t wanted = 0, window = 0, lead = 1;  // lead: base^(size - 1)
    for (std::size_t i = 0; i < size; ++i) {
        wanted = addMod(multiplyMod(wanted, base), byteAt(part, i));
        window = addMod(multiplyMod(window, base), byteAt(text, from + i));
        if (i + 1 < size) lead = multiplyMod(lead, base);
    }
    for (std::size_t at = from;; ++at) {
        if (window == wanted && text.substr(at, size) == part) return at;
        if (at + size == text.size()) return std::string_view::npos;
        window = subtractMod(window, multiplyMod(byteAt(text, at), lead));
        window = addMod(multiplyMod(window, base), byteAt(text, at + size));
    }
}

}  // namespace mirudana
