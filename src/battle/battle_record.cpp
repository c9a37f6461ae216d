#include "battle/battle_record.h"

#include <limits>

namespace mirudana {

TextItems::TextItems(const std::vector<std::string>& texts) {
    reserve(texts.size());
    for (const std::string& text : texts) appendIfRoom(text);
}

std::string_view TextItems::view(std::size_t offset) const {
    std::size_t begin = offset == 0 ? 0 : ends_[offset - 1];
    return std::string_view(chars_).substr(begin, ends_[offset] - begin);
}

std::vector<std::string> TextItems::toVector() const {
    std::vector<std::string> texts;
    texts.reserve(size());
    for (std::size_t k = 0; k < size(); ++k) texts.emplace_back(view(k));
    return texts;
}

void TextItems::clear() {
    constexpr std::size_t kKeptBytes = 64 * 1024;
    if (chars_.capacity() > kKeptBytes || ends_.capacity() * sizeof(ends_[0]) > kKeptBytes) {
        *this = TextItems();
        return;
    }
    chars_.clear();
    ends_.clear();
}

bool TextItems::appendIfRoom(std::string_view text) {
    if (text.size() > std::numeric_limits<std::uint32_t>::max() - chars_.size()) return false;
    chars_.append(text);
    ends_.push_back(static_cast<std::uint32_t>(chars_.size()));
    return true;
}

std::optional<std::string_view> TextList::at(std::int64_t index) const {
    if (!present || index < lowerBound || index > upperBound()) return std::nullopt;
    auto offset = static_cast<std::uint64_t>(index - lowerBound);
    // A list with more dimensions may hold fewer elements than its first count.
    if (offset >= items.size()) return std::nullopt;
    return items.view(offset);
}

}  // namespace mirudana
