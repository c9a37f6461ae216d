#include "battle/list_sort.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "app/error_reporter.h"
#include "battle/file_title.h"
#include "platform/utf.h"

namespace mirudana {

void ListSort(BattleFileList& list, UserInterface& ui) {
    try {
        const int n = list.count();
        // char16_t compares as unsigned, code unit by code unit, shorter first on a tie.
        std::vector<std::u16string> titles;
        titles.reserve(static_cast<std::size_t>(std::max(n, 0)));
        for (int i = 0; i < n; ++i) titles.push_back(utf8ToUtf16(Path2FileTitle(list.entryAt(i))));

        for (int i = 0; i < n; ++i) {
            for (int j = i + 1; j < n; ++j) {
                auto& left = titles[static_cast<std::size_t>(i)];
                auto& right = titles[static_cast<std::size_t>(j)];
                if (!(left > right)) continue;
                std::swap(left, right);
                std::string kept = list.entryAt(i);
                list.replaceAt(i, list.entryAt(j));
                list.replaceAt(j, kept);
            }
        }
    } catch (...) {
        reportCurrentException(ui, "frmPrintout.ListSort");
    }
}

}  // namespace mirudana
