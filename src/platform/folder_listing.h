// A folder's entries, read at any path length (the C library's own folder reading
// stops at the old 260-character limit on Windows).
#pragma once

#include <string>
#include <vector>

namespace mirudana {

struct FolderEntry {
    std::string name;       // the entry's name alone
    bool isFolder = false;  // a folder itself, not a link to one: safe to descend into
    bool isFile = false;    // a regular file, links followed
    bool isHidden = false;  // a dot-name here, the hidden or system attribute on Windows
};

// The entries of `folder` in no particular order, "." and ".." left out. False,
// with `entries` as far as it got, when the folder cannot be opened or read.
bool readFolder(const std::string& folder, std::vector<FolderEntry>& entries);

}  // namespace mirudana
