// Memory for a buffer that grows at its end, such as a long text built a piece at a
// time. Growing a large block moves it without copying its bytes where the system
// can (Linux remaps its pages), so the old and the new block are never both held.
#pragma once

#include <cstddef>

namespace mirudana {

// A block of `capacity` bytes whose first `used` bytes are those of `block` (null
// for none, when `used` is 0), of `oldCapacity` bytes, which is given up; `capacity`
// is at least `oldCapacity`. Null when memory runs out; `block` then stays as it was.
void* growBlock(void* block, std::size_t used, std::size_t oldCapacity, std::size_t capacity);

// Frees a block from growBlock of `capacity` bytes (null does nothing).
void freeBlock(void* block, std::size_t capacity) noexcept;

}  // namespace mirudana
