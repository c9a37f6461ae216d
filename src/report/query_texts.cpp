#include "report/query_texts.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <string_view>

#include "platform/local_time.h"
#include "platform/native_path.h"
#include "refdata/text_helpers.h"

namespace mirudana {

namespace {

// Only stored elements count: a list of more dimensions may hold fewer elements
// than its first count, and a hostile count must not spin for ages.
std::size_t storedElements(const TextList& list) {
    return std::min<std::size_t>(list.count, list.items.size());
}

template <typename ElementText>
std::optional<std::string> joinElements(const TextList& list, const std::string& separator,
                                        ElementText elementText) {
    if (!list.present) return std::nullopt;
    std::string joined;
    // Room for names of a dozen Japanese characters, so most joins allocate once.
    constexpr std::size_t kLikelyElementBytes = 36;
    joined.reserve(storedElements(list) * (kLikelyElementBytes + separator.size()));
    for (std::size_t offset = 0; offset < storedElements(list); ++offset) {
        if (offset != 0) joined += separator;
        joined += elementText(list.items[offset]);
    }
    return joined;
}

// What an unknown identifier is named.
const std::string kUnknownName;

}  // namespace

// The names are appended where they stand: with no copy of each, the lookup itself
// cannot fail.
const std::string& cardNameOrEmpty(const std::string& id, const ReferenceData& references) {
    const CardEntry* entry = references.findCard(id).entry;
    return entry != nullptr ? entry->Name : kUnknownName;
}

std::optional<std::string> cardNameList(const TextList& list, const std::string& separator,
                                        const ReferenceData& references) {
    return joinElements(list, separator, [&](const std::string& id) -> const std::string& {
        return cardNameOrEmpty(id, references);
    });
}

std::optional<std::string> identifierList(const TextList& list, const std::string& separator) {
    return joinElements(list, separator,
                        [](const std::string& id) -> const std::string& { return id; });
}

std::string elementCount(const TextList& list) {
    return std::to_string(list.present ? storedElements(list) : 0);
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

std::string statusText(const std::string& statusIds, const ReferenceData& references) {
    std::string joined;
    if (statusIds.empty()) return joined;
    std::string_view rest = statusIds;
    for (;;) {
        std::size_t slash = rest.find('/');
        const StatusEntry* status = references.findStatus(std::string(rest.substr(0, slash)));
        joined += status != nullptr ? status->Name : kUnknownName;
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

std::string modificationTime(const std::string& path) {
    std::error_code error;
    auto written = std::filesystem::last_write_time(nativePath(path), error);
    if (error) return {};
    return modificationTime(std::chrono::time_point_cast<std::chrono::system_clock::duration>(
        std::chrono::file_clock::to_sys(written)));
}

std::string modificationTime(std::chrono::system_clock::time_point modified) {
    return localTimeText(std::chrono::system_clock::to_time_t(modified));
}

}  // namespace mirudana
