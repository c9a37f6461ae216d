#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "refdata/loaders.h"
#include "support/fake_user_interface.h"
#include "support/reference_folder.h"

namespace mirudana {
namespace {

using testing::FakeUserInterface;
using testing::ReferenceFolder;

std::string masterRecords(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "R" + std::to_string(i) + ",n,N\r\n";
    return text;
}

TEST(MasterListLoaderTest, LoadsRecordsWithKinds) {
    ReferenceFolder folder;
    folder.masterFile("M1,\"竜,王\",N\r\nM2,b,A\r\nM3,c,W\r\nM4,d,n\r\nM5,e,X");
    FakeUserInterface ui;
    ReferenceData data;

    EXPECT_EQ(LoadMasterlist(data, folder.folders, ui), LoadVerdict::Continue);

    EXPECT_TRUE(ui.warnings.empty());
    EXPECT_TRUE(ui.questions.empty());
    ASSERT_EQ(data.MasterList.size(), 5u);
    EXPECT_EQ(data.MasterList[0].Name, "竜,王");
    std::vector<int> kinds;
    for (const CardEntry& e : data.MasterList) kinds.push_back(e.Kind);
    EXPECT_EQ(kinds, (std::vector<int>{0, 1, 2, 0, 0}));
}

TEST(MasterListLoaderTest, MissingOrEmptyFileEndsTheTool) {
    struct Case {
        const char* name;
        const char* content;  // nullptr: no file
        const char* warning;
    };
    const std::vector<Case> cases = {
        {"missing", nullptr, "カードリストが正しく配置されていません。確認してください。"},
        {"zero length", "", "マスターカードリストが不正です。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReferenceFolder folder;
        if (c.content) folder.masterFile(c.content);
        FakeUserInterface ui;
        ReferenceData data;

        EXPECT_EQ(LoadMasterlist(data, folder.folders, ui), LoadVerdict::EndTool);
        EXPECT_EQ(ui.warnings, std::vector<std::string>{std::string(c.warning) + "\r\n" +
                                                        folder.folders.CardFolder + "master.dat"});
        EXPECT_TRUE(ui.questions.empty());
    }
}

TEST(MasterListLoaderTest, ReadFailureIsReportedAndStartUpGoesOn) {
    struct Case {
        const char* name;
        std::string content;
        int failure;
        std::size_t entries;
    };
    const std::vector<Case> cases = {
        {"trailing blank line", "A,a,N\r\nB,b,A\r\n\r\n", 62, 3},
        {"short last line", "A,a,N\r\nB", 62, 2},
        {"only a blank line", "\r\n", 62, 1},
        {"40000 records", masterRecords(40000), 6, 32768},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReferenceFolder folder;
        folder.masterFile(c.content);
        FakeUserInterface ui;
        ReferenceData data;

        EXPECT_EQ(LoadMasterlist(data, folder.folders, ui), LoadVerdict::Continue);

        EXPECT_TRUE(ui.warnings.empty());
        ASSERT_EQ(ui.questions.size(), 1u);
        EXPECT_EQ(ui.questions[0].message, errorMessageText(static_cast<std::int16_t>(c.failure),
                                                            "CardList.LoadMasterlist"));
        EXPECT_EQ(data.MasterList.size(), c.entries);
    }
}

TEST(StatusListLoaderTest, LoadsRecordsWithSymbolAndDigitCodes) {
    ReferenceFolder folder;
    folder.statusFile("a,\"毒,弱\",-,0\r\nb,B,!,1\r\nc,C,S,2\r\nd,D,P,3\r\ne,E,s,x\r\nf,F,X,1");
    FakeUserInterface ui;
    ReferenceData data;

    EXPECT_EQ(LoadStatusList(data, folder.folders, ui), LoadVerdict::Continue);

    EXPECT_TRUE(ui.questions.empty());
    ASSERT_EQ(data.StatusList.size(), 6u);
    EXPECT_EQ(data.StatusList[0].Name, "毒,弱");
    std::vector<std::pair<int, int>> codes;
    for (const StatusEntry& e : data.StatusList) codes.emplace_back(e.SymbolCode, e.DigitCode);
    EXPECT_EQ(codes,
              (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 2}, {3, 0}, {4, 0}, {4, 1}}));
}

TEST(StatusListLoaderTest, EmptyFileLeavesTheBlankEntryAndMissingFileEndsTheTool) {
    ReferenceFolder folder;
    folder.statusFile("");
    FakeUserInterface ui;
    ReferenceData data;
    EXPECT_EQ(LoadStatusList(data, folder.folders, ui), LoadVerdict::Continue);
    EXPECT_TRUE(ui.questions.empty());
    ASSERT_EQ(data.StatusList.size(), 1u);
    EXPECT_EQ(data.StatusList[0].ID, "");

    ReferenceFolder missing;
    EXPECT_EQ(LoadStatusList(data, missing.folders, ui), LoadVerdict::EndTool);
    EXPECT_EQ(ui.warnings,
              std::vector<std::string>{
                  "ステータスデータベースが正しく配置されていません。確認してください。\r\n" +
                  missing.folders.StateFolder + "state.dat"});
}

TEST(StatusListLoaderTest, ReadFailureKeepsTheIncompleteEntry) {
    struct Case {
        const char* name;
        std::string content;
        int failure;
        std::size_t entries;
        StatusEntry last;
    };
    const std::vector<Case> cases = {
        {"trailing blank line", "a,A,!,1\r\n\r\n", 62, 2, {"", "", 0, 0}},
        {"short last line", "a,A,!,1\r\nb,B,P", 62, 2, {"b", "B", 3, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReferenceFolder folder;
        folder.statusFile(c.content);
        FakeUserInterface ui;
        ReferenceData data;

        EXPECT_EQ(LoadStatusList(data, folder.folders, ui), LoadVerdict::Continue);

        ASSERT_EQ(ui.questions.size(), 1u);
        EXPECT_EQ(ui.questions[0].message, errorMessageText(static_cast<std::int16_t>(c.failure),
                                                            "BattleOperation.LoadStatusList"));
        ASSERT_EQ(data.StatusList.size(), c.entries);
        const StatusEntry& last = data.StatusList.back();
        EXPECT_EQ(last.ID, c.last.ID);
        EXPECT_EQ(last.Name, c.last.Name);
        EXPECT_EQ(last.SymbolCode, c.last.SymbolCode);
        EXPECT_EQ(last.DigitCode, c.last.DigitCode);
    }
}

}  // namespace
}  // namespace mirudana

namespace mirudana {
namespace {

// Each kind of reference file one byte over its limit: failure 7 at its loader,
// before the file is read. The files are sparse, so they cost no disk.
TEST(ReferenceLoaderLimitsTest, AFileOverItsKindsLimitIsOutOfMemoryAtItsLoader) {
    using Loader = LoadVerdict (*)(ReferenceData&, const Folders&, UserInterface&);
    struct Case {
        const char* file;
        std::uint64_t limit;
        Loader load;
        const char* location;
    };
    const Case cases[] = {
        {"system/cards/a.kvl", kMaxCardListBytes, LoadCardlist, "CardList.LoadCardlist"},
        {"system/cards/C1.ini", kMaxRarityFileBytes, LoadCardlist, "CardList.LoadCardlist"},
        {"system/cards/master.dat", kMaxMasterListBytes, LoadMasterlist, "CardList.LoadMasterlist"},
        {"system/state/state.dat", kMaxStatusListBytes, LoadStatusList,
         "BattleOperation.LoadStatusList"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ReferenceFolder folder;
        folder.cardFile("a.kvl", "C1,n,F,x\r\n");
        for (std::uint64_t size : {c.limit, c.limit + 1}) {
            std::string path = folder.dir.write(c.file, "C1,n,F,x\r\n");
            std::filesystem::resize_file(path, size);
            FakeUserInterface ui;
            ReferenceData data;
            c.load(data, folder.folders, ui);
            if (size > c.limit) {
                ASSERT_EQ(ui.questions.size(), 1u);
                EXPECT_EQ(ui.questions[0].message, errorMessageText(7, c.location));
            } else {
                // At the limit the file is read; its NUL bytes make no valid record.
                for (const auto& q : ui.questions) {
                    EXPECT_NE(q.message, errorMessageText(7, c.location));
                }
            }
        }
    }
}

}  // namespace
}  // namespace mirudana
