// The loaded-battle state a front end owns: the held record, whether the last
// load succeeded, the side the queries ask about and the list position.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

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
    // When the loaded file was last changed, as it was when read: the time of the
    // record held, which a later look at the path might not be.
    std::chrono::system_clock::time_point FileModified;
    bool TargetIsClient = false;
    std::int16_t CurrentIndex = 0;

  private:
    // Storage kept from load to load: the record a file is read into, moved onto
    // `record` once it is read whole (taking back the storage it held), and the
    // buffer the file's bytes pass through.
    BattleRecord next_;
    std::vector<char> buffer_;
};

}  // namespace mirudana
