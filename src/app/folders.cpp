#include "app/folders.h"

#include "platform/paths.h"

namespace mirudana {

Folders computeFolders(const std::string& programFolder) {
    Folders folders;
    folders.SystemFolder = AddDirSep(programFolder) + "system" + kDirSep;
    folders.CardFolder = folders.SystemFolder + "cards" + kDirSep;
    folders.StateFolder = folders.SystemFolder + "state" + kDirSep;
    return folders;
}

}  // namespace mirudana
