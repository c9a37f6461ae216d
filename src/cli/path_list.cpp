#include "cli/path_list.h"

#include <string_view>

#include "platform/utf.h"

namespace mirudana::cli {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigMark = "\xFE\xFF";

// The list's bytes, at most kMaxListBytes + 1 of them.
std::string readBounded(std::istream& in) {
    std::string bytes;
    char buffer[1 << 16];
    while (bytes.size() <= kMaxListBytes && in.read(buffer, sizeof buffer).gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    return bytes;
}

std::string utf16Text(std::string_view bytes, bool bigEndian) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t k = 0; k < units.size(); ++k) {
        const auto high = static_cast<unsigned char>(bytes[2 * k + (bigEndian ? 0 : 1)]);
        const auto low = static_cast<unsigned char>(bytes[2 * k + (bigEndian ? 1 : 0)]);
        units[k] = static_cast<char16_t>(high << 8 | low);
    }
    return utf16ToUtf8(units);
}

std::string lineProblem(std::size_t number, const char* what) {
    return std::to_string(number) + " 行目" + what;
}

}  // namespace

PathList readPathList(std::istream& in, std::size_t limit) {
    PathList list;
    std::string bytes = readBounded(in);
    if (bytes.size() > kMaxListBytes) {
        list.problem = "一覧が大きすぎます (" + std::to_string(kMaxListBytes >> 20) + " MB まで)。";
        return list;
    }
    std::string_view text = bytes;
    std::string decoded;
    if (text.starts_with(kUtf16LittleMark) || text.starts_with(kUtf16BigMark)) {
        decoded = utf16Text(text.substr(2), text.starts_with(kUtf16BigMark));
        text = decoded;
    } else if (text.starts_with(kUtf8Mark)) {
        text.remove_prefix(kUtf8Mark.size());
    }
    for (std::size_t number = 1; !text.empty() && list.paths.size() < limit; ++number) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.find('\0') != std::string_view::npos) {
            list.problem = lineProblem(number,
                                       "に NUL 文字があります。一覧は UTF-8 (または BOM 付きの "
                                       "UTF-16) で、1 行に 1 つのパスを書きます。");
        } else if (line.size() > kMaxListLineBytes) {
            list.problem = lineProblem(number, "がパスとしては長すぎます。");
        }
        if (!list.problem.empty()) {
            list.paths.clear();
            return list;
        }
        if (!line.empty()) list.paths.emplace_back(line);
    }
    return list;
}

}  // namespace mirudana::cli
