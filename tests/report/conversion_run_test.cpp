// The run's checks, the pruning of the list, the sort, the script's failures and
// a stop requested while the script runs.
#include <filesystem>

#include "report_fixture.h"

namespace mirudana::testing {
namespace {

TEST_F(ReportTest, ChecksStopTheRunWithTheirWarnings) {
    std::string script = folder.script("ok.tts", "[保存データ] = \"x\"\n");
    struct Case {
        std::string script;
        std::vector<std::string> files;
        std::string warning;
    };
    // The script's path follows the text on a line of its own.
    auto engineMissing = [](const std::string& path) {
        return "エンジンが見つかりません。\r\n" + path;
    };
    const std::vector<std::string> tooMany(32768, folder.battle("a.kvs", namedBattle("A")));
    const Case cases[] = {
        {"", {}, engineMissing("")},
        {folder.dir.file("nai.tts"), {}, engineMissing(folder.dir.file("nai.tts"))},
        {folder.dir.path(), {}, engineMissing(folder.dir.path())},
        {folder.dir.write(".hidden.tts", "x"), {}, engineMissing(folder.dir.file(".hidden.tts"))},
        {script, {}, "ファイルが登録されていません。"},
        {script, tooMany, "登録されているファイルが多すぎます。32767 個までにしてください。"},
        {script,
         {folder.dir.file("gone.kvs"), folder.dir.path()},
         "有効なファイルがありませんでした。"},
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
    EXPECT_TRUE(files.entries().empty());
}

TEST_F(ReportTest, RunDropsMissingFilesAndKeepsTheOrder) {
    std::string b = folder.battle("b.kvs", namedBattle("B"));
    std::string a = folder.battle("a.kvs", namedBattle("A"));
    std::string c = folder.battle("c.kvs", namedBattle("C"));
    files = VectorFileList({folder.dir.file("x.kvs"), b, folder.dir.file("y.kvs"),
                            folder.dir.file("z.kvs"), a, c, folder.dir.path()});
    ASSERT_EQ(runScript(kMasterNamesScript), RunResult::Completed);
    EXPECT_EQ(report(), "B;A;C;");
    EXPECT_EQ(files.entries(), (std::vector<std::string>{b, a, c}));

    ASSERT_EQ(runScript(kMasterNamesScript, /*sort=*/true), RunResult::Completed);
    EXPECT_EQ(report(), "A;B;C;");
    EXPECT_EQ(files.entries(), (std::vector<std::string>{a, b, c}));
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
    ASSERT_EQ(run(kMasterNamesScript, three), RunResult::Completed);
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"1/3", "2/3", "3/3", "end:0"}));

    std::filesystem::remove(output);
    recorder.seen.clear();
    recorder.stopAt = 2;
    ASSERT_EQ(run(kMasterNamesScript, three), RunResult::Cancelled);
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"1/3", "2/3", "end:0"}));
    EXPECT_EQ(ui.warnings, std::vector<std::string>{"処理を中断しました。"});
    EXPECT_FALSE(std::filesystem::exists(output));
}

}  // namespace
}  // namespace mirudana::testing
