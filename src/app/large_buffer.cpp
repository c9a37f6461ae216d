#include "app/large_buffer.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace mirudana {

void adviseLargeBuffer(void* data, std::size_t bytes) {
#ifdef __linux__
    // madvise takes whole pages: the range shrinks to those inside the buffer.
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + page - 1) / page * page;
    const std::uintptr_t last = (begin + bytes) / page * page;
    if (last > first) {
        // A refusal (huge pages switched off) leaves ordinary pages, which is fine.
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#else
    (void)data;
    (void)bytes;
#endif
}

}  // namespace mirudana
