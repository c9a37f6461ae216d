#include "refdata/field_reader.h"

#include <string_view>

#include "platform/codepage.h"
#include "platform/failure.h"

namespace mirudana {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// None of these bytes can be the trail byte of a double-byte character (trail bytes
// are 0x40 and above), so scanning the raw bytes for them is safe.
std::size_t findSeparator(std::string_view bytes, std::size_t from) {
    // A plain loop: find_first_of looks each byte up in the set, several times slower
    // over the twenty thousand lines of a large card list.
    std::size_t end = from;
    while (end < bytes.size() && bytes[end] != ',' && bytes[end] != '\r' && bytes[end] != '\n') {
        ++end;
    }
    return end;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::string FieldReader::next() {
    std::string_view bytes = bytes_;
    if (atEnd()) {
        if (!afterComma_) throw Failure(failure::kInputPastEnd);
        afterComma_ = false;
        return {};
    }
    std::size_t start = pos_;
    while (start < bytes.size() && isBlank(bytes[start])) ++start;
    if (start < bytes.size() && bytes[start] == '"') {
        std::size_t close = bytes.find('"', start + 1);
        if (close == std::string_view::npos) {
            pos_ = bytes.size();
            throw Failure(failure::kInputPastEnd);
        }
        consumeSeparator(findSeparator(bytes, close + 1));
        return decoded(bytes.substr(start + 1, close - start - 1));
    }
    std::size_t end = findSeparator(bytes, start);
    consumeSeparator(end);
    return decoded(trimmed(bytes.substr(start, end - start)));
}

// Decoded in a buffer kept for the whole file, then copied to a text of just the
// right size: a table of twenty thousand cards keeps no room to spare.
std::string FieldReader::decoded(std::string_view field) {
    cp932ToUtf8(field, scratch_);
    return scratch_;
}

void FieldReader::consumeSeparator(std::size_t end) {
    afterComma_ = end < bytes_.size() && bytes_[end] == ',';
    pos_ = end;
    if (pos_ >= bytes_.size()) return;
    bool carriageReturn = bytes_[pos_] == '\r';
    ++pos_;
    if (carriageReturn && pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
}

}  // namespace mirudana
