// The bundled engine.tts and scripts/statistics.tts over battles a hostile file
// could write and over battles whose totals are known: every text from a battle
// or reference file reaches the page as JSON data that cannot close its element,
// hidden piles give their count only, and the statistics add up. The CSV and JSON
// exports, and both pages under an HTML checker, are read back by
// tools/report-check/check-reports.mjs; the default page is used in a browser by
// tools/report-check/check-viewer.mjs.
#include "report_fixture.h"

namespace mirudana::testing {
namespace {

void expectAllIn(const std::string& page, std::initializer_list<const char*> texts) {
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        EXPECT_NE(page.find(text), std::string::npos);
    }
}

TEST_F(ReportTest, SampleScriptEscapesEveryTextFromTheFiles) {
    folder.dir.writeCp932("system/cards/z.kvl", "EVIL,<img src=x onerror=alert(1)>,F,x\r\n");
    references = loadProgramData(folder.dir.path(), ui).references;
    BattleRecord hostile =
        namedBattle("<script>alert(1)</script>", "SecurityLevel:\"><b>2\r\nnowplay:s");
    MasterRecord& master = hostile.Server.Master;
    master.Deck.Master = "EVIL";
    master.Deck.DeckName = "<i>deck</i>";
    master.Hand = kvs::textListOf({"EVIL", "C1"});
    master.DiscardPile = kvs::textListOf({"EVIL"});
    master.DrawPile = kvs::textListOf({});  // present but empty: its count is "-1"
    master.Status = "S1/X";
    hostile.Server.Monsters[2] = {"EVIL/1", true, 3, 4, "S2"};
    BattleRecord hidden = namedBattle("普通", "SecurityLevel:0\r\nnowplay:c");
    hidden.Client.Master.Hand = kvs::textListOf({"C1", "C2", "C3"}, 1);
    std::vector<std::string> paths = {folder.battle("h.kvs", hostile),
                                      folder.battle("n.kvs", hidden)};
    files = VectorFileList(paths);
    ASSERT_EQ(runFile(SAMPLE_ENGINE), RunResult::Completed)
        << (ui.warnings.empty() ? "" : ui.warnings[0]);

    std::string page = report(false);
    // The facts sit in the page as JSON, where no text can close an element or open
    // a tag; the viewer draws them as text (tools/report-check/check-viewer.mjs).
    std::string sides;
    for (const char* id : {"battles", "cards", "sides"}) {
        SCOPED_TRACE(id);
        std::string open = std::string("<script type=\"application/json\" id=\"") + id + "\">";
        std::size_t data = page.find(open);
        ASSERT_NE(data, std::string::npos);
        data += open.size();
        std::string json = page.substr(data, page.find("</script>", data) - data);
        EXPECT_EQ(json.find('<'), std::string::npos);
        if (std::string(id) == "sides") sides = json;
    }
    EXPECT_EQ(page.find("<img"), std::string::npos);
    EXPECT_EQ(page.find("<i>deck"), std::string::npos);
    expectAllIn(page, {
                          R"("\u003cscript\u003ealert(1)\u003c/script\u003e")",
                          R"("\u003ci\u003edeck\u003c/i\u003e")",
                          R"(["EVIL","\u003cimg src=x onerror=alert(1)\u003e",)",
                          R"(,"\"\u003e\u003cb\u003e2",0,)",  // the security level, the saving side
                          R"("S1":["毒","!"])",
                          "\"普通\"",
                          "<meta charset=\"UTF-8\">",
                          "default-src 'none';",
                          "このページには 2 戦",
                      });
    // The hidden hand gives its count only, and the empty draw pile 0, not -1.
    EXPECT_EQ(page.find("\"C2\""), std::string::npos);
    EXPECT_EQ(page.find("\"C3\""), std::string::npos);
    EXPECT_NE(sides.find(R"(,[],3,)"), std::string::npos);
    EXPECT_NE(sides.find(R"(,[],0,)"), std::string::npos);
    EXPECT_EQ(sides.find(R"(,[],-1,)"), std::string::npos);
    EXPECT_TRUE(page.ends_with("</html>"));
}

// Three battles seen from the side that saved each: アリス twice with 炎帝 and
// once with 炎の仔竜, against ボブ twice and キャロル once.
class SampleStatisticsTest : public ReportTest {
  protected:
    void SetUp() override {
        struct Battle {
            const char* saved;  // "s" or "c"
            const char* master;
            const char* deck;
            std::int16_t hp;
            const char* opponent;
            std::int16_t opponentHp;
            std::int16_t turns;
            std::int64_t time;
        };
        const Battle battles[] = {
            {"s", "M1", "速攻", 20, "ボブ", 10, 10, 1711933200},     // 2024-04-01 01:00 UTC
            {"c", "M1", "速攻", 5, "ボブ", 15, 20, 1712019600},      // 2024-04-02 01:00 UTC
            {"s", "C1", "守り", 8, "キャロル", 8, 30, 1712106000}};  // 2024-04-03 01:00 UTC
        std::vector<std::string> paths;
        for (const Battle& b : battles) {
            BattleRecord record;
            record.InfoText = std::string("SecurityLevel:1\r\nnowplay:") + b.saved;
            record.TurnCount = b.turns;
            bool server = std::string(b.saved) == "s";
            MasterRecord& mine = server ? record.Server.Master : record.Client.Master;
            MasterRecord& theirs = server ? record.Client.Master : record.Server.Master;
            mine = {"アリス", {b.deck, "", 0, {}, b.master},
                    {},       kvs::textListOf({"C2", "C2"}, 1),
                    {},       b.hp,
                    0,        true,
                    ""};
            theirs.Name = b.opponent;
            theirs.Deck.Master = "M1";
            theirs.HitPoints = b.opponentHp;
            paths.push_back(folder.battle("b" + std::to_string(paths.size()) + ".kvs", record));
            setModificationTime(paths.back(), b.time);
        }
        files = VectorFileList(paths);
    }

    ScopedTimeZone tokyo{"JST-9"};
};

// The static statistics page adds up; it carries no script, so it reads the same
// without JavaScript.
TEST_F(SampleStatisticsTest, StatisticsPageAddsUp) {
    ASSERT_EQ(runFile(SAMPLE_STATISTICS), RunResult::Completed);
    std::string page = report(false);
    expectAllIn(page,
                {
                    "<b>3 戦</b>",
                    "<b>2024/04/01</b><span>〜 2024/04/03</span>",
                    "<b>20.0</b><span>平均ターン数</span>",
                    "<b>33%</b>",  // only the first battle has アリス ahead
                    // 炎帝 twice: hit points 20 and 5 against 10 and 15, ahead once
                    ">炎帝</th><td class=\"num\">2<svg",
                    "<td class=\"num\">12.5</td><td class=\"num\">12.5</td><td class=\"num\">50%",
                    // 炎の仔竜 once, level with キャロル: not ahead
                    ">炎の仔竜</th><td class=\"num\">1<svg",
                    "<td class=\"num\">8.0</td><td class=\"num\">8.0</td><td class=\"num\">0%",
                    ">ボブ</th><td class=\"num\">2<svg",
                    "<td class=\"name with\">炎帝</td>",
                    // the hand: 氷の魔女 twice in each of three battles
                    "<span class=\"name\">氷の魔女</span><span class=\"num\">6</span>",
                    "<title>20 ターン: 1 戦</title>",
                });
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("<details"), std::string::npos);
}

// The default page holds each battle once, seen from the side that saved it, with
// names through the shared table; without JavaScript it says what it holds.
TEST_F(SampleStatisticsTest, DefaultPageHoldsEachBattleFromTheSavingSide) {
    ASSERT_EQ(runFile(SAMPLE_ENGINE), RunResult::Completed);
    std::string page = report(false);
    expectAllIn(page, {
                          R"("strings":["アリス","炎帝","速攻",)",
                          R"("b0.kvs","2024/04/01 10:00:00",10,"1",0,0,1,2,20,3,)",
                          R"("b1.kvs","2024/04/02 10:00:00",20,"1",1,0,1,2,5,3,)",
                          R"(["C2","氷の魔女",)",
                          "<title>3 戦 — ",
                          "このページには 3 戦（2024/04/01 〜 2024/04/03）の対戦",
                          "scripts/statistics.tts",
                      });
}

}  // namespace
}  // namespace mirudana::testing
