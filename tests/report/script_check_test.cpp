// The typo check before a run, and the line that says what a run did.
#include "report/script_check.h"

#include "report/run_summary_text.h"
#include "report_fixture.h"

namespace mirudana::testing {
namespace {

const char* kTypoScript =
    "[対象] = \"client\" & Now()\n"
    "[対象] = \"サーバー\"\n"
    "[対象] = \"client\"\n"
    "[保存デ一タ] = \"x\"\n"
    "k = \"マスタ\" & \"名\"\n"
    "[保存データ] = \"名前: \" & [マスタ名] & \"/\" & GetData(k) & \"/\" & [マスター名]\n"
    "[出力文字コード] = \"Shift_JIS\"\n"
    "x = [カード種類:C1] & [カード種類] & [カード名:C1:x] & [カード:C1]\n"
    "[出力文字コード] = \"utf-8\"\n";

TEST_F(ReportTest, TypoCheckWarnsBeforeTheRunAndTheRunGoesOnUnchanged) {
    const std::vector<std::string> warnings = {
        "3:1: [対象] = \"client\" はサーバー側を選びます (クライアント側は \"クライアント\")",
        "4:1: 不明な項目 [保存デ一タ] (何もしません)",
        "6:20: 不明なキー [マスタ名] (\"True\" が返ります)",
        "8:18: 不明なキー [カード種類] (\"True\" が返ります)",
        "8:42: 不明なキー [カード:C1] (\"True\" が返ります)",
        "9:1: [出力文字コード] = \"utf-8\" は Shift_JIS で書きます (UTF-8 は \"UTF-8\")",
    };
    EXPECT_EQ(checkScript(folder.script("typo.tts", kTypoScript)).warnings, warnings);

    files = VectorFileList({folder.battle("a.kvs", namedBattle("甲"))});
    RunSummary summary;
    std::string script = folder.script("typo.tts", kTypoScript);
    RunContext context = this->context();
    context.summary = &summary;
    ASSERT_EQ(runConversion(context, script, false), RunResult::Completed);
    EXPECT_EQ(summary.scriptWarnings, warnings);
    EXPECT_EQ(report(), "名前: True/True/甲");  // "client" still selects the server side
    EXPECT_TRUE(ui.warnings.empty());
}

// A file a script reads or imports by a literal name is looked for before the run.
TEST_F(ReportTest, TheCheckNamesAFileTheScriptCannotRead) {
    folder.script("style.css", "p {}");
    EXPECT_EQ(
        checkScript(folder.script("page.tts",
                                  "x = ReadText(\"style.css\") & "
                                  "ReadText(\"none.css\")\n"))
            .warnings,
        std::vector<std::string>{"1:29: ReadText(\"none.css\") を読めません: ファイルがありません "
                                 "(実行時エラーになります)"});
    ScriptCheck imports = checkScript(folder.script("import.tts", "Import \"none.tts\"\n"));
    ASSERT_TRUE(imports.error);
    EXPECT_EQ(imports.error->describe(),
              "import.tts:1:1: 構文エラー: Import \"none.tts\" を読めません: ファイルがありません");
}

// A warning in an imported file names that file, not the script that imports it.
TEST_F(ReportTest, TheCheckNamesTheImportedFileAWarningIsIn) {
    folder.script("parts/side.tts", "' 側\nFunction Side()\n    Return [マスタ名]\nEnd Function\n");
    const std::string script = folder.script("main.tts",
                                             "Import \"parts/side.tts\"\n"
                                             "x = Side() & [ターン]\n");
    const std::vector<std::string> warnings = checkScript(script).warnings;
    ASSERT_EQ(warnings, (std::vector<std::string>{
                            "2:14: 不明なキー [ターン] (\"True\" が返ります)",
                            "parts/side.tts:3:12: 不明なキー [マスタ名] (\"True\" が返ります)",
                        }));
    EXPECT_EQ(warningLine("main.tts", warnings[0]), "main.tts:" + warnings[0]);
    EXPECT_EQ(warningLine("main.tts", warnings[1]), warnings[1]);
}

// A loop on [ファイル有無] with no "ロード" anywhere never ends; one that loads, or that
// may (a verb built from an expression), is fine.
TEST_F(ReportTest, TheCheckNamesALoopOverFilesThatNeverLoads) {
    const std::string loop = "While [ファイル有無] = \"1\"\n    x = [ターン数]\n";
    struct Case {
        const char* name;
        std::string script;
        std::vector<std::string> warnings;
    };
    const Case cases[] = {
        {"never loads",
         loop + "Wend\n",
         {"1:7: ループで [ファイル有無] を読んでいますが、RunCmd(\"ロード\") がありません "
          "(ループが終わりません)"}},
        {"loads", loop + "    RunCmd(\"ロード\")\nWend\n", {}},
        {"may load", "v = \"ロード\"\n" + loop + "    RunCmd(v)\nWend\n", {}},
        {"asks once", "x = [ファイル有無]\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(checkScript(folder.script("loop.tts", c.script)).warnings, c.warnings);
    }
}

TEST(RunSummaryTextTest, SaysWhatTheRunDid) {
    RunSummary done;
    done.battlesReported = 12;
    done.reportHandedOver = true;
    done.reportPath = "/r/出力データ.html";
    RunSummary skippedAndWarned = done;
    skippedAndWarned.skippedFiles = {"a.kvs", "b.kvs"};
    skippedAndWarned.scriptWarnings = {"1:1: w1", "2:1: w2", "3:1: w3", "4:1: w4", "5:1: w5"};
    RunSummary nothingHandedOver;
    struct Case {
        RunResult result;
        const RunSummary& summary;
        const char* text;
    };
    const Case cases[] = {
        {RunResult::Completed, done, "戦況 12 件を処理しました。 出力先: /r/出力データ.html"},
        {RunResult::Completed, skippedAndWarned,
         "戦況 12 件を処理しました。 飛ばしたファイル 2 件。 スクリプトの警告 5 件。 出力先: "
         "/r/出力データ.html"},
        {RunResult::Completed, nothingHandedOver,
         "戦況 0 件を処理しました。 レポートは書き込まれていません。"},
        {RunResult::CompletedUnwritten, done,
         "戦況 12 件を処理しました。 レポートは書き込まれていません。"},
        {RunResult::ScriptFailed, nothingHandedOver, "スクリプトのエラーで止まりました。"},
        {RunResult::Cancelled, done, "処理を中断しました。 出力先: /r/出力データ.html"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(runSummaryText(c.result, c.summary), c.text);
    }
}

}  // namespace
}  // namespace mirudana::testing
