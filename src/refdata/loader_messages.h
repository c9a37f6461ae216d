// The warnings with which a reference loader ends the tool.
#pragma once

namespace mirudana {

// No card list file, or no master list file, in the card folder.
inline constexpr const char* kCardListsMissingWarning =
    "カードリストが正しく配置されていません。確認してください。";
// The master list file holds no record.
inline constexpr const char* kMasterListInvalidWarning = "マスターカードリストが不正です。";
// No status list file in the state folder.
inline constexpr const char* kStatusListMissingWarning =
    "ステータスデータベースが正しく配置されていません。確認してください。";

}  // namespace mirudana
