#include "player_history.h"

#include <algorithm>
#include <array>

#include "dice.h"

namespace mirudana::kvsgen {
namespace {

// 2024-04-01 00:00 UTC, a Monday; sessions start in the evening, Japan time.
constexpr std::int64_t kFirstDay = 1711929600;
constexpr std::int64_t kEveningUtc = 10 * 3600;  // 19:00 in Japan

// What each Dice stream is drawn for, so that no two draw the same numbers.
enum Stream : std::uint64_t { kSessions = 1, kBattles, kOpponents, kFavourites, kDecks };

constexpr std::array<const char*, 60> kOpponentNames = {
    "ひかり", "蒼月",   "sora_42", "カイト", "紅葉",   "Rin",    "ツバサ", "ユウキ", "はるか",
    "黒猫",   "Kazuma", "さくら",  "龍之介", "Mio",    "アオイ", "れん",   "白銀",   "Taku_7",
    "ナギ",   "こはる", "疾風",    "Yuna",   "ハヤテ", "ゆず",   "蓮",     "Shin",   "リク",
    "みさき", "雪丸",   "Haru",    "カナデ", "ひなた", "朧",     "Noa",    "ソウタ", "あかり",
    "迅",     "Emi",    "シオン",  "つむぎ", "桜花",   "Leo",    "ヒロ",   "まどか", "玄武",
    "Aki",    "コウ",   "ちひろ",  "翠",     "Kei",    "マコト", "すず",   "凪",     "Ren_99",
    "ルイ",   "のぞみ", "焔",      "Sho",    "タクミ", "いろは"};

constexpr std::array<const char*, 6> kPlayerDecks = {"速攻デッキ", "炎の守り",   "氷結コントロール",
                                                     "森の行進",   "雷鳴ビート", "闇夜の奇襲"};

constexpr std::array<const char*, 10> kOpponentDecks = {
    "竜騎士", "光の盾", "砂塵ミッドレンジ", "毒沼",       "機械仕掛け",
    "海賊団", "星詠み", "test deck",        "白夜ランプ", "影縫いコンボ"};

}  // namespace

PlayerDeck playerDeck(int deck, int masters) {
    return {kPlayerDecks[static_cast<std::size_t>(deck)], deck % masters + 1};
}

int playerDeckCount() { return static_cast<int>(kPlayerDecks.size()); }

std::string opponentDeckName(int opponent, int master) {
    return kOpponentDecks[static_cast<std::size_t>(opponent * 7 + master * 3) %
                          kOpponentDecks.size()];
}

PlayerHistory::PlayerHistory(std::uint64_t seed, int masters) : seed_(seed), masters_(masters) {
    Dice dice{seed, kOpponents};
    std::vector<const char*> names(kOpponentNames.begin(), kOpponentNames.end());
    int count = dice.between(30, 60);
    int total = 0;
    for (int rank = 0; rank < count; ++rank) {
        // A shuffle of the names, as far as they are needed.
        std::swap(names[static_cast<std::size_t>(rank)],
                  names[static_cast<std::size_t>(dice.between(rank, count - 1))]);
        Dice favourite{seed, kFavourites, static_cast<std::uint64_t>(rank)};
        opponents_.push_back(
            {names[static_cast<std::size_t>(rank)], favourite.between(1, masters)});
        // A few opponents are met again and again, most only now and then.
        total += 1200 / (rank + 2);
        opponentWeights_.push_back(total);
    }
}

const PlayerHistory::DeckSpell& PlayerHistory::decksOfWeek(int week) {
    while (static_cast<int>(decksOfWeek_.size()) <= week) {
        // A deck is kept for three to six weeks, then another takes its place.
        Dice dice{seed_, kDecks, decksOfWeek_.size()};
        int previous = decksOfWeek_.empty() ? -1 : decksOfWeek_.back().main;
        int main = dice.below(playerDeckCount());
        if (main == previous) main = (main + 1) % playerDeckCount();
        int side = (main + dice.between(1, playerDeckCount() - 1)) % playerDeckCount();
        decksOfWeek_.insert(decksOfWeek_.end(), static_cast<std::size_t>(dice.between(3, 6)),
                            DeckSpell{main, side});
    }
    return decksOfWeek_[static_cast<std::size_t>(week)];
}

HistoryBattle PlayerHistory::battle(int index) {
    // Sessions of three to sixteen battles, most evenings, now and then a few days
    // apart: about six battles a day, so 2,000 battles take a year.
    if (sessions_.empty()) sessions_.push_back({1, 0});
    while (sessions_.back().firstIndex <= index) {
        Dice dice{seed_, kSessions, sessions_.size() - 1};
        int size = dice.between(3, 8) + (dice.chance(50) ? dice.between(0, 8) : 0);
        int gap = dice.chance(70) ? 1 : dice.chance(67) ? 2 : dice.between(3, 5);
        Session last = sessions_.back();
        sessions_.push_back({last.firstIndex + size, last.day + gap});
    }
    auto after = std::upper_bound(sessions_.begin(), sessions_.end(), index,
                                  [](int i, const Session& s) { return i < s.firstIndex; });
    const Session& session = *(after - 1);
    auto k = static_cast<std::uint64_t>(after - 1 - sessions_.begin());

    Dice timing{seed_, kSessions, k, 1};
    std::int64_t at =
        kFirstDay + std::int64_t{session.day} * 86400 + kEveningUtc + timing.between(0, 90) * 60;
    // Five to twelve minutes a battle: the longest session ends before midnight.
    for (int i = session.firstIndex; i <= index; ++i) at += timing.between(5 * 60, 12 * 60);

    Dice dice{seed_, kBattles, static_cast<std::uint64_t>(index)};
    HistoryBattle battle;
    battle.savedAt = at;
    const DeckSpell& decks = decksOfWeek(session.day / 7);
    battle.playerDeck = dice.chance(75) ? decks.main : decks.side;
    int pick = dice.below(opponentWeights_.back());
    battle.opponent =
        static_cast<int>(std::upper_bound(opponentWeights_.begin(), opponentWeights_.end(), pick) -
                         opponentWeights_.begin());
    battle.opponentMaster =
        dice.chance(80) ? opponents_[static_cast<std::size_t>(battle.opponent)].favouriteMaster
                        : dice.between(1, masters_);
    return battle;
}

}  // namespace mirudana::kvsgen
