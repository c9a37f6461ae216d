// The list of --files-from: one path a line, as Notepad, PowerShell and find write it.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

namespace mirudana::cli {

// Longer than any path Windows takes (32,767 UTF-16 units), in UTF-8.
inline constexpr std::size_t kMaxListLineBytes = 3 * 32767;
// A list that holds more could not be run anyway: 32,767 paths of 1 KB.
inline constexpr std::size_t kMaxListBytes = std::size_t{32} << 20;

struct PathList {
    std::vector<std::string> paths;
    std::string problem;  // why the list cannot be used, for the user; empty when it can
};

// The paths of a list: UTF-8 (a byte-order mark skipped) or UTF-16 with its
// byte-order mark, lines ending in LF or CR LF, blank lines skipped. Stops once
// `limit` paths are read. The whole list is refused, naming the line, for a line
// that holds a NUL byte (no path can) or is longer than any path, and for a list
// larger than kMaxListBytes, before more than that is read.
PathList readPathList(std::istream& in, std::size_t limit);

}  // namespace mirudana::cli
