// A file read from the start a piece at a time, so that a reader takes only the
// bytes it needs however large the file is.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace mirudana {

class InputFile {
  public:
    // Opens the regular file `path` for reading, with one call on the path: what a
    // reader asks of the file afterwards comes from the open file. Throws Failure
    // (53 missing, 70 not permitted, 75 a folder or anything else that is not a
    // regular file, ...) with the reading text of the error.
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // The file's size, time of last change and whether it is hidden (as
    // isHiddenFile tells), all as they were when it was opened.
    std::uint64_t size() const { return size_; }
    std::chrono::system_clock::time_point modified() const { return modified_; }
    bool hidden() const { return hidden_; }

    // Reads up to `n` bytes into `into`; fewer only at the end of the file, which is
    // where it ended when opened unless it has shrunk since. Throws Failure when a
    // read fails.
    std::size_t read(char* into, std::size_t n);

  private:
#ifdef _WIN32
    void* handle_ = nullptr;  // a HANDLE, kept out of this header
#else
    int fd_ = -1;
#endif
    std::uint64_t offset_ = 0;
    std::uint64_t size_ = 0;
    std::chrono::system_clock::time_point modified_;
    bool hidden_ = false;
};

}  // namespace mirudana
