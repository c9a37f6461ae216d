// A battle file list's entries in order, read through the list's own operations,
// so a test checks any list the way the run sees it.
#pragma once

#include <string>
#include <vector>

#include "battle/file_list.h"

namespace mirudana::testing {

inline std::vector<std::string> entriesOf(const BattleFileList& list) {
    std::vector<std::string> entries;
    for (int index = 0; index < list.count(); ++index) entries.push_back(list.entryAt(index));
    return entries;
}

}  // namespace mirudana::testing
