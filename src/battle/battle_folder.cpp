#include "battle/battle_folder.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "platform/paths.h"

namespace mirudana {
namespace {

void addFilesOf(const std::string& folder, bool recursive, std::size_t limit,
                std::vector<std::string>& found) {
    std::vector<FolderEntry> entries;
    readFolder(folder, entries);
    const std::string prefix = AddDirSep(folder);
    for (const FolderEntry& entry : entries) {
        if (found.size() >= limit) return;
        if (entry.isFolder) {
            if (recursive) addFilesOf(prefix + entry.name, recursive, limit, found);
        } else if (entry.isFile && !entry.isHidden && endsWithIgnoringCase(entry.name, ".kvs")) {
            found.push_back(prefix + entry.name);
        }
    }
}

}  // namespace

std::vector<std::string> battleFilesIn(const std::string& folder, bool recursive,
                                       std::size_t limit) {
    std::vector<std::string> found;
    addFilesOf(folder, recursive, limit, found);
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace mirudana
