// The loaded-battle state a front end owns: the held record, whether the last
// load succeeded, the side the queries ask about and the list position.
#pragma once

#include <cstdint>
#include <string>

#include "battle/battle_record.h"

namespace mirudana {

class LoadedBattle {
  public:
    // Reads the battle file at `path`. Sets FileLoaded to the outcome; a failed
    // read keeps the held record exactly as it was and shows nothing.
    void LoadBattleFile(const std::string& path);

    // The side the queries ask about: Server unless TargetIsClient.
    const SideRecord& GetTargetSide() const {
        return TargetIsClient ? record.Client : record.Server;
    }

    BattleRecord record;
    bool FileLoaded = false;
    bool TargetIsClient = false;
    std::int16_t CurrentIndex = 0;
};

}  // namespace mirudana
