#include "refdata/text_helpers.h"

#include <cstddef>

#include "app/error_reporter.h"

namespace mirudana {
namespace {

// Character positions of GetTextValue are 16-bit, counted in UTF-16 code units.
constexpr std::size_t kMaxCharacterPosition = 32767;

// The UTF-16 length of the first `bytes` bytes of UTF-8 `text`.
std::size_t utf16Length(const std::string& text, std::size_t bytes) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80) ++units;
        if (byte >= 0xF0) ++units;  // a character beyond the BMP takes a surrogate pair
    }
    return units;
}

}  // namespace

std::string GetCardID(const std::string& text, UserInterface& ui) {
    try {
        return text.substr(0, text.find('/'));
    } catch (...) {
        reportCurrentException(ui, "BattleOperation.GetCardID");
        return {};
    }
}

std::string GetTextValue(const std::string& text, const std::string& key) {
    try {
        std::size_t keyStart = text.find(key);
        if (keyStart == std::string::npos) return {};
        std::size_t lineEnd = text.find("\r\n", keyStart);
        if (lineEnd == std::string::npos) lineEnd = text.size();
        // The line end (1-based, the CR or the position after the text) must still be a
        // 16-bit position; the key starts before it, so it is then one too.
        if (utf16Length(text, lineEnd) + 1 > kMaxCharacterPosition) return {};
        std::string line = text.substr(keyStart, lineEnd - keyStart);
        std::size_t colon = line.find(':');
        return colon == std::string::npos ? line : line.substr(colon + 1);
    } catch (...) {
        return {};
    }
}

}  // namespace mirudana
