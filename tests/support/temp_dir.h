// A fresh folder for one test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace mirudana::testing {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, as UTF-8 text without a trailing separator.
    const std::string& path() const { return path_; }

    // `relative` below the folder, as UTF-8 text.
    std::string file(std::string_view relative) const;

    // Writes `bytes` exactly as given to `relative`, creating folders on the way;
    // returns the full path.
    std::string write(std::string_view relative, std::string_view bytes) const;

    // Writes UTF-8 `text` converted to code page 932; returns the full path.
    std::string writeCp932(std::string_view relative, std::string_view text) const;

    // Creates a folder (and its parents); returns the full path.
    std::string makeDir(std::string_view relative) const;

  private:
    std::string path_;
};

// Reads a whole file as bytes; empty when it cannot be read.
std::string readBytes(const std::string& path);

// Makes a symbolic link at `link` to `target` (relative to the link's folder or
// absolute); false where the system will not (Windows without the privilege or
// developer mode, and Wine, which reports success and makes nothing).
bool makeSymlink(const std::string& target, const std::string& link);

bool isSymlink(const std::string& path);

}  // namespace mirudana::testing
