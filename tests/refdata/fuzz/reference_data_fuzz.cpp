// libFuzzer entry point: any bytes, read by the field reader and as each of the three
// reference files, end in fields, records or a reported failure; nothing may escape,
// crash, trip a sanitizer, or decode to invalid UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/folders.h"
#include "platform/failure.h"
#include "platform/utf.h"
#include "refdata/field_reader.h"
#include "refdata/loaders.h"
#include "refdata/reference_data.h"
#include "support/fake_user_interface.h"
#include "support/temp_dir.h"

namespace {

using namespace mirudana;

void readAllFields(std::string_view bytes) {
    FieldReader reader{std::string(bytes)};
    try {
        // Every call consumes at least a separator or ends the file, so this ends.
        while (!reader.atEnd()) {
            if (!isValidUtf8(reader.next())) std::abort();
        }
    } catch (const Failure&) {
    }
}

// One program folder for the whole run; every input overwrites its files. The same
// bytes stand for a card list, a card's rarity file, the master list and the status list.
void loadAsReferenceFiles(std::string_view bytes) {
    static const testing::TempDir dir;
    static const Folders folders = computeFolders(dir.path());
    dir.write("system/cards/list.kvl", bytes);
    dir.write("system/cards/C0001.ini", bytes);
    dir.write("system/cards/master.dat", bytes);
    dir.write("system/state/state.dat", bytes);

    testing::FakeUserInterface ui;
    ReferenceData data;
    try {
        LoadCardlist(data, folders, ui);
        LoadMasterlist(data, folders, ui);
        LoadStatusList(data, folders, ui);
    } catch (const testing::ToolEnded&) {
    }
    data.buildIndex();
    for (const CardListData& list : data.CardLists) {
        for (const CardEntry& card : list.Entries) (void)data.CardID2CardName(card.ID, ui);
    }
    for (const StatusEntry& status : data.StatusList) {
        (void)data.StatusID2StatusName(status.ID, ui);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    readAllFields(bytes);
    loadAsReferenceFiles(bytes);
    return 0;
}
