#include "platform/growing_block.h"

#include <cstdlib>
#include <cstring>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace mirudana {

#ifdef __linux__
namespace {

// From this size on a block has pages of its own, which mremap moves as they are.
// The C library would also map a block this large, but only below a threshold it
// raises as mapped blocks are freed; above it, growing copies the whole block.
constexpr std::size_t kMappedFrom = std::size_t{1} << 20;

bool isMapped(std::size_t capacity) { return capacity >= kMappedFrom; }

std::size_t pagesFor(std::size_t bytes) {
    static const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

void* mapped(std::size_t capacity) {
    void* block = mmap(nullptr, pagesFor(capacity), PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return block == MAP_FAILED ? nullptr : block;
}

}  // namespace

void* growBlock(void* block, std::size_t used, std::size_t oldCapacity, std::size_t capacity) {
    if (!isMapped(capacity)) return std::realloc(block, capacity);
    if (block != nullptr && isMapped(oldCapacity)) {
        void* moved = mremap(block, pagesFor(oldCapacity), pagesFor(capacity), MREMAP_MAYMOVE);
        return moved == MAP_FAILED ? nullptr : moved;
    }
    void* grown = mapped(capacity);
    if (grown != nullptr && block != nullptr) {
        std::memcpy(grown, block, used);
        std::free(block);
    }
    return grown;
}

void freeBlock(void* block, std::size_t capacity) noexcept {
    if (block == nullptr) return;
    if (isMapped(capacity)) {
        munmap(block, pagesFor(capacity));
    } else {
        std::free(block);
    }
}

#else

// Elsewhere the C library's realloc grows a block in place when it can.
void* growBlock(void* block, std::size_t, std::size_t, std::size_t capacity) {
    return std::realloc(block, capacity);
}

void freeBlock(void* block, std::size_t) noexcept { std::free(block); }

#endif

}  // namespace mirudana
