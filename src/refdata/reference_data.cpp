#include "refdata/reference_data.h"

#include "app/error_reporter.h"

namespace mirudana {
namespace {

// Walking the tables in their search order and keeping only the first name of each
// identifier gives exactly the answers of a first-match scan.
template <typename Entry>
void indexFirstNames(const std::vector<Entry>& entries,
                     std::unordered_map<std::string, std::string>& index) {
    for (const Entry& entry : entries) index.try_emplace(entry.ID, entry.Name);
}

// A failure (only running out of memory can happen here) is reported at `location`.
std::string nameIn(const std::unordered_map<std::string, std::string>& index, const std::string& id,
                   UserInterface& ui, const char* location) {
    try {
        auto found = index.find(id);
        return found == index.end() ? std::string() : found->second;
    } catch (...) {
        reportCurrentException(ui, location);
        return {};
    }
}

}  // namespace

void ReferenceData::buildIndex() {
    cardNames_.clear();
    statusNames_.clear();
    for (const CardListData& list : CardLists) indexFirstNames(list.Entries, cardNames_);
    indexFirstNames(MasterList, cardNames_);
    indexFirstNames(StatusList, statusNames_);
}

std::string ReferenceData::CardID2CardName(const std::string& id, UserInterface& ui) const {
    return nameIn(cardNames_, id, ui, "CardList.CardID2CardName");
}

std::string ReferenceData::StatusID2StatusName(const std::string& id, UserInterface& ui) const {
    return nameIn(statusNames_, id, ui, "BattleOperation.StatusID2StatusName");
}

}  // namespace mirudana
