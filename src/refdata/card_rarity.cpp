#include "refdata/card_rarity.h"

#include "app/file_system.h"
#include "refdata/numeric_text.h"

namespace mirudana {

CardRarity::CardRarity(const std::string& cardFolder) : folder_(cardFolder) {
    for (const std::string& name : listOrdinaryFiles(cardFolder, ".ini")) {
        iniNames_.insert(fileNameKey(name));
    }
}

std::int16_t CardRarity::of(const std::string& cardID) {
    // An identifier holding a separator never names a listed file, so nothing outside
    // the card folder is ever opened.
    std::string name = cardID + ".ini";
    if (!iniNames_.contains(fileNameKey(name))) return 0;
    ini_.FileName = folder_ + name;
    std::optional<double> value = parseDecimalNumber(ini_.GetINIData("rare", "head"));
    return value ? roundToInt16(*value) : 0;
}

}  // namespace mirudana
