#include "report/query_vocabulary.h"

#include <string_view>
#include <unordered_map>

#include "refdata/text_helpers.h"
#include "report/query_texts.h"

namespace mirudana {
namespace {

struct Query {
    const LoadedBattle& battle;
    const ReferenceData& references;
    UserInterface& ui;

    const SideRecord& side() const { return battle.GetTargetSide(); }
    const MasterRecord& master() const { return side().Master; }
    std::string info(const std::string& key) const {
        return GetTextValue(battle.record.InfoText, key);
    }
    std::string cardName(const std::string& id) const { return references.CardID2CardName(id, ui); }
};

using Answer = std::optional<std::string>;
using Handler = Answer (*)(const Query&);

// A pile listed by card name once the security level reaches `minimumLevel`.
Answer securedPile(const Query& q, const TextList& pile, std::int16_t minimumLevel) {
    auto level = securityLevel(q.battle.record.InfoText);
    if (!level) return std::nullopt;
    if (*level < minimumLevel) return std::string();
    return cardNameList(pile, "、", q.references, q.ui);
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
             return q.info("nowplay") == "s" ? "サーバー" : "クライアント";
         }},
        {"対象",
         [](const Query& q) -> Answer {
             return q.battle.TargetIsClient ? "クライアント" : "サーバー";
         }},
        {"手札", [](const Query& q) { return securedPile(q, q.master().Hand, 1); }},
        {"手札枚数", [](const Query& q) -> Answer { return listCount(q.master().Hand); }},
        {"山札", [](const Query& q) { return securedPile(q, q.master().DrawPile, 2); }},
        {"山札枚数", [](const Query& q) -> Answer { return listCount(q.master().DrawPile); }},
        {"捨札",
         [](const Query& q) {
             return cardNameList(q.master().DiscardPile, ",", q.references, q.ui);
         }},
        {"捨札枚数", [](const Query& q) -> Answer { return listCount(q.master().DiscardPile); }},
        {"マスター名", [](const Query& q) -> Answer { return q.master().Name; }},
        {"マスター種類",
         [](const Query& q) -> Answer { return q.cardName(q.master().Deck.Master); }},
        {"マスター体力",
         [](const Query& q) -> Answer { return std::to_string(q.master().HitPoints); }},
        {"マスターステータス",
         [](const Query& q) -> Answer {
             return statusText(q.master().Status, q.references, q.ui);
         }},
        {"ストーン", [](const Query& q) -> Answer { return std::to_string(q.master().Stones); }},
        {"フェイズ",
         [](const Query& q) -> Answer { return q.master().FirstPlayer ? "先攻" : "後攻"; }},
        {"モンスター名",
         [](const Query& q) -> Answer {
             return eachSlot(q, [&](const MonsterRecord& slot) {
                 return q.cardName(GetCardID(slot.Card, q.ui));
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
                 return statusText(slot.Status, q.references, q.ui);
             });
         }},
    };
    return table;
}

}  // namespace

bool isKnownQueryKey(std::string_view key) { return vocabulary().contains(key); }

bool isKnownSetDataItem(std::string_view item) {
    return item == kReportItem || item == kTargetItem;
}

bool isKnownCommand(std::string_view verb) { return verb == kLoadCommand; }

std::optional<std::string> answerQuery(const std::string& key, const LoadedBattle& battle,
                                       const ReferenceData& references, UserInterface& ui) {
    const auto& table = vocabulary();
    auto found = table.find(key);
    if (found == table.end()) return "True";
    return found->second(Query{battle, references, ui});
}

}  // namespace mirudana
