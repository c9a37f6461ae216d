// Blocks of one size kept for reuse by the thread that freed them, so that what a
// loop makes and drops at every round (a list Split gives, a host's long answer)
// does not go to the allocator each time. At most kKept blocks wait; the rest are
// freed at once. Under AddressSanitizer every block goes to the allocator, which
// then still sees a block used after it was freed.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace ttscript {

template <std::size_t Size>
class BlockPool {
  public:
    static void* take() {
#ifndef __SANITIZE_ADDRESS__
        std::vector<void*>& kept = free().blocks;
        if (!kept.empty()) {
            void* block = kept.back();
            kept.pop_back();
            return block;
        }
#endif
        return ::operator new(Size);
    }

    static void give(void* block) noexcept {
#ifndef __SANITIZE_ADDRESS__
        std::vector<void*>& kept = free().blocks;
        if (kept.size() < kept.capacity()) {
            kept.push_back(block);
            return;
        }
#endif
        ::operator delete(block);
    }

  private:
    static constexpr std::size_t kKept = 64;

    struct Free {
        std::vector<void*> blocks;
        Free() {
            // Without room for the list, blocks simply go back to the allocator.
            try {
                blocks.reserve(kKept);
            } catch (const std::bad_alloc&) {
            }
        }
        ~Free() {
            for (void* block : blocks) ::operator delete(block);
        }
    };

    static Free& free() {
        thread_local Free kept;
        return kept;
    }
};

}  // namespace ttscript
