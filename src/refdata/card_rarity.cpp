#include "refdata/card_rarity.h"

#include "app/failure.h"
#include "app/file_system.h"
#include "app/private_profile.h"
#include "refdata/loaders.h"
#include "refdata/numeric_text.h"

namespace mirudana {

CardRarity::CardRarity(const std::string& cardFolder, const std::vector<std::string>& fileNames,
                       SourceFileSet& sources)
    : sources_(sources) {
    for (const std::string& name : fileNames) {
        if (endsWithIgnoringCase(name, ".ini")) {
            iniFiles_.emplace(fileNameKey(name), sources_.add(cardFolder + name));
        }
    }
}

std::int16_t CardRarity::of(const std::string& cardID) {
    // An identifier holding a separator never names a listed file, so nothing outside
    // the card folder is ever opened.
    auto found = iniFiles_.find(fileNameKey(cardID + ".ini"));
    if (found == iniFiles_.end()) return 0;
    std::string content;
    try {
        content = sources_.read(found->second, kMaxRarityFileBytes);
    } catch (const Failure& e) {
        // A file that cannot be read has no value, as for the profile functions; one
        // too large for an INI file stops the load.
        if (e.number() == failure::kOutOfMemory) throw;
        return 0;
    }
    std::optional<double> value = parseDecimalNumber(profileStringIn(content, "head", "rare"));
    return value ? roundToInt16(*value) : 0;
}

}  // namespace mirudana
