// A dictionary's index: the position of each key's entry under the key's hash, by
// open addressing with linear probing in a table at most half full. Each slot keeps
// the hash beside the position, so a lookup hashes its key once and compares keys
// only where the whole hash matches, and growing never hashes a key again.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "ttscript/text_words.h"

namespace ttscript {

class KeyIndex {
  public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    static std::size_t hashOf(std::string_view key) { return hashText(key); }

    // The position under `hash` for which `matches(position)` holds, or kNone.
    template <class Matches>
    std::size_t find(std::size_t hash, const Matches& matches) const {
        if (slots_.empty()) return kNone;
        std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = slots_[i];
            if (slot.position == kNone) return kNone;
            if (slot.hash == hash && matches(slot.position)) return slot.position;
        }
    }

    void insert(std::size_t hash, std::size_t position);
    // Removes `position`, which is under `hash`.
    void erase(std::size_t hash, std::size_t position);
    void clear() noexcept;

    // The bytes of the table, and of the larger one the next insert would move to
    // (0 when it fits), which is held beside this one for a moment.
    std::size_t tableBytes() const { return slots_.capacity() * sizeof(Slot); }
    std::size_t growthBytes() const;

  private:
    struct Slot {
        std::size_t hash = 0;
        std::size_t position = kNone;
    };

    std::size_t grownSize() const;
    void place(const Slot& slot);

    std::vector<Slot> slots_;  // a power of two of them, or none
    std::size_t count_ = 0;
};

}  // namespace ttscript
