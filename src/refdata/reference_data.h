// The reference tables loaded at start-up (card lists, master list, status list)
// and the identifier-to-name lookups over them.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/user_interface.h"
#include "platform/source_file_set.h"

namespace mirudana {

struct CardEntry {
    std::string ID;
    std::string Name;
    std::int16_t Kind = 0;
    std::string Extra;
    std::int16_t Rare = 0;
};

struct CardListData {
    std::string Name;
    std::vector<CardEntry> Entries;
};

struct StatusEntry {
    std::string ID;
    std::string Name;
    std::int16_t SymbolCode = 0;
    std::int16_t DigitCode = 0;
};

class ReferenceData {
  public:
    std::vector<CardListData> CardLists;
    std::vector<CardEntry> MasterList;
    std::vector<StatusEntry> StatusList;
    // Every file the loaders read, so that a run never writes its report over one.
    SourceFileSet SourceFiles;

    // Indexes the tables for the lookups; call once the loaders are done.
    void buildIndex();

    // The name of the first entry with this identifier: card lists in listing
    // order, then the master list. Empty when none has it. A failure goes to the
    // error reporter and gives the empty text.
    std::string CardID2CardName(const std::string& id, UserInterface& ui) const;

    // The name of the first status with this identifier, or the empty text.
    std::string StatusID2StatusName(const std::string& id, UserInterface& ui) const;

    // The entry the name lookup takes for `id` and the name of the list it stands
    // in ("master" for the master list); `entry` is nullptr when none has it.
    struct FoundCard {
        const CardEntry* entry = nullptr;
        const std::string* listName = nullptr;
        bool inMasterList = false;
    };
    FoundCard findCard(const std::string& id) const;

    // The first status with this identifier, or nullptr.
    const StatusEntry* findStatus(const std::string& id) const;

  private:
    // Where the first entry of an identifier stands: a card list's index, or
    // kMasterList. Positions rather than pointers, so a copy of the tables keeps
    // a valid index.
    static constexpr std::size_t kMasterList = static_cast<std::size_t>(-1);
    struct Place {
        std::size_t list;
        std::size_t entry;
    };
    std::unordered_map<std::string, Place> cardPlaces_;
    std::unordered_map<std::string, std::size_t> statusPlaces_;
};

}  // namespace mirudana
