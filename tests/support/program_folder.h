// A program folder for the report and command-line tests: reference files in code
// page 932 under system/, battle files written in the game's packed layout, and
// report scripts, all in a temporary folder.
#pragma once

#include <string>

#include "battle/battle_record.h"
#include "battle/kvs_writer.h"
#include "support/temp_dir.h"

namespace mirudana::testing {

class ProgramFolder {
  public:
    // Writes a small reference set: cards "C1".."C3" (and "DUP" in both lists, the
    // first list's name winning), masters "M1" and "C1", statuses "S1" and "S2".
    ProgramFolder() {
        dir.writeCp932("system/cards/a.kvl",
                       "C1,炎の仔竜,F,x\r\nC2,氷の魔女,F,x\r\nDUP,先のリスト,F,x\r\n");
        dir.writeCp932("system/cards/b.kvl", "C3,森の小人,F,x\r\nDUP,後のリスト,F,x\r\n");
        dir.writeCp932("system/cards/master.dat", "M1,炎帝,N\r\nC1,マスター側の名,N\r\n");
        dir.writeCp932("system/state/state.dat", "S1,毒,!,1\r\nS2,麻痺,!,0\r\n");
    }

    std::string battle(const std::string& name, const BattleRecord& record) const {
        return dir.write("battles/" + name, kvs::encodeBattleRecord(record));
    }

    std::string script(const std::string& name, const std::string& text) const {
        return dir.write(name, text);
    }

    TempDir dir;
};

// A battle whose server side is the master `name` and whose information text
// gives `infoText`.
inline BattleRecord namedBattle(const std::string& name, const std::string& infoText = "") {
    BattleRecord record;
    record.Server.Master.Name = name;
    record.Client.Master.Name = name + "の相手";
    record.InfoText = infoText;
    return record;
}

}  // namespace mirudana::testing
