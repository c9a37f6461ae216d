#include "refdata/program_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "support/fake_user_interface.h"
#include "support/reference_folder.h"

namespace mirudana {
namespace {

using testing::FakeUserInterface;
using testing::ReferenceFolder;

TEST(StartupTest, LoadsAllThreeListsAndAnswersLookups) {
    ReferenceFolder folder;
    folder.cardFile("cards.kvl", "C1,剣士,F,\r\nM1,影武者,F,\r\n");
    folder.masterFile("M1,王,N\r\nM2,女王,A\r\n");
    folder.statusFile("P,毒,!,1\r\n");
    FakeUserInterface ui;

    ProgramData s = loadProgramData(folder.dir.path(), ui);

    EXPECT_FALSE(s.endTool);
    EXPECT_TRUE(ui.warnings.empty());
    const std::string sep(1, kDirSep);
    EXPECT_EQ(s.folders.CardFolder, folder.dir.path() + sep + "system" + sep + "cards" + sep);
    EXPECT_EQ(s.folders.StateFolder, folder.dir.path() + sep + "system" + sep + "state" + sep);
    EXPECT_EQ(s.references.CardID2CardName("C1", ui), "剣士");
    EXPECT_EQ(s.references.CardID2CardName("M1", ui), "影武者");
    EXPECT_EQ(s.references.CardID2CardName("M2", ui), "女王");
    EXPECT_EQ(s.references.StatusID2StatusName("P", ui), "毒");
}

TEST(StartupTest, StopsAtTheFirstLoaderThatEndsTheTool) {
    struct Case {
        const char* name;
        bool cards, master, status;
        const char* warning;
        const char* where;              // the path the warning names, below system/ ('/' for
                                        // the platform's separator)
        std::size_t masters, statuses;  // what the later loaders got to fill
    };
    const std::vector<Case> cases = {
        {"no card lists", false, true, true,
         "カードリストが正しく配置されていません。確認してください。", "cards/", 0, 0},
        {"no master list", true, false, true,
         "カードリストが正しく配置されていません。確認してください。", "cards/master.dat", 0, 0},
        {"no status list", true, true, false,
         "ステータスデータベースが正しく配置されていません。確認してください。", "state/state.dat",
         1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReferenceFolder folder;
        if (c.cards) folder.cardFile("cards.kvl", "C1,c,F,\r\n");
        if (c.master) folder.masterFile("M1,m,N\r\n");
        if (c.status) folder.statusFile("P,p,!,1\r\n");
        FakeUserInterface ui;

        ProgramData s = loadProgramData(folder.dir.path(), ui);

        EXPECT_TRUE(s.endTool);
        EXPECT_FALSE(ui.ended);
        std::string where = c.where;
        std::replace(where.begin(), where.end(), '/', kDirSep);
        EXPECT_EQ(ui.warnings, std::vector<std::string>{std::string(c.warning) + "\r\n" +
                                                        folder.folders.SystemFolder + where});
        EXPECT_EQ(s.references.MasterList.size(), c.masters);
        EXPECT_EQ(s.references.StatusList.size(), c.statuses);
    }
}

}  // namespace
}  // namespace mirudana
