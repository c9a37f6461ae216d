#include "refdata/card_rarity.h"

#include <filesystem>

#include "app/failure.h"
#include "app/file_system.h"
#include "app/native_path.h"
#include "refdata/loaders.h"
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
    std::error_code ec;
    if (std::filesystem::file_size(nativePath(ini_.FileName), ec) > kMaxRarityFileBytes && !ec) {
        throw Failure(failure::kOutOfMemory);
    }
    std::optional<double> value = parseDecimalNumber(ini_.GetINIData("rare", "head"));
    return value ? roundToInt16(*value) : 0;
}

}  // namespace mirudana
