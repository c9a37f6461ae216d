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
// The set-data item that chooses the report's encoding, and the one value of it that
// asks for UTF-8: any other text asks for code page 932.
inline constexpr const char* kEncodingItem = "出力文字コード";
inline constexpr const char* kUtf8Encoding = "UTF-8";

// Whether the host answers `key` from the battle or acts on `verb`. Anything else
// still runs (an unknown key answers "True"), so these feed warnings only.
bool isKnownQueryKey(std::string_view key);
bool isKnownCommand(std::string_view verb);

// What the queries read: the loaded battle (and the side it targets), the battle
// file list, whose entry at the battle's list position the file keys read, and the
// reference lookups.
struct QuerySources {
    const LoadedBattle& battle;
    const BattleFileList& files;
    const ReferenceData& references;
    UserInterface& ui;
};

using QueryAnswer = std::optional<std::string>;
struct Query;  // the sources, with what most answers read from them

// A key looked up in the vocabulary once: its handler, or, for a key that carries an
// identifier, the handler of its name and the part of the identifier already known.
struct ResolvedQuery {
    QueryAnswer (*handler)(const Query&) = nullptr;
    QueryAnswer (*argumentHandler)(const Query&, const std::string& argument) = nullptr;
    std::string argumentStart;
};

// The vocabulary's entry for `key`; when `start`, for every key that begins with
// `key`, which is then nothing unless `key` holds a ":" and no key of the vocabulary
// begins with it (otherwise the entry depends on what follows).
std::optional<ResolvedQuery> resolveQuery(std::string_view key, bool start = false);

// The answer to the key `query` was resolved from, followed by `rest`, or nothing
// when the key gets no answer (an absent list, an unreadable security level). A key
// outside the vocabulary answers "True".
QueryAnswer answerResolved(const ResolvedQuery& query, std::string_view rest,
                           const QuerySources& sources);

}  // namespace mirudana
