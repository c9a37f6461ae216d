#include "platform/growing_block.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace mirudana {
namespace {

// Each growth keeps every byte written before it, from a small block through one
// of pages of its own (a megabyte and up on Linux) to larger ones, page sizes or not.
TEST(GrowingBlockTest, GrowingKeepsWhatTheBlockHolds) {
    const std::size_t capacities[] = {1, 100, 4096, (1 << 20) - 1, 1 << 20, 3'000'001, 10 << 20};
    char* block = nullptr;
    std::size_t used = 0;
    std::size_t capacity = 0;
    auto byteAt = [](std::size_t i) { return static_cast<char>(i * 7 + i / 4099); };
    for (std::size_t next : capacities) {
        SCOPED_TRACE(next);
        block = static_cast<char*>(growBlock(block, used, capacity, next));
        ASSERT_NE(block, nullptr);
        capacity = next;
        std::size_t wrong = 0;
        for (std::size_t i = 0; i < used; ++i) wrong += block[i] != byteAt(i);
        EXPECT_EQ(wrong, 0u);
        for (; used < capacity; ++used) block[used] = byteAt(used);
    }
    freeBlock(block, capacity);
}

}  // namespace
}  // namespace mirudana
