// What the Windows parts of the platform layer share about files: the time of a
// FILETIME and the errno value nearest to a failed call. Included only on Windows.
#pragma once

#include <windows.h>

#include <cerrno>
#include <chrono>
#include <cstdint>

namespace mirudana {

// Windows counts a file's times in 100 ns from 1601, 369 years before the system
// clock's era.
inline std::chrono::system_clock::time_point timeOfFileTicks(std::int64_t ticks) {
    constexpr std::int64_t kEraStart = 116'444'736'000'000'000;
    using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(Ticks(ticks - kEraStart)));
}

inline std::chrono::system_clock::time_point timeOfFileTime(const FILETIME& t) {
    return timeOfFileTicks(
        static_cast<std::int64_t>(std::uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime));
}

// The errno value nearest to a failed call's GetLastError().
inline int lastErrno() {
    switch (GetLastError()) {
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return EACCES;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_INVALID_NAME:  // such as a "?" that stands for text not UTF-8
            return EINVAL;
        default:
            return EIO;
    }
}

}  // namespace mirudana
