#include "battle/list_sort.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "app/error_reporter.h"
#include "battle/file_title.h"
#include "platform/utf.h"

namespace mirudana {
namespace {

// Each entry's title as a rank: equal titles share one. char16_t compares as
// unsigned, code unit by code unit, shorter first on a tie. `byTitle` is the
// entries in title order, ties in list order.
std::vector<int> titleRanks(const BattleFileList& list, std::vector<int>& byTitle) {
    const int n = list.count();
    std::vector<std::u16string> titles;
    titles.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) titles.push_back(utf8ToUtf16(Path2FileTitle(list.entryAt(i))));
    byTitle.resize(static_cast<std::size_t>(n));
    std::iota(byTitle.begin(), byTitle.end(), 0);
    std::stable_sort(byTitle.begin(), byTitle.end(), [&titles](int a, int b) {
        return titles[static_cast<std::size_t>(a)] < titles[static_cast<std::size_t>(b)];
    });
    std::vector<int> ranks(static_cast<std::size_t>(n));
    int rank = 0;
    for (std::size_t k = 0; k < byTitle.size(); ++k) {
        const auto entry = static_cast<std::size_t>(byTitle[k]);
        if (k > 0 && titles[entry] != titles[static_cast<std::size_t>(byTitle[k - 1])]) ++rank;
        ranks[entry] = rank;
    }
    return ranks;
}

// The list position each position's entry comes from once sorted. When no two
// titles are equal, the sorted order is the only one; otherwise the exchange sort
// is played out on the ranks, since which of the equal titles ends first depends
// on the exchanges made on the way.
std::vector<int> sortedOrigins(std::vector<int> ranks, std::vector<int> byTitle) {
    if (std::is_sorted(ranks.begin(), ranks.end())) {
        std::iota(byTitle.begin(), byTitle.end(), 0);
        return byTitle;
    }
    if (std::adjacent_find(byTitle.begin(), byTitle.end(), [&ranks](int a, int b) {
            return ranks[static_cast<std::size_t>(a)] == ranks[static_cast<std::size_t>(b)];
        }) == byTitle.end()) {
        return byTitle;
    }
    std::vector<int> origins(ranks.size());
    std::iota(origins.begin(), origins.end(), 0);
    for (std::size_t i = 0; i < ranks.size(); ++i) {
        for (std::size_t j = i + 1; j < ranks.size(); ++j) {
            if (ranks[i] <= ranks[j]) continue;
            std::swap(ranks[i], ranks[j]);
            std::swap(origins[i], origins[j]);
        }
    }
    return origins;
}

}  // namespace

void ListSort(BattleFileList& list, UserInterface& ui) {
    try {
        std::vector<int> byTitle;
        std::vector<int> ranks = titleRanks(list, byTitle);
        const std::vector<int> origins = sortedOrigins(std::move(ranks), std::move(byTitle));
        // Brought there by exchanges, each putting one position's entry in place, so a
        // failure leaves every entry in the list once.
        std::vector<int> at(origins.size());  // the original entry at each position
        std::iota(at.begin(), at.end(), 0);
        std::vector<int> where = at;  // each original entry's position
        for (std::size_t k = 0; k < origins.size(); ++k) {
            const int wanted = origins[k];
            if (at[k] == wanted) continue;
            const int from = where[static_cast<std::size_t>(wanted)];
            const int here = static_cast<int>(k);
            std::string kept = list.entryAt(here);
            list.replaceAt(here, list.entryAt(from));
            list.replaceAt(from, kept);
            where[static_cast<std::size_t>(at[k])] = from;
            where[static_cast<std::size_t>(wanted)] = here;
            std::swap(at[k], at[static_cast<std::size_t>(from)]);
        }
    } catch (...) {
        reportCurrentException(ui, "frmPrintout.ListSort");
    }
}

}  // namespace mirudana
