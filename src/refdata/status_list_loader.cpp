// LoadStatusList: "state.dat" in the state folder.
#include <string>

#include "app/error_reporter.h"
#include "platform/file_system.h"
#include "refdata/field_reader.h"
#include "refdata/loader_messages.h"
#include "refdata/loaders.h"
#include "refdata/record_table.h"

namespace mirudana {
namespace {

constexpr const char* kLocation = "BattleOperation.LoadStatusList";

void readStatus(FieldReader& reader, StatusEntry& entry) {
    entry.ID = reader.next();
    entry.Name = reader.next();
    entry.SymbolCode = columnCode(reader.next(), {"-", "!", "S", "P"}, 4);
    entry.DigitCode = columnCode(reader.next(), {"0", "1", "2"}, 0);
}

}  // namespace

LoadVerdict LoadStatusList(ReferenceData& data, const Folders& folders, UserInterface& ui) {
    data.StatusList.assign(1, StatusEntry{});
    std::string path = folders.StateFolder + "state.dat";
    if (!isOrdinaryFile(path)) {
        ui.showWarning(loaderWarning(kStatusListMissingWarning, path));
        return LoadVerdict::EndTool;
    }
    try {
        FieldReader reader(data.SourceFiles.read(path, kMaxStatusListBytes));
        readRecords(reader, data.StatusList, readStatus);
    } catch (...) {
        reportCurrentException(ui, kLocation);
    }
    return LoadVerdict::Continue;
}

}  // namespace mirudana
