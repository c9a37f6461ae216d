#include "ttscript/key_index.h"

#include <new>
#include <utility>

namespace ttscript {
namespace {

constexpr std::size_t kLeastSlots = 8;

}  // namespace

std::size_t KeyIndex::grownSize() const {
    if (2 * (count_ + 1) <= slots_.size()) return slots_.size();
    return slots_.empty() ? kLeastSlots : 2 * slots_.size();
}

std::size_t KeyIndex::growthBytes() const {
    std::size_t size = grownSize();
    return size == slots_.size() ? 0 : size * sizeof(Slot);
}

void KeyIndex::place(const Slot& slot) {
    std::size_t mask = slots_.size() - 1;
    std::size_t i = slot.hash & mask;
    while (slots_[i].position != kEmpty) i = (i + 1) & mask;
    slots_[i] = slot;
}

void KeyIndex::insert(std::size_t hash, std::size_t position) {
    if (position >= kEmpty) throw std::bad_alloc();
    if (std::size_t size = grownSize(); size != slots_.size()) {
        std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(size));
        for (const Slot& slot : old) {
            if (slot.position != kEmpty) place(slot);
        }
    }
    place({keptOf(hash), static_cast<std::uint32_t>(position)});
    ++count_;
}

// Slots after the gap that probing would no longer reach move back into it, so
// no mark of a removed key is left to slow later lookups.
void KeyIndex::erase(std::size_t hash, std::size_t position) {
    std::size_t mask = slots_.size() - 1;
    std::size_t gap = keptOf(hash) & mask;
    while (slots_[gap].position != position) gap = (gap + 1) & mask;
    for (std::size_t j = (gap + 1) & mask; slots_[j].position != kEmpty; j = (j + 1) & mask) {
        std::size_t home = slots_[j].hash & mask;
        // Whether `home` lies cyclically in (gap, j]: then the slot is reached as it is.
        bool reached = gap <= j ? (gap < home && home <= j) : (gap < home || home <= j);
        if (!reached) {
            slots_[gap] = slots_[j];
            gap = j;
        }
    }
    slots_[gap].position = kEmpty;
    --count_;
}

void KeyIndex::clear() noexcept {
    std::vector<Slot>().swap(slots_);
    count_ = 0;
}

}  // namespace ttscript
