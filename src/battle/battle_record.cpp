#include "battle/battle_record.h"

namespace mirudana {

const std::string* TextList::at(std::int64_t index) const {
    if (!present || index < lowerBound || index > upperBound()) return nullptr;
    auto offset = static_cast<std::uint64_t>(index - lowerBound);
    // A list with more dimensions may hold fewer elements than its first count.
    if (offset >= items.size()) return nullptr;
    return &items[offset];
}

}  // namespace mirudana
