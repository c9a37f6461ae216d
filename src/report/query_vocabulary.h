// The answers to a report script's questions ("手札", "ターン数", ...), built from
// the loaded battle, the side it targets and the reference lookups.
#pragma once

#include <optional>
#include <string>

#include "app/user_interface.h"
#include "battle/file_list.h"
#include "battle/loaded_battle.h"
#include "refdata/reference_data.h"

namespace mirudana {

// The fixed text of "アプリ名".
inline constexpr const char* kApplicationName = "ゾルベックOnline ミルダナ";

// The answer to `key`, or nothing when the key gets no answer (an absent list, an
// unreadable security level). A key outside the vocabulary answers "True". The
// file keys read the entry of `files` at the battle's list position.
std::optional<std::string> answerQuery(const std::string& key, const LoadedBattle& battle,
                                       const BattleFileList& files, const ReferenceData& references,
                                       UserInterface& ui);

}  // namespace mirudana
