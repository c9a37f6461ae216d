// Turns the file-open dialog's result into battle file list entries.
#pragma once

#include <string>
#include <vector>

#include "battle/file_list.h"

namespace mirudana {

// The full paths the dialog's result names. Without a NUL the result is one full
// path; otherwise it is the folder, then each chosen name, NUL between each two:
// the entries are the folder (given a trailing separator by AddDirSep) joined to
// each name in the order given, empty names included.
std::vector<std::string> dialogResultEntries(const std::string& result);

// Appends those entries to `list`, duplicates kept, nothing checked.
void appendDialogResult(BattleFileList& list, const std::string& result);

}  // namespace mirudana
