#include "refdata/card_rarity.h"

#include "platform/file_system.h"
#include "platform/numeric_text.h"
#include "refdata/loaders.h"

namespace mirudana {

CardRarity::CardRarity(const std::string& cardFolder, const std::vector<std::string>& fileNames,
                       SourceFileSet& sources)
    : folder_(cardFolder) {
    for (const std::string& name : fileNames) {
        if (!endsWithIgnoringCase(name, ".ini")) continue;
        iniNames_.insert(fileNameKey(name));
        sources.add(cardFolder + name);
    }
    // One open reads the file within the size limit and notes its identity.
    ini_.setFileReader(
        [&sources](const std::string& path) { return sources.read(path, kMaxRarityFileBytes); });
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
