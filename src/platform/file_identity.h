// Which file a path names, by the file system's own identity rather than by name,
// so that two spellings, a symbolic link or a hard link to one file all match.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace mirudana {

struct FileIdentity {
    std::uint64_t device = 0;  // the device (the volume serial number on Windows)
    std::uint64_t file = 0;    // the inode (the file ID on Windows)

    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file `path` names, symbolic links followed; nothing when
// there is no such file or it cannot be looked at.
std::optional<FileIdentity> fileIdentity(const std::string& path);

// A folder as one look sees it: while its identity and the time its entries last
// changed stay the same, each name in it names the same file as before (a file
// created, removed or renamed into it changes that time).
struct FolderStamp {
    FileIdentity identity;
    // The status change time here (no one can set it back), the last write on Windows.
    std::chrono::system_clock::time_point changed;

    bool operator==(const FolderStamp&) const = default;
};

// The stamp of the folder `path` names; nothing when it cannot be looked at.
std::optional<FolderStamp> folderStamp(const std::string& path);

}  // namespace mirudana
