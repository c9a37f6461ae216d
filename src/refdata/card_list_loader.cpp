// LoadCardlist: every "*.kvl" file of the card folder, with each card's rarity.
#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "platform/file_system.h"
#include "refdata/card_rarity.h"
#include "refdata/field_reader.h"
#include "refdata/loader_messages.h"
#include "refdata/loaders.h"
#include "refdata/record_table.h"

namespace mirudana {
namespace {

constexpr const char* kLocation = "CardList.LoadCardlist";

// The file name without its last extension.
std::string listName(const std::string& fileName) {
    std::size_t dot = fileName.rfind('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

void readCard(FieldReader& reader, CardEntry& entry, CardRarity& rarity) {
    entry.ID = reader.next();
    entry.Name = reader.next();
    entry.Kind = columnCode(reader.next(), {"F", "B", "S", "M"}, 0);
    entry.Extra = reader.next();
    entry.Rare = rarity.of(entry.ID);
}

}  // namespace

LoadVerdict LoadCardlist(ReferenceData& data, const Folders& folders, UserInterface& ui) {
    const std::string& folder = folders.CardFolder;
    data.CardLists.assign(1, CardListData{});
    bool anyFile = false;
    try {
        // One listing serves the lists and the INI files.
        const std::vector<std::string> names = listOrdinaryFiles(folder, "");
        std::vector<std::string> fileNames;
        std::copy_if(names.begin(), names.end(), std::back_inserter(fileNames),
                     [](const std::string& name) { return endsWithIgnoringCase(name, ".kvl"); });
        anyFile = !fileNames.empty();
        if (anyFile) {
            CardRarity rarity(folder, names, data.SourceFiles);
            for (std::size_t i = 0; i < fileNames.size(); ++i) {
                CardListData& list = tableSlot(data.CardLists, i);
                list.Name = listName(fileNames[i]);
                FieldReader reader(data.SourceFiles.read(folder + fileNames[i], kMaxCardListBytes));
                readRecords(reader, list.Entries,
                            [&](FieldReader& r, CardEntry& entry) { readCard(r, entry, rarity); });
            }
        }
    } catch (...) {
        reportCurrentException(ui, kLocation);
        return LoadVerdict::Continue;
    }
    if (!anyFile) {
        ui.showWarning(loaderWarning(kCardListsMissingWarning, folder));
        return LoadVerdict::EndTool;
    }
    return LoadVerdict::Continue;
}

}  // namespace mirudana
