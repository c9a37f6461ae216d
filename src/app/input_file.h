// A file read from the start a piece at a time, so that a reader takes only the
// bytes it needs however large the file is.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace mirudana {

class InputFile {
  public:
    // Opens `path` for reading. Throws Failure (53 missing, 70 not permitted, 75 a
    // folder, ...) with the reading text of the error.
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // The file's size when it was opened.
    std::uint64_t size() const { return size_; }

    // Reads up to `n` bytes into `into`; fewer only at the end of the file. Throws
    // Failure when a read fails.
    std::size_t read(char* into, std::size_t n);

  private:
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
};

}  // namespace mirudana
