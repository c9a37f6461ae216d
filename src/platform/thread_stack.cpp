#include "platform/thread_stack.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

namespace mirudana {

std::uintptr_t stackRoomBelow(std::uintptr_t position) {
    std::uintptr_t low = 0;
#ifdef _WIN32
    ULONG_PTR lowLimit = 0;
    ULONG_PTR highLimit = 0;
    GetCurrentThreadStackLimits(&lowLimit, &highLimit);
    low = lowLimit;
#else
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) == 0) {
        void* address = nullptr;
        std::size_t size = 0;
        if (pthread_attr_getstack(&attributes, &address, &size) == 0) {
            low = reinterpret_cast<std::uintptr_t>(address);
        }
        pthread_attr_destroy(&attributes);
    }
#endif
    // Not known (or not on this stack): the 1 MiB every platform's threads get.
    constexpr std::uintptr_t kSmallestStack = std::uintptr_t{1} << 20;
    return low != 0 && low < position ? position - low : kSmallestStack;
}

}  // namespace mirudana
