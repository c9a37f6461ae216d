// Keeps an interrupted process from leaving a half-written temporary file behind.
#pragma once

#include <filesystem>

namespace mirudana {

// While an instance lives, an interrupt (SIGINT, SIGTERM or SIGHUP; on Windows
// Ctrl+C, Ctrl+Break or closing the console) first removes `path`, then ends the
// process as the interrupt would have. One instance at a time; a handler the
// program set up itself for these signals is left alone.
class RemoveOnInterrupt {
  public:
    explicit RemoveOnInterrupt(const std::filesystem::path& path);
    ~RemoveOnInterrupt();
    RemoveOnInterrupt(const RemoveOnInterrupt&) = delete;
    RemoveOnInterrupt& operator=(const RemoveOnInterrupt&) = delete;
};

}  // namespace mirudana
