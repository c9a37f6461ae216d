#include "report/query_vocabulary.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "battle/file_title.h"
#include "platform/paths.h"
#include "refdata/text_helpers.h"
#include "report/query_texts.h"

namespace mirudana {

struct Query : QuerySources {
    const SideRecord& side() const { return battle.GetTargetSide(); }
    const MasterRecord& master() const { return side().Master; }
    std::string info(const std::string& key) const {
        return GetTextValue(battle.record.InfoText, key);
    }
    std::string cardName(const std::string& id) const { return references.CardID2CardName(id, ui); }
    // The same without a copy, for joins.
    const std::string& cardNameInPlace(const std::string& id) const {
        return cardNameOrEmpty(id, references);
    }
    // The path of the loaded battle file, or the empty text past the list's end.
    std::string filePath() const {
        int index = battle.CurrentIndex;
        return index >= 0 && index < files.count() ? files.entryAt(index) : std::string();
    }
};

namespace {

using Answer = QueryAnswer;
using Handler = decltype(ResolvedQuery::handler);
using ArgumentHandler = decltype(ResolvedQuery::argumentHandler);

// `answer()` once the security level reaches `minimumLevel`: nothing while the
// level is unreadable, the empty text below it.
template <typename Answerer>
Answer secured(const Query& q, std::int16_t minimumLevel, Answerer answer) {
    auto level = securityLevel(q.battle.record.InfoText);
    if (!level) return std::nullopt;
    if (*level < minimumLevel) return std::string();
    return answer();
}

// A pile listed by card name once the security level reaches `minimumLevel`.
Answer securedPile(const Query& q, const TextList& pile, std::int16_t minimumLevel) {
    return secured(q, minimumLevel, [&] { return cardNameList(pile, "、", q.references); });
}

// A pile listed by identifier once the security level reaches `minimumLevel`.
Answer securedIdentifiers(const Query& q, const TextList& pile, std::int16_t minimumLevel) {
    return secured(q, minimumLevel, [&] { return identifierList(pile, ","); });
}

// The letter of a code from its table's letters; "" for a code beyond them.
std::string letterOf(std::int16_t code, std::string_view letters) {
    if (code < 0 || static_cast<std::size_t>(code) >= letters.size()) return {};
    return std::string(1, letters[static_cast<std::size_t>(code)]);
}

// A card's kind as the letter its table was given: F, B, S or M in a card list,
// N, A or W in the master list.
Answer cardKind(const Query& q, const std::string& id) {
    auto card = q.references.findCard(id);
    if (card.entry == nullptr) return std::string();
    return letterOf(card.entry->Kind, card.inMasterList ? "NAW" : "FBSM");
}

// The four monster slots, each turned into text by `slotText`, joined with ",".
template <typename SlotText>
std::string eachSlot(const Query& q, SlotText slotText) {
    std::string joined;
    for (const MonsterRecord& slot : q.side().Monsters) {
        if (&slot != &q.side().Monsters.front()) joined += ',';
        joined += slotText(slot);
    }
    return joined;
}

std::string monsterState(const MonsterRecord& slot) {
    if (slot.Card.empty()) return "0";
    return slot.StateFlag ? "2" : "1";
}

const std::unordered_map<std::string_view, Handler>& vocabulary() {
    static const std::unordered_map<std::string_view, Handler> table{
        {"アプリ名", [](const Query&) -> Answer { return kApplicationName; }},
        {"セキュリティレベル", [](const Query& q) -> Answer { return q.info("SecurityLevel"); }},
        {"ファイル有無", [](const Query& q) -> Answer { return q.battle.FileLoaded ? "1" : "0"; }},
        {"ターン数",
         [](const Query& q) -> Answer { return std::to_string(q.battle.record.TurnCount); }},
        {"サイド",
         [](const Query& q) -> Answer {
             return q.info("nowplay") == "s" ? kServerSide : kClientSide;
         }},
        {kTargetItem,
         [](const Query& q) -> Answer {
             return q.battle.TargetIsClient ? kClientSide : kServerSide;
         }},
        {"手札", [](const Query& q) { return securedPile(q, q.master().Hand, 1); }},
        {"手札枚数", [](const Query& q) -> Answer { return listCount(q.master().Hand); }},
        {"山札", [](const Query& q) { return securedPile(q, q.master().DrawPile, 2); }},
        {"山札枚数", [](const Query& q) -> Answer { return listCount(q.master().DrawPile); }},
        {"捨札",
         [](const Query& q) { return cardNameList(q.master().DiscardPile, ",", q.references); }},
        {"捨札枚数", [](const Query& q) -> Answer { return listCount(q.master().DiscardPile); }},
        {"マスター名", [](const Query& q) -> Answer { return q.master().Name; }},
        {"マスター種類",
         [](const Query& q) -> Answer { return q.cardName(q.master().Deck.Master); }},
        {"マスター体力",
         [](const Query& q) -> Answer { return std::to_string(q.master().HitPoints); }},
        {"マスターステータス",
         [](const Query& q) -> Answer { return statusText(q.master().Status, q.references); }},
        {"ストーン", [](const Query& q) -> Answer { return std::to_string(q.master().Stones); }},
        {"フェイズ",
         [](const Query& q) -> Answer { return q.master().FirstPlayer ? "先攻" : "後攻"; }},
        {"モンスター名",
         [](const Query& q) -> Answer {
             return eachSlot(q, [&](const MonsterRecord& slot) -> const std::string& {
                 return q.cardNameInPlace(GetCardID(slot.Card, q.ui));
             });
         }},
        {"モンスター状態", [](const Query& q) -> Answer { return eachSlot(q, monsterState); }},
        {"モンスターレベル",
         [](const Query& q) -> Answer {
             return eachSlot(q,
                             [](const MonsterRecord& slot) { return std::to_string(slot.Level); });
         }},
        {"モンスター体力",
         [](const Query& q) -> Answer {
             return eachSlot(
                 q, [](const MonsterRecord& slot) { return std::to_string(slot.HitPoints); });
         }},
        {"モンスターステータス",
         [](const Query& q) -> Answer {
             return eachSlot(q, [&](const MonsterRecord& slot) {
                 return statusText(slot.Status, q.references);
             });
         }},
        // The deck, its cards and the piles by identifier, for scripts that group
        // battles or look cards up. The deck list gives the draw pile away, so it
        // needs the draw pile's level.
        {"デッキ名", [](const Query& q) -> Answer { return q.master().Deck.DeckName; }},
        {"デッキ作者", [](const Query& q) -> Answer { return q.master().Deck.AuthorName; }},
        {"デッキタイプ",
         [](const Query& q) -> Answer { return std::to_string(q.master().Deck.DeckType); }},
        {"デッキ", [](const Query& q) { return securedPile(q, q.master().Deck.Cards, 2); }},
        {"デッキ枚数",
         [](const Query& q) -> Answer { return elementCount(q.master().Deck.Cards); }},
        {"デッキID",
         [](const Query& q) { return securedIdentifiers(q, q.master().Deck.Cards, 2); }},
        {"手札ID", [](const Query& q) { return securedIdentifiers(q, q.master().Hand, 1); }},
        {"山札ID", [](const Query& q) { return securedIdentifiers(q, q.master().DrawPile, 2); }},
        {"捨札ID", [](const Query& q) { return identifierList(q.master().DiscardPile, ","); }},
        {"マスターID", [](const Query& q) -> Answer { return q.master().Deck.Master; }},
        {"マスターステータスID", [](const Query& q) -> Answer { return q.master().Status; }},
        {"モンスターID",
         [](const Query& q) -> Answer {
             return eachSlot(q,
                             [&](const MonsterRecord& slot) { return GetCardID(slot.Card, q.ui); });
         }},
        {"モンスターステータスID",
         [](const Query& q) -> Answer {
             return eachSlot(
                 q, [](const MonsterRecord& slot) -> const std::string& { return slot.Status; });
         }},
        // The battle file itself.
        {"ファイル名", [](const Query& q) -> Answer { return Path2FileTitle(q.filePath()); }},
        {"ファイルパス", [](const Query& q) -> Answer { return fullPath(q.filePath()); }},
        {"ファイル日時",
         [](const Query& q) -> Answer {
             if (q.battle.FileLoaded) return modificationTime(q.battle.FileModified);
             std::string path = q.filePath();
             return path.empty() ? std::string() : modificationTime(path);
         }},
        {"ファイル番号",
         [](const Query& q) -> Answer { return std::to_string(q.battle.CurrentIndex + 1); }},
        {"ファイル数", [](const Query& q) -> Answer { return std::to_string(q.files.count()); }},
    };
    return table;
}

// Keys that carry an identifier after their name and a ":", as "カード種類:C0012".
// An identifier no table holds answers the empty text.
const std::unordered_map<std::string_view, ArgumentHandler>& argumentVocabulary() {
    static const std::unordered_map<std::string_view, ArgumentHandler> table{
        {"カード名",
         [](const Query& q, const std::string& id) -> Answer { return q.cardName(id); }},
        {"カード種類", cardKind},
        {"カードレア度",
         [](const Query& q, const std::string& id) -> Answer {
             auto card = q.references.findCard(id);
             return card.entry == nullptr ? std::string() : std::to_string(card.entry->Rare);
         }},
        {"カードリスト",
         [](const Query& q, const std::string& id) -> Answer {
             auto card = q.references.findCard(id);
             return card.entry == nullptr ? std::string() : *card.listName;
         }},
        {"ステータス種類",
         [](const Query& q, const std::string& id) -> Answer {
             const StatusEntry* status = q.references.findStatus(id);
             return status == nullptr ? std::string() : letterOf(status->SymbolCode, "-!SP");
         }},
    };
    return table;
}

// The handler of a key that carries an identifier, and where the identifier
// starts; no handler when `key` is not of that form.
struct ArgumentKey {
    ArgumentHandler handler = nullptr;
    std::size_t argumentAt = 0;
};

ArgumentKey argumentKey(std::string_view key) {
    std::size_t colon = key.find(':');
    if (colon == std::string_view::npos) return {};
    const auto& table = argumentVocabulary();
    auto found = table.find(key.substr(0, colon));
    if (found == table.end()) return {};
    return {found->second, colon + 1};
}

}  // namespace

bool isKnownQueryKey(std::string_view key) {
    return vocabulary().contains(key) || argumentKey(key).handler != nullptr;
}

bool isKnownCommand(std::string_view verb) { return verb == kLoadCommand; }

std::optional<ResolvedQuery> resolveQuery(std::string_view key, bool start) {
    if (start) {
        // Past a ":" the name of a key with an identifier is settled, unless a key of
        // the vocabulary itself goes on from there.
        bool keyGoesOn = std::ranges::any_of(
            vocabulary(), [&](const auto& row) { return row.first.starts_with(key); });
        if (keyGoesOn || key.find(':') == std::string_view::npos) return std::nullopt;
    } else if (auto found = vocabulary().find(key); found != vocabulary().end()) {
        return ResolvedQuery{found->second, nullptr, {}};
    }
    if (ArgumentKey withArgument = argumentKey(key); withArgument.handler != nullptr) {
        return ResolvedQuery{nullptr, withArgument.handler,
                             std::string(key.substr(withArgument.argumentAt))};
    }
    return ResolvedQuery{[](const Query&) -> Answer { return "True"; }, nullptr, {}};
}

QueryAnswer answerResolved(const ResolvedQuery& query, std::string_view rest,
                           const QuerySources& sources) {
    const Query asked{sources};
    if (query.handler != nullptr) return query.handler(asked);
    std::string argument = query.argumentStart;
    argument += rest;
    return query.argumentHandler(asked, argument);
}

}  // namespace mirudana
