// The rarity of a card, read from the INI file named after its identifier in the card
// folder (section "head", key "rare").
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/ini_access.h"
#include "platform/source_file_set.h"

namespace mirudana {

class CardRarity {
  public:
    // Takes the INI files among `fileNames`, the ordinary files of `cardFolder`, and
    // notes each in `sources`, which the files are then read through; a card without
    // one costs no attempt to open a file.
    CardRarity(const std::string& cardFolder, const std::vector<std::string>& fileNames,
               SourceFileSet& sources);

    // 0 when the card has no INI file, it cannot be read, or its value is missing or
    // not numeric.
    // Throws Failure 6 when a numeric value lies outside the 16-bit range, and 7 when
    // the INI file is larger than kMaxRarityFileBytes.
    std::int16_t of(const std::string& cardID);

  private:
    std::string folder_;
    std::unordered_set<std::string> iniNames_;  // as fileNameKey gives them
    INIAccess ini_;
};

}  // namespace mirudana
