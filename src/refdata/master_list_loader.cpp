// LoadMasterlist: "master.dat" in the card folder.
#include <string>

#include "app/error_reporter.h"
#include "platform/file_system.h"
#include "refdata/field_reader.h"
#include "refdata/loader_messages.h"
#include "refdata/loaders.h"
#include "refdata/record_table.h"

namespace mirudana {
namespace {

constexpr const char* kLocation = "CardList.LoadMasterlist";

void readMaster(FieldReader& reader, CardEntry& entry) {
    entry.ID = reader.next();
    entry.Name = reader.next();
    entry.Kind = columnCode(reader.next(), {"N", "A", "W"}, 0);
}

}  // namespace

LoadVerdict LoadMasterlist(ReferenceData& data, const Folders& folders, UserInterface& ui) {
    std::string path = folders.CardFolder + "master.dat";
    if (!isOrdinaryFile(path)) {
        ui.showWarning(loaderWarning(kCardListsMissingWarning, path));
        return LoadVerdict::EndTool;
    }
    data.MasterList.assign(1, CardEntry{});
    std::size_t records = 0;
    try {
        FieldReader reader(data.SourceFiles.read(path, kMaxMasterListBytes));
        records = readRecords(reader, data.MasterList, readMaster);
    } catch (...) {
        reportCurrentException(ui, kLocation);
        return LoadVerdict::Continue;
    }
    if (records == 0) {
        ui.showWarning(loaderWarning(kMasterListInvalidWarning, path));
        return LoadVerdict::EndTool;
    }
    return LoadVerdict::Continue;
}

}  // namespace mirudana
