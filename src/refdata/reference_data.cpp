#include "refdata/reference_data.h"

#include "app/error_reporter.h"

namespace mirudana {
namespace {

const std::string kMasterListName = "master";

// A failure (only running out of memory can happen here) is reported at `location`.
template <typename Entry>
std::string nameOf(const Entry* entry, UserInterface& ui, const char* location) {
    try {
        return entry == nullptr ? std::string() : entry->Name;
    } catch (...) {
        reportCurrentException(ui, location);
        return {};
    }
}

}  // namespace

// Walking the tables in their search order and keeping only the first place of
// each identifier gives exactly the answers of a first-match scan.
void ReferenceData::buildIndex() {
    cardPlaces_.clear();
    statusPlaces_.clear();
    for (std::size_t list = 0; list < CardLists.size(); ++list) {
        const auto& entries = CardLists[list].Entries;
        for (std::size_t entry = 0; entry < entries.size(); ++entry) {
            cardPlaces_.try_emplace(entries[entry].ID, Place{list, entry});
        }
    }
    for (std::size_t entry = 0; entry < MasterList.size(); ++entry) {
        cardPlaces_.try_emplace(MasterList[entry].ID, Place{kMasterList, entry});
    }
    for (std::size_t entry = 0; entry < StatusList.size(); ++entry) {
        statusPlaces_.try_emplace(StatusList[entry].ID, entry);
    }
}

ReferenceData::FoundCard ReferenceData::findCard(const std::string& id) const {
    auto found = cardPlaces_.find(id);
    if (found == cardPlaces_.end()) return {};
    const Place& place = found->second;
    if (place.list == kMasterList) return {&MasterList[place.entry], &kMasterListName, true};
    const CardListData& list = CardLists[place.list];
    return {&list.Entries[place.entry], &list.Name, false};
}

const StatusEntry* ReferenceData::findStatus(const std::string& id) const {
    auto found = statusPlaces_.find(id);
    return found == statusPlaces_.end() ? nullptr : &StatusList[found->second];
}

std::string ReferenceData::CardID2CardName(const std::string& id, UserInterface& ui) const {
    return nameOf(findCard(id).entry, ui, "CardList.CardID2CardName");
}

std::string ReferenceData::StatusID2StatusName(const std::string& id, UserInterface& ui) const {
    return nameOf(findStatus(id), ui, "BattleOperation.StatusID2StatusName");
}

}  // namespace mirudana
