// mirudana-cli --watch: a run, then one more each time the followed folders' battle
// files settle into something new, until Ctrl+C or a failure ends it.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "battle/battle_follower.h"
#include "cli/console_user_interface.h"
#include "refdata/reference_data.h"

namespace mirudana::cli {

struct FollowSetup {
    std::vector<std::string> folders;
    bool recursive = false;
    FollowTimes times;
    std::string script;
    std::string output;
    bool sort = false;
    std::size_t memoryBudget = 0;
};

// Prints one line per update on `out`; warnings go through `ui`. Returns 0 once
// interrupted, or the exit status of the failure that ended it (which `ui` told).
int followFolders(const FollowSetup& setup, const ReferenceData& references,
                  ConsoleUserInterface& ui, ProgressLine& progress, std::ostream& out);

}  // namespace mirudana::cli
