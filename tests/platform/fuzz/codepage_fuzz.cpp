// libFuzzer entry point for the code page conversions, both ways, on any bytes:
// decoding always gives valid UTF-8, encoding what was decoded and decoding it again
// changes nothing, and a prefix never ends inside a double-byte character. The same
// bytes read as UTF-8 are counted, cut and searched in UTF-16 code units as the
// converted text would be.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/codepage.h"
#include "platform/utf.h"

namespace {

using namespace mirudana;

void check(bool holds) {
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string decoded = cp932ToUtf8(bytes);
    check(isValidUtf8(decoded));
    // Every decoded character has a code (U+30FB stands for the undefined ones).
    const std::string encoded = utf8ToCp932(decoded);
    check(encoded.find('?') == std::string::npos || bytes.find('?') != std::string_view::npos);
    check(cp932ToUtf8(encoded) == decoded);

    // The input read as UTF-8, valid or not: it encodes to no more bytes than it has.
    const std::string fromText = utf8ToCp932(bytes);
    check(fromText.size() <= bytes.size());
    check(isValidUtf8(cp932ToUtf8(fromText)));

    const std::u16string units = utf8ToUtf16(bytes);
    check(codeUnitCount(bytes) == units.size());
    const std::size_t from = size < 2 ? 0 : data[1] % (units.size() + 2);
    const std::size_t count = size < 3 ? 0 : data[2] % 16;
    check(codeUnitSlice(bytes, from, count) ==
          (from > units.size() ? "" : utf16ToUtf8(units.substr(from, count))));
    const std::string_view find = bytes.substr(size / 2, count);
    check(findInCodeUnits(bytes, find, from) == units.find(utf8ToUtf16(find), from));

    // Cutting valid text where an earlier walk through it stopped, before or after.
    const std::u16string decodedUnits = utf8ToUtf16(decoded);
    const auto cut = [&](std::size_t at, std::size_t n) {
        return at > decodedUnits.size() ? "" : utf16ToUtf8(decodedUnits.substr(at, n));
    };
    KnownPlaces known;
    const std::size_t first = size < 4 ? 0 : data[3] % (decodedUnits.size() + 2);
    const std::size_t second = size < 5 ? 0 : data[4] % (decodedUnits.size() + 2);
    check(codeUnitSlice(decoded, first, count, known) == cut(first, count));
    check(codeUnitSlice(decoded, second, count, known) == cut(second, count));

    const std::size_t limit = size == 0 ? 0 : data[0];
    const std::size_t prefix = cp932PrefixLength(bytes, limit);
    check(prefix <= limit && prefix <= bytes.size());
    // Only a character cut at the limit stops a prefix short of the whole.
    check(prefix == bytes.size() || prefix + 2 > limit);
    return 0;
}
