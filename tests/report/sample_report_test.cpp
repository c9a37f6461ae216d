// The bundled engine.tts over battles a hostile file could write: every text from
// a battle or reference file reaches the page escaped, an empty pile shows as
// empty, and the page is whole.
#include "report_fixture.h"

namespace mirudana::testing {
namespace {

TEST_F(ReportTest, SampleScriptEscapesEveryTextFromTheFiles) {
    folder.dir.writeCp932("system/cards/z.kvl", "EVIL,<img src=x onerror=alert(1)>,F,x\r\n");
    references = startUp(folder.dir.path(), ui).references;
    BattleRecord hostile =
        namedBattle("<script>alert(1)</script>", "SecurityLevel:\"><b>2\r\nnowplay:s");
    MasterRecord& master = hostile.Server.Master;
    master.Deck.Master = "EVIL";
    master.Hand = kvs::textListOf({"EVIL", "C1"});
    master.DiscardPile = kvs::textListOf({"EVIL"});
    master.DrawPile = kvs::textListOf({});  // present but empty: its count is "-1"
    master.Status = "S1/X";
    hostile.Server.Monsters[2] = {"EVIL/1", true, 3, 4, "S2"};
    std::vector<std::string> paths = {folder.battle("h.kvs", hostile),
                                      folder.battle("n.kvs", namedBattle("普通"))};
    files = VectorFileList(paths);
    RunContext context = this->context();
    ASSERT_EQ(runConversion(context, SAMPLE_ENGINE, false), RunResult::Completed)
        << (ui.warnings.empty() ? "" : ui.warnings[0]);

    std::string page = report();
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("<img"), std::string::npos);
    EXPECT_EQ(page.find("<b>2"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(page.find("<meta charset=\"Shift_JIS\">"), std::string::npos);
    EXPECT_NE(page.find("普通"), std::string::npos);
    EXPECT_EQ(page.find("<li></li>"), std::string::npos);  // no unknown card for an empty pile
    EXPECT_EQ(page.find("-1</small>"), std::string::npos);
    EXPECT_TRUE(page.ends_with("</html>"));
}

}  // namespace
}  // namespace mirudana::testing
