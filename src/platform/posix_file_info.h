// What the POSIX parts of the platform layer share about files: the time of a
// timespec from stat. Not included on Windows.
#pragma once

#include <sys/stat.h>

#include <chrono>

namespace mirudana {

inline std::chrono::system_clock::time_point timeOfTimespec(const timespec& t) {
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec)));
}

}  // namespace mirudana
