// The answers to a report script's questions ("手札", "ターン数", ...), built from
// the loaded battle, the side it targets and the reference lookups.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/user_interface.h"
#include "battle/file_list.h"
#include "battle/loaded_battle.h"
#include "refdata/reference_data.h"

namespace mirudana {

// The fixed text of "アプリ名".
inline constexpr const char* kApplicationName = "ゾルベックOnline ミルダナ";

// The set-data items and the command the host acts on.
inline constexpr std::string_view kReportItem = "保存データ";
inline constexpr std::string_view kTargetItem = "対象";
inline constexpr std::string_view kLoadCommand = "ロード";
// The key that tells whether a battle file is loaded: what a loop over the files asks.
inline constexpr std::string_view kFileLoadedKey = "ファイル有無";
// The value of kTargetItem that selects the client side; any other text the server,
// kServerSide on purpose.
inline constexpr std::string_view kClientSide = "クライアント";
inline constexpr std::string_view kServerSide = "サーバー";

// Whether the host answers `key` from the battle, sets `item` or acts on `verb`.
// Anything else still runs (an unknown key answers "True"), so these feed warnings only.
bool isKnownQueryKey(std::string_view key);
bool isKnownSetDataItem(std::string_view item);
bool isKnownCommand(std::string_view verb);

// The answer to `key`, or nothing when the key gets no answer (an absent list, an
// unreadable security level). A key outside the vocabulary answers "True". The
// file keys read the entry of `files` at the battle's list position.
std::optional<std::string> answerQuery(const std::string& key, const LoadedBattle& battle,
                                       const BattleFileList& files, const ReferenceData& references,
                                       UserInterface& ui);

}  // namespace mirudana
