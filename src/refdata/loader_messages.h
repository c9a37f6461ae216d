// The warnings with which a reference loader ends the tool.
#pragma once

#include <string>

namespace mirudana {

// No card list file, or no master list file, in the card folder.
inline constexpr const char* kCardListsMissingWarning =
    "カードリストが正しく配置されていません。確認してください。";
// The master list file holds no record.
inline constexpr const char* kMasterListInvalidWarning = "マスターカードリストが不正です。";
// No status list file in the state folder.
inline constexpr const char* kStatusListMissingWarning =
    "ステータスデータベースが正しく配置されていません。確認してください。";

// A loader's warning with the path it looked at on a line of its own.
inline std::string loaderWarning(const char* warning, const std::string& path) {
    return warning + ("\r\n" + path);
}

}  // namespace mirudana
