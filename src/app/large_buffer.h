// Large buffers that are filled once and read once, such as a report built in
// memory: the system may back them with huge pages, so that writing them costs a
// page fault every 2 MB rather than every 4 KB.
#pragma once

#include <cstddef>

namespace mirudana {

// From this size on a buffer is worth the advice.
inline constexpr std::size_t kLargeBufferBytes = std::size_t{16} << 20;

// Advises the system that the whole pages of [data, data + bytes) are one large
// buffer. Only advice: nothing changes where the system offers no such pages.
void adviseLargeBuffer(void* data, std::size_t bytes);

}  // namespace mirudana
