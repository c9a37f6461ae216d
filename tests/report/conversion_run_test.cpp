// The run's checks, the pruning of the list, the sort, the script's failures and
// a stop requested while the script runs.
#include <filesystem>

#include "report_fixture.h"
#include "support/file_list_entries.h"
#include "support/list_masters_script.h"

namespace mirudana::testing {
namespace {

TEST_F(ReportTest, ChecksStopTheRunWithTheirWarnings) {
    std::string script = folder.script("ok.tts", "[保存データ] = \"x\"\n");
    struct Case {
        std::string script;
        std::vector<std::string> files;
        std::string warning;
    };
    const std::vector<std::string> tooMany(32768, folder.battle("a.kvs", namedBattle("A")));
    const std::string missing = folder.dir.file("nai.tts");
    const std::string hidden = folder.dir.write(".hidden.tts", "x");
    const Case cases[] = {
        {"", {}, "エンジンが見つかりません。"},
        {missing, {}, "エンジンが見つかりません。\r\n" + missing},
        {folder.dir.path(), {}, "エンジンが見つかりません。\r\n" + folder.dir.path()},
        {hidden, {}, "エンジンが見つかりません。\r\n" + hidden},
        {script, {}, "ファイルが登録されていません。"},
        {script, tooMany, "登録されているファイルが多すぎます。32767 個までにしてください。"},
        {script,
         {folder.dir.file("gone.kvs"), folder.dir.path()},
         "有効なファイルがありませんでした。\r\n" + folder.dir.file("gone.kvs") + "\r\n" +
             folder.dir.path()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.warning);
        ui.warnings.clear();
        files = VectorFileList(c.files);
        RunContext context = this->context();
        EXPECT_EQ(runConversion(context, c.script, false), RunResult::CheckFailed);
        EXPECT_EQ(ui.warnings, std::vector<std::string>{c.warning});
        EXPECT_FALSE(std::filesystem::exists(output));
    }
    EXPECT_TRUE(entriesOf(files).empty());
}

TEST_F(ReportTest, RunDropsMissingFilesAndKeepsTheOrder) {
    std::string b = folder.battle("b.kvs", namedBattle("B"));
    std::string a = folder.battle("a.kvs", namedBattle("A"));
    std::string c = folder.battle("c.kvs", namedBattle("C"));
    files = VectorFileList({folder.dir.file("x.kvs"), b, folder.dir.file("y.kvs"),
                            folder.dir.file("z.kvs"), a, c, folder.dir.path()});
    ASSERT_EQ(runScript(kListMasters), RunResult::Completed);
    EXPECT_EQ(report(), "B;A;C;");
    EXPECT_EQ(entriesOf(files), (std::vector<std::string>{b, a, c}));

    ASSERT_EQ(runScript(kListMasters, /*sort=*/true), RunResult::Completed);
    EXPECT_EQ(report(), "A;B;C;");
    EXPECT_EQ(entriesOf(files), (std::vector<std::string>{a, b, c}));
}

TEST_F(ReportTest, AScriptErrorIsShownAndNothingIsWritten) {
    ASSERT_EQ(run("[保存データ] = \"x\"\nIf 1 Then\n", {namedBattle("一")}),
              RunResult::ScriptFailed);
    ASSERT_EQ(ui.warnings.size(), 1u);
    EXPECT_NE(ui.warnings[0].find("test.tts"), std::string::npos) << ui.warnings[0];
    EXPECT_FALSE(std::filesystem::exists(output));

    ui.warnings.clear();
    ASSERT_EQ(runScript("[保存データ] = \"x\"\ny = 1 / 0\n"), RunResult::ScriptFailed);
    ASSERT_EQ(ui.warnings.size(), 1u);
    EXPECT_NE(ui.warnings[0].find(":2"), std::string::npos) << ui.warnings[0];
    // A runtime error names the battle file loaded then.
    EXPECT_NE(ui.warnings[0].find("\r\n読み込み中の戦況ファイル: " + files.entryAt(0)),
              std::string::npos)
        << ui.warnings[0];
}

TEST_F(ReportTest, AScriptThatHandsOverNoReportSaysSoAndLeavesTheOldFile) {
    folder.dir.write("出力データ.html", "old");
    RunSummary summary;
    files = VectorFileList({folder.battle("a.kvs", namedBattle("一"))});
    RunContext context = this->context();
    context.summary = &summary;
    ASSERT_EQ(runConversion(context, folder.script("t.tts", "x = [マスター名]\n"), false),
              RunResult::Completed);
    ASSERT_EQ(ui.warnings.size(), 1u);
    EXPECT_NE(ui.warnings[0].find("レポートは書き込まれていません"), std::string::npos);
    EXPECT_TRUE(ui.warnings[0].ends_with("\r\n" + output));
    EXPECT_EQ(readBytes(output), "old");
    EXPECT_FALSE(summary.reportHandedOver);
    EXPECT_EQ(summary.battlesReported, 1);
}

TEST_F(ReportTest, AnOutputThatIsAnInputStopsTheRunBeforeTheScript) {
    namespace fs = std::filesystem;
    const std::string script = folder.script("t.tts", "[保存データ] = \"x\"\n");
    const std::string battleFile = folder.battle("a.kvs", namedBattle("一"));
    const std::string master = folder.dir.file("system/cards/master.dat");
    struct Case {
        const char* name;
        std::string output;
        std::string input;
    };
    fs::create_hard_link(battleFile, folder.dir.file("hard.html"));
    std::vector<Case> cases = {
        {"the script", script, script},
        {"a battle file by another spelling", folder.dir.path() + "/battles/../battles/a.kvs",
         battleFile},
        {"a hard link to a battle file", folder.dir.file("hard.html"), battleFile},
    };
    if (makeSymlink(master, folder.dir.file("link.html"))) {
        cases.push_back({"a link to a reference file", folder.dir.file("link.html"), master});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.warnings.clear();
        const std::string before = readBytes(c.input);
        files = VectorFileList({battleFile});
        output = c.output;
        RunContext context = this->context();
        EXPECT_EQ(runConversion(context, script, false), RunResult::CheckFailed);
        ASSERT_EQ(ui.warnings.size(), 1u);
        EXPECT_TRUE(ui.warnings[0].ends_with("\r\n出力先: " + c.output + "\r\n入力: " + c.input))
            << ui.warnings[0];
        EXPECT_EQ(readBytes(c.input), before);
    }
}

// Known only as the script runs: its report is refused when it is handed over.
TEST_F(ReportTest, AFileTheScriptReadsIsNotReplacedByItsReport) {
    folder.dir.makeDir("parts");
    const std::string imported = folder.script("parts/lib.tts", "Function F()\nEnd Function\n");
    const std::string page = folder.dir.write("page.html", "<p>");
    const std::string script = folder.script(
        "t.tts", "Import \"parts/lib.tts\"\n[保存データ] = ReadText(\"page.html\") & \"x\"\n");
    files = VectorFileList({folder.battle("a.kvs", namedBattle("一"))});
    for (const std::string& input : {imported, page}) {
        SCOPED_TRACE(input);
        ui.warnings.clear();
        const std::string before = readBytes(input);
        output = input;
        RunContext context = this->context();
        EXPECT_EQ(runConversion(context, script, false), RunResult::CompletedUnwritten);
        EXPECT_EQ(ui.warnings, std::vector<std::string>{
                                   "出力ファイルに書き込めませんでした。\r\n" + input +
                                   "\r\nスクリプトが読み込んだファイルです。入力ファイルを壊さない"
                                   "よう、書き込みませんでした。"});
        EXPECT_EQ(readBytes(input), before);
    }
}

class StoppingObserver : public RunObserver {
  public:
    bool onProgress(int, int) override { return ++calls < 3; }
    int calls = 0;
};

TEST_F(ReportTest, AnEndlessLoopThatNeverLoadsIsStoppedThroughTheObserver) {
    StoppingObserver stopper;
    observer = &stopper;
    ASSERT_EQ(run("While 1\nWend\n", {namedBattle("一")}), RunResult::Cancelled);
    EXPECT_EQ(stopper.calls, 3);
    EXPECT_EQ(ui.warnings, std::vector<std::string>{"処理を中断しました。"});
}

class RecordingObserver : public RunObserver {
  public:
    bool onProgress(int done, int total) override {
        seen.push_back(std::to_string(done) + "/" + std::to_string(total));
        return stopAt != done;
    }
    // Records how many warnings were out by then: none may come before the end.
    void onScriptEnded() override { seen.push_back("end:" + std::to_string(warnings->size())); }
    std::vector<std::string> seen;
    int stopAt = -1;
    const std::vector<std::string>* warnings = nullptr;
};

TEST_F(ReportTest, ObserverSeesEachLoadAndMayStopTheScript) {
    RecordingObserver recorder;
    recorder.warnings = &ui.warnings;
    observer = &recorder;
    std::vector<BattleRecord> three = {namedBattle("一"), namedBattle("二"), namedBattle("三")};
    ASSERT_EQ(run(kListMasters, three), RunResult::Completed);
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"1/3", "2/3", "3/3", "end:0"}));

    std::filesystem::remove(output);
    recorder.seen.clear();
    recorder.stopAt = 2;
    ASSERT_EQ(run(kListMasters, three), RunResult::Cancelled);
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"1/3", "2/3", "end:0"}));
    EXPECT_EQ(ui.warnings, std::vector<std::string>{"処理を中断しました。"});
    EXPECT_FALSE(std::filesystem::exists(output));
}

// Before the script, a long list's check keeps the observer told, and may be cancelled.
TEST_F(ReportTest, ALongListsCheckIsReportedAndMayBeCancelled) {
    RecordingObserver recorder;
    recorder.warnings = &ui.warnings;
    recorder.stopAt = 0;
    observer = &recorder;
    files = VectorFileList(std::vector(600, folder.battle("b.kvs", namedBattle("一"))));
    ASSERT_EQ(runScript(kListMasters), RunResult::Cancelled);
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"0/600", "end:0"}));
    EXPECT_EQ(ui.warnings, std::vector<std::string>{"処理を中断しました。"});
    EXPECT_FALSE(std::filesystem::exists(output));
}

}  // namespace
}  // namespace mirudana::testing
