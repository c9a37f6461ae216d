#include "report/report_writer.h"

#include <functional>
#include <string_view>

#include "platform/codepage.h"
#include "platform/file_replacement.h"

namespace mirudana {
namespace {

// About a megabyte of `text`, ending just after an ASCII byte (or at its end):
// such a byte is never part of a longer character, so the pieces convert exactly
// as the whole would.
std::size_t pieceLength(std::string_view text) {
    constexpr std::size_t kPiece = 1 << 20;
    if (text.size() <= kPiece) return text.size();
    for (std::size_t end = kPiece; end < text.size(); ++end) {
        if (static_cast<unsigned char>(text[end - 1]) < 0x80) return end;
    }
    return text.size();
}

}  // namespace

void encodeReport(std::string_view text, ReportEncoding encoding,
                  const std::function<void(std::string_view)>& take) {
    if (encoding == ReportEncoding::Utf8) {
        take(text);
    } else {
        // Converted a piece at a time so a large report is never held twice.
        // Characters typed outside Windows as JIS X 0208 has them keep their
        // look-alikes.
        std::string piece;
        for (std::string_view rest = text; !rest.empty();) {
            std::size_t length = pieceLength(rest);
            utf8ToCp932(rest.substr(0, length), Unrepresentable::LookAlike, piece);
            take(piece);
            rest.remove_prefix(length);
        }
    }
    take("\r\n");
}

void writeReportFile(const std::string& path, std::string_view text, ReportEncoding encoding) {
    FileReplacement file(path);
    encodeReport(text, encoding, [&file](std::string_view bytes) { file.write(bytes); });
    file.commit();
}

}  // namespace mirudana
