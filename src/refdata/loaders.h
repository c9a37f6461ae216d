// The three reference loaders, run once at start-up in this order.
#pragma once

#include "app/paths.h"
#include "app/user_interface.h"
#include "refdata/reference_data.h"

namespace mirudana {

// A loader that misses its file shows its warning and asks the front end to end
// the tool at once; the core itself never exits.
enum class LoadVerdict { Continue, EndTool };

LoadVerdict LoadCardlist(ReferenceData& data, const Folders& folders, UserInterface& ui);
LoadVerdict LoadMasterlist(ReferenceData& data, const Folders& folders, UserInterface& ui);
LoadVerdict LoadStatusList(ReferenceData& data, const Folders& folders, UserInterface& ui);

}  // namespace mirudana
