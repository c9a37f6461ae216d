#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "platform/paths.h"
#include "refdata/loaders.h"
#include "support/fake_user_interface.h"
#include "support/reference_folder.h"

namespace mirudana {
namespace {

using testing::FakeUserInterface;
using testing::ReferenceFolder;

constexpr const char* kLocation = "CardList.LoadCardlist";

std::vector<std::string> listNames(const ReferenceData& data) {
    std::vector<std::string> names;
    for (const CardListData& list : data.CardLists) names.push_back(list.Name);
    return names;
}

std::string records(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "C" + std::to_string(i) + ",N,F,\r\n";
    return text;
}

TEST(CardListLoaderTest, LoadsEveryListInNameOrderWithKindsAndExtras) {
    ReferenceFolder folder;
    folder.cardFile("b.kvl",
                    "B1,火竜,F,備考\r\nB2,\"水,竜\",B,\r\nB3,x,S,e\r\nB4,x,M,e\r\n"
                    "B5,x,f,e\r\nB6,x,X,e");
    folder.cardFile("a.v1.kvl", "A1,甲,M,\r\n");
    folder.cardFile("c.KVL", "");
    folder.cardFile(".hidden.kvl", "H1,h,F,\r\n");
    folder.cardFile("notes.txt", "T1,t,F,\r\n");
    FakeUserInterface ui;
    ReferenceData data;

    EXPECT_EQ(LoadCardlist(data, folder.folders, ui), LoadVerdict::Continue);

    EXPECT_TRUE(ui.warnings.empty());
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(listNames(data), (std::vector<std::string>{"a.v1", "b", "c"}));
    const std::vector<CardEntry>& b = data.CardLists[1].Entries;
    ASSERT_EQ(b.size(), 6u);
    EXPECT_EQ(b[0].ID, "B1");
    EXPECT_EQ(b[0].Name, "火竜");
    EXPECT_EQ(b[0].Extra, "備考");
    EXPECT_EQ(b[1].Name, "水,竜");
    std::vector<int> kinds;
    for (const CardEntry& e : b) kinds.push_back(e.Kind);
    EXPECT_EQ(kinds, (std::vector<int>{0, 1, 2, 3, 0, 0}));
    EXPECT_TRUE(data.CardLists[2].Entries.empty());
}

TEST(CardListLoaderTest, ReadsRarityFromEachCardsIniFile) {
    ReferenceFolder folder;
    struct Case {
        const char* id;
        const char* ini;  // nullptr: no INI file
        int rare;
    };
    const std::vector<Case> cases = {
        {"R1", "[head]\r\nrare=3\r\n", 3},
        {"R2", nullptr, 0},
        {"R3", "[head]\r\nrare=\r\n", 0},
        {"R4", "[head]\r\nrare=強い\r\n", 0},
        {"R5", "[other]\r\nrare=5\r\n", 0},
        {"R6", "[head]\r\nrare=2.5\r\n", 2},
        {"R7", "[HEAD]\r\nRare=-7\r\n", -7},
        // "r8.INI" is the INI file of R8 only where file names ignore case.
        {"R8", nullptr, kDirSep == '\\' ? 8 : 0},
    };
    std::string list;
    for (const Case& c : cases) {
        list += std::string(c.id) + ",n,F,\r\n";
        if (c.ini) folder.cardFile(std::string(c.id) + ".ini", c.ini);
    }
    folder.cardFile("r8.INI", "[head]\r\nrare=8\r\n");
    folder.cardFile("list.kvl", list);
    FakeUserInterface ui;
    ReferenceData data;

    LoadCardlist(data, folder.folders, ui);

    EXPECT_TRUE(ui.questions.empty());
    const std::vector<CardEntry>& entries = data.CardLists[0].Entries;
    ASSERT_EQ(entries.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].id);
        EXPECT_EQ(entries[i].Rare, cases[i].rare);
    }
}

TEST(CardListLoaderTest, IdentifierNamingAPathOutsideTheCardFolderIsNotRead) {
    ReferenceFolder folder;
    folder.dir.write("system/outside.ini", "[head]\r\nrare=9\r\n");
    folder.cardFile("list.kvl", "../outside,n,F,\r\n");
    FakeUserInterface ui;
    ReferenceData data;

    LoadCardlist(data, folder.folders, ui);

    ASSERT_EQ(data.CardLists[0].Entries.size(), 1u);
    EXPECT_EQ(data.CardLists[0].Entries[0].Rare, 0);
}

TEST(CardListLoaderTest, MissingListsEndTheTool) {
    for (bool folderExists : {false, true}) {
        SCOPED_TRACE(folderExists ? "empty card folder" : "no card folder");
        ReferenceFolder folder;
        if (folderExists) folder.cardFile("master.dat", "M,m,N\r\n");
        FakeUserInterface ui;
        ReferenceData data;

        EXPECT_EQ(LoadCardlist(data, folder.folders, ui), LoadVerdict::EndTool);
        EXPECT_EQ(ui.warnings,
                  std::vector<std::string>{
                      "カードリストが正しく配置されていません。確認してください。\r\n" +
                      folder.folders.CardFolder});
        EXPECT_TRUE(ui.questions.empty());
    }
}

TEST(CardListLoaderTest, ReadFailureKeepsWhatWasReadAndSkipsLaterLists) {
    struct Case {
        const char* name;
        std::string broken;
        int failure;
        std::size_t entries;  // in the broken list, the incomplete one included
        CardEntry last;
    };
    const std::vector<Case> cases = {
        {"trailing blank line", "A,a,F,x\r\n\r\n", 62, 2, {"", "", 0, "", 0}},
        {"short last line", "A,a,F,x\r\nB,b,S", 62, 2, {"B", "b", 2, "", 0}},
        {"rarity out of range", "A,a,F,x\r\nBIG,big,M,y\r\n", 6, 2, {"BIG", "big", 3, "y", 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReferenceFolder folder;
        folder.cardFile("1.kvl", "Z,z,F,\r\n");
        folder.cardFile("2.kvl", c.broken);
        folder.cardFile("3.kvl", "L,later,F,\r\n");
        folder.cardFile("BIG.ini", "[head]\r\nrare=1e9\r\n");
        FakeUserInterface ui;
        ReferenceData data;

        EXPECT_EQ(LoadCardlist(data, folder.folders, ui), LoadVerdict::Continue);

        EXPECT_TRUE(ui.warnings.empty());
        ASSERT_EQ(ui.questions.size(), 1u);
        EXPECT_EQ(ui.questions[0].message,
                  errorMessageText(static_cast<std::int16_t>(c.failure), kLocation));
        ASSERT_EQ(listNames(data), (std::vector<std::string>{"1", "2"}));
        const std::vector<CardEntry>& entries = data.CardLists[1].Entries;
        ASSERT_EQ(entries.size(), c.entries);
        EXPECT_EQ(entries[0].ID, "A");
        EXPECT_EQ(entries.back().ID, c.last.ID);
        EXPECT_EQ(entries.back().Name, c.last.Name);
        EXPECT_EQ(entries.back().Kind, c.last.Kind);
        EXPECT_EQ(entries.back().Extra, c.last.Extra);
        EXPECT_EQ(entries.back().Rare, 0);
    }
}

TEST(CardListLoaderTest, ListOfMoreThan32768RecordsStopsAtTheLimit) {
    ReferenceFolder folder;
    folder.cardFile("full.kvl", records(32768));
    folder.cardFile("over.kvl", records(40000));
    FakeUserInterface ui;
    ReferenceData data;

    LoadCardlist(data, folder.folders, ui);

    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].message, errorMessageText(6, kLocation));
    ASSERT_EQ(data.CardLists.size(), 2u);
    EXPECT_EQ(data.CardLists[0].Entries.size(), 32768u);
    EXPECT_EQ(data.CardLists[1].Entries.size(), 32768u);
    EXPECT_EQ(data.CardLists[1].Entries.back().ID, "C32767");
}

}  // namespace
}  // namespace mirudana
