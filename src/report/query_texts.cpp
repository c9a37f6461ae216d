#include "report/query_texts.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "refdata/text_helpers.h"

namespace mirudana {

std::optional<std::string> cardNameList(const TextList& list, const std::string& separator,
                                        const ReferenceData& references, UserInterface& ui) {
    if (!list.present) return std::nullopt;
    // Only stored elements are named: a list of more dimensions may hold fewer
    // elements than its first count, and a hostile count must not spin for ages.
    std::size_t named = std::min<std::size_t>(list.count, list.items.size());
    std::string joined;
    for (std::size_t offset = 0; offset < named; ++offset) {
        if (offset != 0) joined += separator;
        joined += references.CardID2CardName(list.items[offset], ui);
    }
    return joined;
}

std::string listCount(const TextList& list) {
    if (!list.present) return "0";
    std::int64_t upper = list.upperBound();
    if (upper == 1) {
        auto first = list.at(0);
        if (!first) return "1";
        if (first->empty()) return "0";
    }
    return std::to_string(upper);
}

std::string statusText(const std::string& statusIds, const ReferenceData& references,
                       UserInterface& ui) {
    std::string joined;
    if (statusIds.empty()) return joined;
    std::string_view rest = statusIds;
    for (;;) {
        std::size_t slash = rest.find('/');
        joined += references.StatusID2StatusName(std::string(rest.substr(0, slash)), ui);
        if (slash == std::string_view::npos) break;
        joined += '/';
        rest.remove_prefix(slash + 1);
    }
    return joined;
}

std::optional<std::int16_t> securityLevel(const std::string& infoText) {
    std::string value = GetTextValue(infoText, "SecurityLevel");
    std::string_view digits = value;
    if (!digits.empty() && digits.front() == '-') digits.remove_prefix(1);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    std::int16_t level = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), level);
    if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;
    return level;
}

}  // namespace mirudana
