// A dictionary's index: the position of each key's entry under the key's hash, by
// open addressing with linear probing in a table at most half full. Each slot keeps
// the hash's low 32 bits beside the position, so a lookup hashes its key once and
// compares keys only where those match, and growing never hashes a key again. A slot
// takes eight bytes, so that the table of a dictionary of a few hundred keys stays
// in the processor's nearest cache beside its entries.
#pragma once

#include <cstddef>
#include <cstdint>
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
        std::uint32_t kept = keptOf(hash);
        for (std::size_t i = kept & mask;; i = (i + 1) & mask) {
            const Slot& slot = slots_[i];
            if (slot.position == kEmpty) return kNone;
            if (slot.hash == kept && matches(slot.position)) return slot.position;
        }
    }

    // Throws std::bad_alloc for a position too large for a slot, which memory runs
    // out long before.
    void insert(std::size_t hash, std::size_t position);
    // Removes `position`, which is under `hash`.
    void erase(std::size_t hash, std::size_t position);
    void clear() noexcept;

    // The bytes of the table, and of the larger one the next insert would move to
    // (0 when it fits), which is held beside this one for a moment.
    std::size_t tableBytes() const { return slots_.capacity() * sizeof(Slot); }
    std::size_t growthBytes() const;

  private:
    static constexpr std::uint32_t kEmpty = UINT32_MAX;
    // The bits of a hash a slot keeps, which also place it in the table.
    static std::uint32_t keptOf(std::size_t hash) { return static_cast<std::uint32_t>(hash); }
    struct Slot {
        std::uint32_t hash = 0;  // keptOf the key's
        std::uint32_t position = kEmpty;
    };

    std::size_t grownSize() const;
    void place(const Slot& slot);

    std::vector<Slot> slots_;  // a power of two of them, or none
    std::size_t count_ = 0;
};

}  // namespace ttscript
