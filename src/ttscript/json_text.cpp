#include "ttscript/json_text.h"

#include "platform/utf.h"
#include "ttscript/value.h"

namespace ttscript {
namespace {

// The escape of an ASCII byte, or "" for one kept as it is.
constexpr std::string_view escapeOf(char c) {
    switch (c) {
        case '"':
            return "\\\"";
        case '\\':
            return "\\\\";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        case '\b':
            return "\\b";
        case '\f':
            return "\\f";
        case '<':
            return "\\u003c";
        case '>':
            return "\\u003e";
        case '&':
            return "\\u0026";
        default:
            return "";
    }
}

// Hands `sink` the literal's pieces in order, quotes excluded.
template <typename Sink>
void forEachPiece(std::string_view utf8, Sink&& sink) {
    static constexpr std::string_view kLineSeparator = "\\u2028", kParagraphSeparator = "\\u2029";
    static constexpr std::string_view kReplacementText = "\xEF\xBF\xBD";
    std::size_t kept = 0;  // where the run of bytes kept as they are starts
    auto flush = [&](std::size_t end) {
        if (end > kept) sink(utf8.substr(kept, end - kept));
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t at = i;
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte >= 0x80) {
            char32_t cp = mirudana::decodeUtf8(utf8, i);
            bool invalid = cp == mirudana::kReplacement && i - at == 1;
            if (!invalid && cp != 0x2028 && cp != 0x2029) continue;
            flush(at);
            sink(invalid ? kReplacementText : cp == 0x2028 ? kLineSeparator : kParagraphSeparator);
            kept = i;
            continue;
        }
        ++i;
        std::string_view escape = escapeOf(utf8[at]);
        if (escape.empty() && byte >= 0x20 && byte != 0x7F) continue;
        flush(at);
        if (escape.empty()) {
            constexpr std::string_view kHex = "0123456789abcdef";
            const char code[] = {'\\', 'u', '0', '0', kHex[byte >> 4], kHex[byte & 0xF]};
            sink(std::string_view(code, sizeof code));
        } else {
            sink(escape);
        }
        kept = i;
    }
    flush(utf8.size());
}

}  // namespace

std::string jsonStringLiteral(std::string_view utf8) {
    std::size_t size = 2;
    forEachPiece(utf8, [&](std::string_view piece) { size += piece.size(); });
    std::string out;
    reserveToAppend(out, size);
    out += '"';
    forEachPiece(utf8, [&](std::string_view piece) { out += piece; });
    out += '"';
    return out;
}

}  // namespace ttscript
