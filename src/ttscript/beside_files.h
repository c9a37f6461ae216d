// The files a script may read: text files in its own folder and the folders below
// it. Scripts are passed between players, so everything else is refused: absolute
// paths, drive names, "..", hidden names, links that lead outside, other kinds of
// file, and files over 1 MB.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ttscript {

// The largest file a script may read or import.
inline constexpr std::uint64_t kMaxBesideFileBytes = std::uint64_t{1} << 20;

enum class BesideKind : unsigned char {
    PageText,  // ReadText: .tts .css .js .html .txt .json
    Script,    // Import: .tts
};

// Why a file beside the script cannot be read; what() is the reason in Japanese.
class BesideFileRefused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct BesideFile {
    std::string path;   // resolved, every link followed: the same file gives the same path
    std::string bytes;  // as stored
};

// Reads `relative` ("/" separates folders, and so does "\") in `scriptFolder`. The
// size is known before anything is allocated: the running script's memory budget
// must hold it. Reading stops at the size the file had when opened. Throws
// BesideFileRefused.
BesideFile readBesideFile(const std::string& scriptFolder, std::string_view relative,
                          BesideKind kind);

// The UTF-8 text of a file read for ReadText: a leading byte order mark is dropped,
// and bytes that are not UTF-8 are refused (BesideFileRefused names the first one).
std::string besideFileText(std::string bytes);

// The folder of the script at `scriptPath`, as readBesideFile takes it.
std::string scriptFolderOf(const std::string& scriptPath);

}  // namespace ttscript
