#include "platform/thread_stack.h"

#include <gtest/gtest.h>

namespace mirudana {
namespace {

// The script engine sizes its stack guard from this, so it must see the stack the
// test program really runs on: the main thread's, linked at 8 MiB on Windows.
TEST(ThreadStackTest, RoomBelowMeasuresTheRunningThreadsStack) {
    char marker = 0;
    auto here = reinterpret_cast<std::uintptr_t>(&marker);
    std::uintptr_t room = stackRoomBelow(here);
#ifdef _WIN32
    EXPECT_GT(room, std::uintptr_t{7} << 20);
    EXPECT_LE(room, std::uintptr_t{8} << 20);
#else
    EXPECT_GT(room, std::uintptr_t{1} << 20);
#endif
    EXPECT_EQ(stackRoomBelow(here - 4096), room - 4096);
}

}  // namespace
}  // namespace mirudana
