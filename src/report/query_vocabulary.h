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

// The set-data item that chooses the side questions answer for, and the command
// that loads the next battle file.
inline constexpr const char* kTargetItem = "対象";
inline constexpr const char* kLoadCommand = "ロード";
// The key that tells whether a battle file is loaded: what a loop over the files asks.
inline constexpr const char* kFileLoadedKey = "ファイル有無";
// The value of kTargetItem that selects the client side; any other text the server,
// kServerSide on purpose.
inline constexpr const char* kClientSide = "クライアント";
inline constexpr const char* kServerSide = "サーバー";

// Whether the host answers `key` from the battle or acts on `verb`. Anything else
// still runs (an unknown key answers "True"), so these feed warnings only.
bool isKnownQueryKey(std::string_view key);
bool isKnownCommand(std::string_view verb);

// The answer to `key`, or nothing when the key gets no answer (an absent list, an
// unreadable security level). A key outside the vocabulary answers "True". The
// file keys read the entry of `files` at the battle's list position.
std::optional<std::string> answerQuery(const std::string& key, const LoadedBattle& battle,
                                       const BattleFileList& files, const ReferenceData& references,
                                       UserInterface& ui);

}  // namespace mirudana
