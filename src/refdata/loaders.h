// The three reference loaders, run once at start-up in this order.
#pragma once

#include <cstdint>

#include "app/folders.h"
#include "app/user_interface.h"
#include "refdata/reference_data.h"

namespace mirudana {

// The largest reference files read, by kind: each table holds at most 32,768
// records, so a file beyond these sizes is no reference file. A larger one is
// failure 7 (out of memory) at its loader, before it is read.
inline constexpr std::uint64_t kMaxCardListBytes = 16u << 20;    // a "*.kvl" card list
inline constexpr std::uint64_t kMaxRarityFileBytes = 64u << 10;  // a card's ".ini"
inline constexpr std::uint64_t kMaxMasterListBytes = 4u << 20;   // "master.dat"
inline constexpr std::uint64_t kMaxStatusListBytes = 4u << 20;   // "state.dat"

// A loader that misses its file shows its warning and asks the front end to end
// the tool at once; the core itself never exits.
enum class LoadVerdict { Continue, EndTool };

LoadVerdict LoadCardlist(ReferenceData& data, const Folders& folders, UserInterface& ui);
LoadVerdict LoadMasterlist(ReferenceData& data, const Folders& folders, UserInterface& ui);
LoadVerdict LoadStatusList(ReferenceData& data, const Folders& folders, UserInterface& ui);

}  // namespace mirudana
