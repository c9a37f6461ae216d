// Path text: the platform's separator and the folder of the running program.
#pragma once

#include <string>

namespace mirudana {

// The platform's own path separator.
#ifdef _WIN32
inline constexpr char kDirSep = '\\';
#else
inline constexpr char kDirSep = '/';
#endif

// `path` with one separator added unless it already ends with one
// (so an empty path gives the bare separator).
std::string AddDirSep(const std::string& path);

// `path` as a full path: the current folder before a relative one, "." and ".."
// taken away by name (as Windows itself does). As given when it cannot be told.
std::string fullPath(const std::string& path);

// The folder of the running executable, without a trailing separator unless it
// is a root. Empty when the platform cannot tell.
std::string programFolder();

}  // namespace mirudana
