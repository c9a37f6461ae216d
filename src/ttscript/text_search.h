// Finding one text in another, as Split, Count, Item and Replace do many times over.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "platform/text_find.h"

namespace ttscript {

// Where `part` (not empty) first occurs in `text` at or after `from`, or npos.
// Scans for the last byte of `part`, then compares the rest. In UTF-8 a Japanese
// separator such as "、" shares its lead byte with nearly every character of the
// text around it, but seldom its last byte, so a scan for the first byte would stop
// and compare at almost every character. Worked out where it is used, as Split's items
// are often as short as the call. A part longer than kLongPart is looked for in
// linear time instead.
inline std::size_t findText(std::string_view text, std::string_view part, std::size_t from = 0) {
    if (part.size() == 1) return text.find(part[0], from);
    if (part.size() > mirudana::kLongPart) return mirudana::findLongText(text, part, from);
    std::size_t before = part.size() - 1;
    for (std::size_t at = from + before; at < text.size();) {
        const void* hit = std::memchr(text.data() + at, part.back(), text.size() - at);
        if (!hit) break;
        at = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        if (std::memcmp(text.data() + at - before, part.data(), before) == 0) return at - before;
        ++at;
    }
    return std::string_view::npos;
}

// The items `separator` separates in `text`, one at a time, as Split gives them:
// none in "", the whole text when the separator is "".
class SplitItems {
  public:
    SplitItems(std::string_view text, std::string_view separator)
        : text_(text), separator_(separator), done_(text.empty()) {}

    // Sets `item` to the next item; false when none is left.
    bool next(std::string_view& item);

  private:
    std::string_view text_;
    std::string_view separator_;
    std::size_t from_ = 0;
    bool done_;
};

}  // namespace ttscript
