// The rarity of a card, read from the INI file named after its identifier in the card
// folder (section "head", key "rare").
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>

#include "app/ini_access.h"

namespace mirudana {

class CardRarity {
  public:
    // Lists the INI files of `cardFolder` once, so that cards without one cost no
    // attempt to open a file.
    explicit CardRarity(const std::string& cardFolder);

    // 0 when the card has no INI file, or its value is missing or not numeric.
    // Throws Failure 6 when a numeric value lies outside the 16-bit range, and 7 when
    // the INI file is larger than kMaxRarityFileBytes.
    std::int16_t of(const std::string& cardID);

  private:
    std::string folder_;
    std::unordered_set<std::string> iniNames_;  // as fileNameKey gives them
    INIAccess ini_;
};

}  // namespace mirudana
