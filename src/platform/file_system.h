// The file tests and whole-file reads the rest of the core relies on. Paths are
// UTF-8 text as given; code page 932 applies to file contents, not to names.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/file_identity.h"

namespace mirudana {

// An existing ordinary file: a regular file that is not hidden. Folders, hidden
// files (a name starting with "." here, the hidden or system attribute on
// Windows) and anything missing count as missing.
bool isOrdinaryFile(const std::string& path);

// An existing folder, links followed.
bool isFolder(const std::string& path);

// Hidden as isOrdinaryFile tells it; by the name alone here, so without a look at
// the file system.
bool isHiddenFile(const std::string& path);

// A file's size and time of last change, read in one call of the system: what
// tells whether a file is still being written.
struct FileStamp {
    std::uint64_t size = 0;
    std::chrono::system_clock::time_point modified;
    bool operator==(const FileStamp&) const = default;
};

// Nothing when the file cannot be looked at (gone, not permitted).
std::optional<FileStamp> fileStamp(const std::string& path);

// The stamp of an ordinary file (as isOrdinaryFile tells) in the same one look;
// nothing for anything else.
std::optional<FileStamp> ordinaryFileStamp(const std::string& path);

// An existing file or folder of any kind.
bool FileExists(const std::string& path);

// Whether `text` ends with `suffix`, ASCII letter case ignored, as the platform's
// wildcard match does for file names.
bool endsWithIgnoringCase(const std::string& text, const std::string& suffix);

// The names of the ordinary files in `folder` whose name ends with `suffix`
// (letter case ignored as endsWithIgnoringCase does), sorted by name in
// byte order so the order is the same everywhere. Empty when the folder is missing.
std::vector<std::string> listOrdinaryFiles(const std::string& folder, const std::string& suffix);

// `name` in the form this platform's file system compares names in: as it is where
// letter case matters, in upper case on Windows, where it does not, so that a
// name looked up in a listing matches the file the system itself would open.
std::string fileNameKey(const std::string& name);

// Where `path` really lies: the full path with every link (and, on Windows, every
// junction) followed. Empty, with `ec` set, when the path leads to nothing.
std::filesystem::path resolvedPath(const std::filesystem::path& path, std::error_code& ec);

// The whole content of a file. Throws Failure (53 missing, 70 not permitted, 75 a
// folder, ...) when it cannot be read, and 7 (out of memory) when it holds more
// than `maxBytes`, before reading more than that. When `identity` is given, it gets
// the identity of the file read (nothing where it cannot be told).
std::string readWholeFile(const std::string& path,
                          std::uint64_t maxBytes = std::numeric_limits<std::uint64_t>::max(),
                          std::optional<FileIdentity>* identity = nullptr);

}  // namespace mirudana
