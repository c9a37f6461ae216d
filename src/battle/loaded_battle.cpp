#include "battle/loaded_battle.h"

#include "app/file_system.h"
#include "battle/record_reader.h"

namespace mirudana {

void LoadedBattle::LoadBattleFile(const std::string& path) {
    FileLoaded = false;
    if (!isOrdinaryFile(path)) return;
    try {
        // Read into a fresh record so a failed read never leaves a half-replaced one.
        BattleRecord fresh = readBattleRecord(readWholeFile(path));
        record = std::move(fresh);
        FileLoaded = true;
    } catch (...) {
        // A file that cannot be read is passed over silently; the run asks FileLoaded.
    }
}

}  // namespace mirudana
