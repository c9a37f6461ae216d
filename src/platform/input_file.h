// A file read from the start a piece at a time, so that a reader takes only the
// bytes it needs however large the file is.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace mirudana {

class InputFile {
  public:
    // Opens the regular file `path` for reading. Throws Failure (53 missing, 70 not
    // permitted, 75 a folder or anything else that is not a regular file, ...) with
    // the reading text of the error.
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // The file's size when it was opened.
    std::uint64_t size() const { return size_; }

    // Reads up to `n` bytes into `into`; fewer only at the end of the file, which is
    // where it ended when opened unless it has shrunk since. Throws Failure when a
    // read fails.
    std::size_t read(char* into, std::size_t n);

  private:
#ifdef _WIN32
    std::FILE* file_ = nullptr;
#else
    int fd_ = -1;
    std::uint64_t offset_ = 0;
#endif
    std::uint64_t size_ = 0;
};

}  // namespace mirudana
