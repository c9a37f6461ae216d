// Writes battle files whose player, deck and card names try to break a page, for
// the browser check of the default report (tools/report-check/check-viewer.mjs):
//   hostile_battles DIR
// DIR/battles/hostile-N.kvs, and DIR/hostile.kvl, a card list (ASCII, so the same
// in code page 932) naming the card "EVIL" that the battles hold.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "battle/kvs_writer.h"

namespace {

using mirudana::BattleRecord;
namespace kvs = mirudana::kvs;

const char* const kScriptName = "</script><script>window.hostile=1</script>";
const char* const kImageName = "\"><img src=x onerror=window.hostile=2>";

bool writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

BattleRecord hostileBattle(int n) {
    std::string longName;
    for (int i = 0; i < 1000; ++i) longName += "長";
    BattleRecord record;
    record.InfoText = n % 2 == 0 ? "SecurityLevel:2\r\nnowplay:s" : "SecurityLevel:2\r\nnowplay:c";
    record.TurnCount = static_cast<std::int16_t>(10 + n);
    for (auto* side : {&record.Server, &record.Client}) {
        side->Master.Deck.Master = "EVIL";
        side->Master.Hand = kvs::textListOf({"EVIL", "EVIL"});
        side->Master.DiscardPile = kvs::textListOf({"EVIL"});
        side->Master.DrawPile = kvs::textListOf({"EVIL"});
        side->Master.HitPoints = static_cast<std::int16_t>(5 + n);
        side->Master.Deck.Cards = kvs::textListOf({"EVIL", "EVIL"});
        side->Monsters[0] = {"EVIL", true, 1, 3, ""};
    }
    record.Server.Master.Name = kScriptName;
    record.Server.Master.Deck.DeckName = kImageName;
    record.Client.Master.Name = n == 2 ? longName : kImageName;
    record.Client.Master.Deck.DeckName = n == 3 ? longName : kScriptName;
    return record;
}

}  // namespace

int main(int argc, char** argv) {
    // An option is asked for help, never taken for a folder to fill.
    if (argc != 2 || argv[1][0] == '-') {
        std::cerr << "usage: hostile_battles DIR\n";
        return 2;
    }
    std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir / "battles");
    bool ok = writeFile(dir / "hostile.kvl", "EVIL,<img src=x onerror=window.hostile=3>,F,x\r\n");
    for (int n = 1; n <= 3; ++n) {
        ok = ok && writeFile(dir / "battles" / ("hostile-" + std::to_string(n) + ".kvs"),
                             kvs::encodeBattleRecord(hostileBattle(n)));
    }
    if (!ok) std::cerr << "hostile_battles: cannot write into " << dir << '\n';
    return ok ? 0 : 1;
}
