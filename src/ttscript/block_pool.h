// Blocks of one size kept for reuse by the thread that freed them, so that what a
// loop makes and drops at every round (a list, a host's long answer) does not go to
// the allocator each time. At most kKept blocks wait; the rest are freed at once.
// Under AddressSanitizer every block goes to the allocator, which then still sees a
// block used after it was freed.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

// GCC tells of AddressSanitizer by __SANITIZE_ADDRESS__, clang by __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define TTSCRIPT_KEEPS_BLOCKS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TTSCRIPT_KEEPS_BLOCKS 0
#endif
#endif
#ifndef TTSCRIPT_KEEPS_BLOCKS
#define TTSCRIPT_KEEPS_BLOCKS 1
#endif

namespace ttscript {

template <std::size_t Size>
class BlockPool {
  public:
    static void* take() {
#if TTSCRIPT_KEEPS_BLOCKS
        if (std::vector<void*>* kept = blocks(); kept && !kept->empty()) {
            void* block = kept->back();
            kept->pop_back();
            return block;
        }
#endif
        return ::operator new(Size);
    }

    static void give(void* block) noexcept {
#if TTSCRIPT_KEEPS_BLOCKS
        if (std::vector<void*>* kept = blocks(); kept && kept->size() < kept->capacity()) {
            kept->push_back(block);
            return;
        }
#endif
        ::operator delete(block);
    }

  private:
    static constexpr std::size_t kKept = 64;

    struct Kept {
        std::vector<void*> blocks;
        Kept() {
            // Without room for the list, blocks simply go back to the allocator.
            try {
                blocks.reserve(kKept);
            } catch (const std::bad_alloc&) {
            }
        }
        ~Kept() {
            for (void* block : blocks) ::operator delete(block);
            gone() = true;
        }
    };

    // Set once the thread's list is destroyed at its exit: a block freed after that
    // (by a value that outlives it) goes straight back to the allocator.
    static bool& gone() {
        thread_local bool value = false;
        return value;
    }

    static std::vector<void*>* blocks() noexcept {
        if (gone()) return nullptr;
        thread_local Kept kept;
        return &kept.blocks;
    }
};

}  // namespace ttscript
