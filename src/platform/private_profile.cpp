#include "platform/private_profile.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/codepage.h"
#include "platform/failure.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "platform/utf.h"

namespace mirudana {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// One line of the file as raw code page 932 bytes: its text [begin, end) and its
// line end [end, next), which is empty on a last line without one.
struct Line {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
};

enum class LineKind { Other, Section, Key };

// What a line means; `name` and `value` are trimmed UTF-8 text.
struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string name;
    std::string value;
};

// Lines end at CR LF, LF or CR; neither byte can be the second byte of a
// double-byte character, so splitting the raw bytes is safe.
std::vector<Line> splitLines(std::string_view content) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < content.size()) {
        std::size_t end = content.find_first_of("\r\n", begin);
        if (end == std::string_view::npos) {
            lines.push_back({begin, content.size(), content.size()});
            break;
        }
        std::size_t next = end + 1;
        if (content[end] == '\r' && next < content.size() && content[next] == '\n') ++next;
        lines.push_back({begin, end, next});
        begin = next;
    }
    return lines;
}

std::string_view trimBlanks(std::string_view text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

ParsedLine parseLine(std::string_view raw) {
    const std::string decoded = cp932ToUtf8(raw);
    std::string_view text = trimBlanks(decoded);
    ParsedLine line;
    if (text.empty() || text.front() == ';') return line;
    if (text.front() == '[') {
        std::size_t close = text.find(']');
        if (close == std::string_view::npos) return line;
        line.kind = LineKind::Section;
        line.name = trimBlanks(text.substr(1, close - 1));
        return line;
    }
    std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) return line;
    line.kind = LineKind::Key;
    line.name = trimBlanks(text.substr(0, equals));
    line.value = trimBlanks(text.substr(equals + 1));
    return line;
}

// The upper-case partner of a lower-case letter of the code page: Latin, full-width
// Latin, Greek, Cyrillic and the small Roman numerals.
char32_t foldCase(char32_t c) {
    if ((c >= U'a' && c <= U'z') || (c >= 0xFF41 && c <= 0xFF5A) || (c >= 0x0430 && c <= 0x044F)) {
        return c - 0x20;
    }
    if (c >= 0x03B1 && c <= 0x03C9 && c != 0x03C2) return c - 0x20;
    if (c == 0x0451) return 0x0401;
    if (c >= 0x2170 && c <= 0x217F) return c - 0x10;
    return c;
}

bool sameName(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t k = 0;
    while (i < a.size() && k < b.size()) {
        if (foldCase(decodeUtf8(a, i)) != foldCase(decodeUtf8(b, k))) return false;
    }
    return i == a.size() && k == b.size();
}

// A name as the platform's ANSI functions see it: through code page 932 and trimmed.
std::string profileName(const std::string& name) {
    return std::string(trimBlanks(cp932ToUtf8(utf8ToCp932(name))));
}

// Where a section and a key lie among the lines of a file.
struct Location {
    std::optional<std::size_t> section;  // the header of the first matching section
    std::optional<std::size_t> key;      // the first matching key in that section
    std::size_t lastLine = 0;            // the last non-blank line of that section
    std::string value;                   // the key's value
};

Location locate(std::string_view content, const std::vector<Line>& lines,
                const std::string& section, const std::string& key) {
    Location where;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::string_view raw = content.substr(lines[n].begin, lines[n].end - lines[n].begin);
        ParsedLine line = parseLine(raw);
        if (line.kind == LineKind::Section) {
            if (where.section) break;  // a repeated section is not searched
            if (sameName(line.name, section)) where.section = where.lastLine = n;
            continue;
        }
        if (!where.section) continue;  // lines before the first section belong to none
        if (!trimBlanks(raw).empty()) where.lastLine = n;
        if (line.kind == LineKind::Key && sameName(line.name, key)) {
            where.key = n;
            where.value = std::move(line.value);
            break;
        }
    }
    return where;
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::optional<std::string> readProfile(const std::string& fileName) {
    if (!FileExists(fileName)) return std::string();
    try {
        return readWholeFile(fileName);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The whole file is replaced in one step, so a failed write (a full disk, say) leaves
// the old file as it was instead of cut short; a read-only file is refused, as the
// platform refuses it.
bool writeBytes(const std::string& fileName, const std::string& content) {
    try {
        FileReplacement file(fileName);
        file.write(content);
        file.commit();
        return true;
    } catch (const Failure&) {
        return false;
    }
}

}  // namespace

std::string privateProfileString(std::string_view content, const std::string& section,
                                 const std::string& key, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    Location where = locate(content, splitLines(content), profileName(section), profileName(key));
    if (!where.key) return {};
    std::string bytes = utf8ToCp932(unquote(where.value));
    bytes.resize(std::min(bytes.find('\0'), bytes.size()));
    bytes.resize(cp932PrefixLength(bytes, bufferSize - 1));
    return cp932ToUtf8(bytes);
}

bool writePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& fileName) {
    std::optional<std::string> content = readProfile(fileName);
    if (!content) return false;
    const std::string sectionName = profileName(section);
    const std::string keyName = profileName(key);
    const std::string valueBytes = utf8ToCp932(value);
    const std::vector<Line> lines = splitLines(*content);
    Location where = locate(*content, lines, sectionName, keyName);

    if (where.key) {
        // Keep the name as the file spells it; only the value changes.
        const Line& line = lines[*where.key];
        std::size_t equals = content->find('=', line.begin);
        std::string name(
            trimBlanks(std::string_view(*content).substr(line.begin, equals - line.begin)));
        content->replace(line.begin, line.end - line.begin, name + "=" + valueBytes);
    } else if (where.section) {
        const Line& last = lines[where.lastLine];
        std::string entry = utf8ToCp932(keyName) + "=" + valueBytes + std::string(kLineEnd);
        if (last.next == last.end) entry.insert(0, kLineEnd);  // the file ends without a line end
        content->insert(last.next, entry);
    } else {
        if (!content->empty() && content->back() != '\n' && content->back() != '\r') {
            content->append(kLineEnd);
        }
        content->append("[" + utf8ToCp932(sectionName) + "]" + std::string(kLineEnd));
        content->append(utf8ToCp932(keyName) + "=" + valueBytes + std::string(kLineEnd));
    }
    return writeBytes(fileName, *content);
}

}  // namespace mirudana
