// The tool's start-up sequence without any toolkit: the folders, then the three
// reference loaders in their fixed order. The front end shows its window afterwards,
// or ends the process at once when a loader asked for it.
#pragma once

#include <string>

#include "app/folders.h"
#include "app/user_interface.h"
#include "refdata/reference_data.h"

namespace mirudana {

struct ProgramData {
    Folders folders;
    ReferenceData references;
    // A loader missed its file and has shown its warning: the front end must end the
    // process now, without opening its window.
    bool endTool = false;
};

// Computes the folders from `programFolder`, loads the card lists, the master list
// and the status list in that order, stopping at the first loader that ends the tool,
// and indexes the tables for the lookups.
ProgramData loadProgramData(const std::string& programFolder, UserInterface& ui);

}  // namespace mirudana
