// "ロード", "対象" and "保存データ" as a script sends them, and the report files
// that result.
#include <filesystem>
#include <set>

#include "report/query_vocabulary.h"
#include "report/report_writer.h"
#include "report/script_host.h"
#include "report_fixture.h"

namespace mirudana::testing {
namespace {

// After each of `loads` "ロード" commands: the master's name and "ファイル有無".
std::string loadScript(int loads) {
    return "out = [マスター名] & [ファイル有無]\n"
           "For i = 1 To " +
           std::to_string(loads) +
           "\n"
           "    RunCmd(\"ロード\")\n"
           "    out = out & \",\" & [マスター名] & [ファイル有無]\n"
           "Next\n"
           "[保存データ] = out\n";
}

TEST_F(ReportTest, LoadStepsThroughTheListAndStopsAtItsEnd) {
    ASSERT_EQ(run(loadScript(2), {namedBattle("一")}), RunResult::Completed);
    EXPECT_EQ(report(), "一1,一0,一0");
    EXPECT_EQ(battle.CurrentIndex, 0);

    ASSERT_EQ(run(loadScript(4), {namedBattle("一"), namedBattle("二"), namedBattle("三")}),
              RunResult::Completed);
    EXPECT_EQ(report(), "一1,二1,三1,三0,三0");
    EXPECT_EQ(battle.CurrentIndex, 2);
    EXPECT_TRUE(ui.warnings.empty());
}

// A file whose first list has a negative dimension count: damaged, not cut short.
std::string damagedBattle() { return std::string(8, '\0') + "\xFF\xFF" + std::string(138, '\0'); }

TEST_F(ReportTest, FilesThatCannotBeReadAreSkippedNamedAndCounted) {
    struct Case {
        const char* name;
        std::vector<bool> readable;  // per listed file, in order
        std::string report;
        std::size_t namedInWarning;
        const char* more;  // the warning's closing count, or ""
    };
    const Case cases[] = {
        {"first, middle and last", {false, true, false, true, false}, "一1,三1,三0,三0", 3, ""},
        {"none readable", {false, false}, "0,0,0,0", 2, ""},
        {"more than twenty", std::vector<bool>(23, false), "0,0,0,0", 20, "ほか 3 件"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.warnings.clear();
        battle = LoadedBattle{};
        std::vector<std::string> paths;
        const char* names[] = {"一", "三"};
        int readable = 0;
        for (std::size_t k = 0; k < c.readable.size(); ++k) {
            std::string file = "battles/" + std::to_string(k) + ".kvs";
            paths.push_back(c.readable[k] ? folder.battle(std::to_string(k) + ".kvs",
                                                          namedBattle(names[readable++]))
                                          : folder.dir.write(file, damagedBattle()));
        }
        files = VectorFileList(paths);
        RunSummary summary;
        RunContext context = this->context();
        context.summary = &summary;
        ASSERT_EQ(runConversion(context, folder.script("test.tts", loadScript(3)), false),
                  RunResult::Completed);
        EXPECT_EQ(report(), c.report);
        EXPECT_EQ(summary.battlesReported, readable);
        EXPECT_EQ(summary.skippedFiles.size(), c.readable.size() - readable);
        ASSERT_EQ(ui.warnings.size(), 1u);
        const std::string& warning = ui.warnings[0];
        EXPECT_NE(warning.find(std::to_string(summary.skippedFiles.size()) + " 件を飛ばしました"),
                  std::string::npos)
            << warning;
        // One line per named path, in list order, after the count.
        std::string lines;
        for (std::size_t k = 0; k < c.namedInWarning; ++k)
            lines += "\r\n" + summary.skippedFiles[k];
        EXPECT_NE(warning.find(lines + (*c.more ? "\r\n" : "")), std::string::npos) << warning;
        EXPECT_TRUE(warning.ends_with(c.more)) << warning;
    }
}

TEST_F(ReportTest, AnUnknownCommandStopsTheScript) {
    // The second quotes the words of a user's stop, but is no stop.
    for (const char* verb : {"ロード ", "中断されました"}) {
        SCOPED_TRACE(verb);
        ui.warnings.clear();
        ASSERT_EQ(run(std::string("RunCmd(\"") + verb + "\")\n[保存データ] = \"x\"\n",
                      {namedBattle("一")}),
                  RunResult::ScriptFailed);
        ASSERT_EQ(ui.warnings.size(), 1u);
        EXPECT_NE(ui.warnings[0].find("不明なコマンドです"), std::string::npos) << ui.warnings[0];
        EXPECT_FALSE(std::filesystem::exists(output));
        EXPECT_EQ(battle.CurrentIndex, 0);
    }
}

TEST_F(ReportTest, TargetChoosesTheClientByTextOrByTheNumberTwo) {
    struct Case {
        const char* value;
        const char* target;
    };
    const Case cases[] = {
        {"\"クライアント\"", "クライアント"},
        {"2", "クライアント"},
        {"\"2\"", "クライアント"},
        {"1 + 1", "クライアント"},
        {"\"サーバー\"", "サーバー"},
        {"1", "サーバー"},
        {"\"\"", "サーバー"},
        {"\"クライアント \"", "サーバー"},
        {"\"client\"", "サーバー"},
        {"2.5", "サーバー"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        ASSERT_EQ(run(std::string("[対象] = ") + c.value +
                          "\n[保存データ] = [対象] & \" \" & [マスター名]\n",
                      {namedBattle("サ")}),
                  RunResult::Completed);
        EXPECT_EQ(report(), std::string(c.target) +
                                (c.target == std::string("サーバー") ? " サ" : " サの相手"));
    }
}

TEST_F(ReportTest, TargetHoldsFromOneRunToTheNext) {
    ASSERT_EQ(run("[対象] = \"クライアント\"\n", {namedBattle("一")}), RunResult::Completed);
    ASSERT_EQ(runScript("[保存データ] = [対象]\n"), RunResult::Completed);
    EXPECT_EQ(report(), "クライアント");
}

TEST_F(ReportTest, HostFlagsOnlyLoadAndTargetAsFound) {
    files = VectorFileList({folder.battle("a.kvs", namedBattle("一"))});
    RunContext context = this->context();
    ScriptHost host(context);
    struct Case {
        const char* item;
        bool notFound;
    };
    for (Case c : {Case{"対象", false}, Case{"保存データ", true}, Case{"対象 ", true},
                   Case{"出力文字コード", false}, Case{"その他", true}}) {
        SCOPED_TRACE(c.item);
        bool notFound = false;
        host.SetData(c.item, "クライアント", std::nullopt, "", notFound);
        EXPECT_EQ(notFound, c.notFound);
    }
    for (Case c : {Case{"ロード", false}, Case{"ロード ", true}, Case{"load", true}}) {
        SCOPED_TRACE(c.item);
        bool notFound = false;
        host.RunCmd(c.item, "", notFound);
        EXPECT_EQ(notFound, c.notFound);
    }
    EXPECT_TRUE(battle.TargetIsClient);
    EXPECT_EQ(battle.CurrentIndex, 0);
}

// The documentation's tables name each set-data item the host acts on, and only
// keys the host answers; its first sections tell a new player what they need.
TEST(ScriptDocsTest, TheKeyListMatchesTheHost) {
    const std::string docs = readBytes(SCRIPT_LANGUAGE_DOCS);
    auto section = [&](std::string_view heading) {
        std::size_t from = docs.find(heading);
        EXPECT_NE(from, std::string::npos) << heading;
        return docs.substr(from, docs.find("\n### ", from + heading.size()) - from);
    };
    // The texts between `open` and `close` in the first cell of each table row.
    auto firstCells = [](const std::string& text, char open, char close) {
        std::set<std::string> names;
        for (std::size_t line = text.find("\n| "); line != std::string::npos;
             line = text.find("\n| ", line + 1)) {
            std::size_t cellEnd = text.find(" | ", line + 3);
            for (std::size_t at = text.find(open, line); at < cellEnd;
                 at = text.find(open, at + 1)) {
                std::size_t end = text.find(close, at + 1);
                names.insert(text.substr(at + 1, end - at - 1));
                at = end;
            }
        }
        return names;
    };
    std::set<std::string> items;
    for (const ScriptHost::SetDataItem& row : ScriptHost::setDataItems()) items.emplace(row.name);
    EXPECT_EQ(firstCells(section("### SetData と RunCmd"), '[', ']'), items);
    const std::set<std::string> keys = firstCells(section("### GetData"), '"', '"');
    EXPECT_GT(keys.size(), 40u);
    for (const std::string& key : keys) EXPECT_TRUE(isKnownQueryKey(key)) << key;

    // What a new player looks for first, and no pointer to a manual that is not there.
    std::vector<std::string> wanted = {
        "--script", "--output", "## CSV を書く", "\"マスター名\"（その側のプレイヤーの名前）",
        "\"マスター種類\"（そのプレイヤーが使うマスターカードの名前）"};
    for (const auto& script : std::filesystem::directory_iterator(
             std::filesystem::path(SAMPLE_STATISTICS).parent_path())) {
        wanted.push_back("scripts/" + script.path().filename().string());
    }
    for (const std::string& text : wanted) EXPECT_NE(docs.find(text), std::string::npos) << text;
    EXPECT_EQ(docs.find("説明書"), std::string::npos);
}

// UTF-8 keeps what code page 932 cannot hold and adds no byte-order mark; any
// other value goes back to code page 932, the default.
TEST_F(ReportTest, TheOutputEncodingItemChoosesUtf8OrCodePage932) {
    const std::string text = "紅蓮☃😀";
    struct Case {
        const char* script;
        std::string bytes;
    };
    const Case cases[] = {
        {"[保存データ] = t", utf8ToCp932("紅蓮") + "??\r\n"},
        {"[出力文字コード] = \"UTF-8\"\n[保存データ] = t", text + "\r\n"},
        {"[出力文字コード] = \"UTF-8\"\n[出力文字コード] = \"Shift_JIS\"\n[保存データ] = t",
         utf8ToCp932("紅蓮") + "??\r\n"},
        {"[出力文字コード] = \"utf-8\"\n[保存データ] = t", utf8ToCp932("紅蓮") + "??\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        ASSERT_EQ(run("t = \"" + text + "\"\n" + c.script, {namedBattle("一")}),
                  RunResult::Completed);
        EXPECT_EQ(readBytes(output), c.bytes);
    }
}

TEST_F(ReportTest, EachReportReplacesTheWholeFile) {
    ASSERT_EQ(run("[保存データ] = \"一回目の長いレポート\"\n[保存データ] = \"二\"\n",
                  {namedBattle("一")}),
              RunResult::Completed);
    EXPECT_EQ(readBytes(output), utf8ToCp932("二") + "\r\n");

    ASSERT_EQ(runScript("[保存データ] = \"\"\n"), RunResult::Completed);
    EXPECT_EQ(readBytes(output), "\r\n");
}

TEST_F(ReportTest, AnUnwritableReportWarnsEachTimeAndKeepsTheOldFile) {
    output = folder.dir.file("無い/出力.html");
    ASSERT_EQ(run("[保存データ] = \"a\"\n[保存データ] = \"b\"\n", {namedBattle("一")}),
              RunResult::CompletedUnwritten);
    const std::string warning = std::string(kReportUnwritten) + "\r\n" + output +
                                "\r\n書き込み先のフォルダーが見つかりません。";
    EXPECT_EQ(ui.warnings, (std::vector<std::string>{warning, warning}));
    EXPECT_FALSE(std::filesystem::exists(output));

    output = folder.dir.write("old.html", "old report");
    std::filesystem::permissions(output, std::filesystem::perms::owner_read);
    ui.warnings.clear();
    ASSERT_EQ(runScript("[保存データ] = \"new\"\n"), RunResult::CompletedUnwritten);
    EXPECT_EQ(ui.warnings.size(), 1u);
    EXPECT_EQ(readBytes(output), "old report");
}

}  // namespace
}  // namespace mirudana::testing
