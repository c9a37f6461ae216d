#include "battle/file_title.h"

#include <algorithm>
#include <cstdint>

#include "platform/codepage.h"

namespace mirudana {
namespace {

constexpr std::size_t kMaxTitleBytes = 261;

bool isSlash(char c) { return c == '\\' || c == '/'; }

// The length of the character at `i`: a lead byte with a byte after it makes a
// double-byte character.
std::size_t characterLength(const std::string& bytes, std::size_t i) {
    return isCp932LeadByte(static_cast<std::uint8_t>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
}

}  // namespace

std::string Path2FileTitle(const std::string& path) {
    std::string bytes = utf8ToCp932(path);
    // The platform's path functions see a C string: it ends at the first NUL.
    bytes.resize(std::min(bytes.size(), bytes.find('\0')));

    std::size_t nameStart = 0;
    for (std::size_t i = 0; i < bytes.size(); i += characterLength(bytes, i)) {
        char c = bytes[i];
        if ((isSlash(c) || c == ':') && i + 1 < bytes.size() && !isSlash(bytes[i + 1])) {
            nameStart = i + 1;
        }
    }

    std::size_t nameEnd = nameStart;
    while (nameEnd < bytes.size()) {
        std::size_t next = nameEnd + characterLength(bytes, nameEnd);
        if (next - nameStart > kMaxTitleBytes) break;
        nameEnd = next;
    }
    return cp932ToUtf8(std::string_view(bytes).substr(nameStart, nameEnd - nameStart));
}

}  // namespace mirudana
