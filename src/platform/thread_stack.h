// How much stack the running thread has left, so that deep recursion can stop
// with a message before the system ends the process.
#pragma once

#include <cstdint>

namespace mirudana {

// The bytes of the running thread's stack between `position` (an address on it)
// and the stack's far end. The stack grows down on every platform we build for.
std::uintptr_t stackRoomBelow(std::uintptr_t position);

}  // namespace mirudana
