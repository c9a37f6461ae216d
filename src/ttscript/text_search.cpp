#include "ttscript/text_search.h"

#include <cstring>

namespace ttscript {

// Scans for the last byte of `part`, then compares the rest. In UTF-8 a Japanese
// separator such as "、" shares its lead byte with nearly every character of the
// text around it, but seldom its last byte, so a scan for the first byte would stop
// and compare at almost every character.
std::size_t findText(std::string_view text, std::string_view part, std::size_t from) {
    if (part.size() == 1) return text.find(part[0], from);
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

bool SplitItems::next(std::string_view& item) {
    if (done_) return false;
    std::size_t at =
        separator_.empty() ? std::string_view::npos : findText(text_, separator_, from_);
    if (at == std::string_view::npos) {
        item = text_.substr(from_);
        done_ = true;
    } else {
        item = text_.substr(from_, at - from_);
        from_ = at + separator_.size();
    }
    return true;
}

}  // namespace ttscript
