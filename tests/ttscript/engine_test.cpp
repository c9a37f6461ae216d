// The engine object: the host bridge, errors with their positions, limits,
// source encodings and stopping.
#include "ttscript/engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "platform/codepage.h"
#include "recording_host.h"
#include "support/temp_dir.h"

namespace ttscript::testing {
namespace {

TEST(ScriptEngineTest, GetInfoGivesTheVersionOnlyForItsKey) {
    TTSA engine;
    EXPECT_EQ(engine.GetInfo("バージョン", "0"), "1.00.0000");
    EXPECT_EQ(engine.GetInfo("バージョン", "1"), "");
    EXPECT_EQ(engine.GetInfo("version", "0"), "");
}

TEST(ScriptEngineTest, HostBridgeForms) {
    RecordingHost host;
    host.answers = {{"ファイル有無", "1"}, {" key ", "spaced"}, {"手札枚数", "3"}};
    ScriptRun run = runScriptBytes(
        "[p] = [ファイル有無] + 1\n"
        "[p] = [ key ] & GetData(\"手札\" & \"枚数\") & \"[\" & [unknown] & \"]\"\n"
        "[対象] = 1 + 1\n"
        "[保存データ] = \"<html>\" & CrLf\n"
        "SetData(\"対象\", \" 2 \")\n"
        "SetData(\"保存データ\", Left(\"abc\", 2))\n"
        "RunCmd(\"ロード\")\n"
        "x = RunCmd(\"ロード\", \"次\")\n",
        host);
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(host.printed, "2\nspaced3[]\n");
    std::vector<std::string> expected = {
        "GetData ファイル有無",
        "GetData  key ",
        "GetData 手札枚数",
        "GetData unknown",
        "SetData 対象|2|2|1 + 1",
        "SetData 保存データ|<html>\r\n|-|\"<html>\" & CrLf",
        "SetData 対象| 2 |2|\" 2 \"",
        "SetData 保存データ|ab|-|Left(\"abc\", 2)",
        "RunCmd ロード|",
        "RunCmd ロード|次",
    };
    EXPECT_EQ(host.events, expected);
}

// Resolves the keys and key starts it is given, answering from the same table.
class ResolvingHost : public RecordingHost {
  public:
    std::vector<std::string> resolvable;

    HostKeyId ResolveKey(std::string_view key, bool prefix) override {
        events.push_back("ResolveKey " + std::string(key) + (prefix ? " (start)" : ""));
        auto found = std::ranges::find(resolvable, key);
        if (found == resolvable.end()) return kUnresolvedKey;
        return static_cast<HostKeyId>(found - resolvable.begin() + 1);
    }
    void GetResolved(HostKeyId id, std::string_view rest, std::string& result) override {
        std::string key = resolvable.at(id - 1) + std::string(rest);
        events.push_back("GetResolved " + key);
        if (auto it = answers.find(key); it != answers.end()) result = it->second;
    }
};

// Keys are resolved once, at load; a resolved key answers as the same key asked by
// its text does, and a key the host leaves unresolved is asked by its text.
TEST(ScriptEngineTest, ResolvedKeysAnswerLikeKeysAskedByText) {
    ResolvingHost host;
    host.resolvable = {"a", "id:"};
    host.answers = {{"a", "A"}, {"b", "B"}, {"id:1", "one"}, {"id:2", "two"}};
    ScriptRun run = runScriptBytes(
        "k = \"a\"\n"
        "For i = 1 To 2\n"
        "  [p] = [a] & GetData(\"a\") & GetData(k) & GetData(\"id:\" & i) & [b]\n"
        "Next\n",
        host);
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(host.printed, "AAAoneB\nAAAtwoB\n");
    std::vector<std::string> expected = {
        "ResolveKey a",  "ResolveKey a", "ResolveKey id: (start)", "ResolveKey b", "GetResolved a",
        "GetResolved a", "GetData a",    "GetResolved id:1",       "GetData b",    "GetResolved a",
        "GetResolved a", "GetData a",    "GetResolved id:2",       "GetData b",
    };
    EXPECT_EQ(host.events, expected);
}

TEST(ScriptEngineTest, TypicalReportLoopRunsToItsEnd) {
    RecordingHost host;
    int loads = 0;
    host.answers["ファイル有無"] = "1";
    host.onEvent = [&](const std::string& event) {
        if (event == "RunCmd ロード" && ++loads == 3) host.answers["ファイル有無"] = "0";
    };
    ScriptRun run = runScriptBytes(
        "out = \"\"\nn = 0\nWhile [ファイル有無] = \"1\"\n  n = n + 1\n"
        "  out = out & \"<tr><td>\" & n & \"</td></tr>\" & Lf\n  RunCmd(\"ロード\")\nWend\n"
        "[保存データ] = out\n",
        host);
    EXPECT_TRUE(run.outcome.completed);
    EXPECT_EQ(host.events.back(),
              "SetData 保存データ|<tr><td>1</td></tr>\n<tr><td>2</td></tr>\n<tr><td>3</td></tr>\n"
              "|-|out");
}

TEST(ScriptEngineTest, ASyntaxErrorAnywhereRunsNothing) {
    RecordingHost host;
    ScriptRun run = runScriptBytes(
        "[p] = \"ran\"\nx = [手札]\nRunCmd(\"ロード\")\n[対象] = 2\nIf x Then\nWend\n", host);
    EXPECT_FALSE(run.outcome.completed);
    EXPECT_EQ(run.error, "test.tts:6:1: 構文エラー: 'End If' がありません（5 行目の 'If' に対応）");
    EXPECT_EQ(host.printed, "");
    EXPECT_TRUE(host.events.empty());
}

TEST(ScriptEngineTest, HostAnswersCountAgainstTheMemoryBudget) {
    RecordingHost host;
    host.answers["山札"] = std::string(3 << 20, 'x');
    const char* script = "a = [山札]\nb = [山札]\nc = [山札]\n[p] = Len(a)\n";
    EXPECT_EQ(runScriptBytes(script, host, std::size_t{8} << 20).error,
              "test.tts:3:5: 実行時エラー: メモリが足りません（スクリプトが使えるのは 8 MB まで）");
    EXPECT_EQ(runScriptBytes(script, host, std::size_t{16} << 20).error, "");
    EXPECT_EQ(host.printed, "3145728\n");
}

TEST(ScriptEngineTest, ExceptionFromAHandlerBecomesARuntimeError) {
    RecordingHost host;
    host.onEvent = [](const std::string& event) {
        if (event == "GetData 手札") throw std::runtime_error("読めません");
    };
    ScriptRun run = runScriptBytes("[p] = 1\nx = 1\n  y = \"a\" & [手札]\n[p] = 2\n", host);
    EXPECT_FALSE(run.outcome.completed);
    EXPECT_EQ(run.error,
              "test.tts:3:13: 実行時エラー: ホストの GetData でエラーが発生しました: 読めません");
    EXPECT_EQ(host.printed, "1\n");
}

TEST(ScriptEngineTest, StopRequestedInAHandlerEndsTheScriptAtTheNextStatement) {
    RecordingHost host;
    TTSA* engine = nullptr;
    host.onEvent = [&](const std::string& event) {
        if (event == "RunCmd ロード") engine->RequestStop();
    };
    mirudana::testing::TempDir dir;
    std::string path =
        dir.write("stop.tts", "[p] = 1\nWhile 1\n  RunCmd(\"ロード\")\n  [p] = 2\nWend\n");
    TTSA stoppable(&host);
    engine = &stoppable;
    std::int32_t n1 = 7, n2 = 8;
    RunOutcome outcome = stoppable.RunScript(path, n1, n2);
    EXPECT_FALSE(outcome.completed);
    EXPECT_TRUE(outcome.stopped);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->describe(), "stop.tts:4:3: 実行時エラー: 中断されました");
    EXPECT_EQ(host.printed, "1\n");
    EXPECT_EQ(n1, 7);
    EXPECT_EQ(n2, 8);

    // Nor does the rest of the statement whose event asked for the stop reach the host.
    host.events.clear();
    std::string rest = dir.write("rest.tts", "[保存データ] = RunCmd(\"ロード\") & [手札]\n");
    outcome = stoppable.RunScript(rest, n1, n2);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->describe(), "rest.tts:1:27: 実行時エラー: 中断されました");
    EXPECT_EQ(host.events, std::vector<std::string>{"RunCmd ロード|"});

    // A stop belongs to one run: the next run starts afresh.
    host.onEvent = nullptr;
    std::string once = dir.write("once.tts", "[p] = 3\n");
    EXPECT_TRUE(stoppable.RunScript(once, n1, n2).completed);

    // A long script reports its loading, and a stop asked for then cancels it.
    std::string slow = dir.write("slow.tts", "[p] = 4\n" + repeat("x = 1 + 2\n", 20000));
    host.onLoading = [&] { engine->RequestStop(); };
    outcome = stoppable.RunScript(slow, n1, n2);
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(host.loadings, 1);
    EXPECT_EQ(host.printed, "1\n3\n");
}

TEST(ScriptEngineTest, TicksReachTheHostWhileAScriptLoopsWithoutAskingAnything) {
    mirudana::testing::TempDir dir;
    RecordingHost host;
    TTSA engine(&host);
    host.onTick = [&] {
        if (host.ticks == 3) engine.RequestStop();
    };
    std::int32_t n1 = 0, n2 = 0;
    auto started = std::chrono::steady_clock::now();
    RunOutcome outcome =
        engine.RunScript(dir.write("spin.tts", "i = 0\nWhile 1\n  i = i + 1\nWend\n"), n1, n2);
    auto elapsed = std::chrono::steady_clock::now() - started;
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(host.ticks, 3);
    EXPECT_EQ(host.events, std::vector<std::string>{});
    // Three ticks about 50 ms apart; generous for a loaded machine.
    EXPECT_GE(elapsed, std::chrono::milliseconds(100));
    EXPECT_LT(elapsed, std::chrono::seconds(5));
}

TEST(ScriptEngineTest, NestingAndCallDepthLimits) {
    auto parens = [](int depth) {
        return "x = " + repeat("(", depth) + "1" + repeat(")", depth) + "\n";
    };
    auto ifs = [](int depth) {
        return repeat("If 1 Then\n", depth) + "[p] = \"deep\"\n" + repeat("End If\n", depth);
    };
    auto recursion = [](int depth) {
        return "Function R(n)\nIf n > 1 Then\nReturn R(n - 1) + 1\nEnd If\nReturn 1\n"
               "End Function\n[p] = R(" +
               std::to_string(depth) + ")\n";
    };
    // `count` files beside the script, each importing the next.
    auto importChain = [](int count) {
        std::map<std::string, std::string> files;
        for (int i = 1; i <= count; ++i) {
            files["f" + std::to_string(i) + ".tts"] =
                i < count ? "Import \"f" + std::to_string(i + 1) + ".tts\"\n" : "";
        }
        return files;
    };
    struct Case {
        std::string name;
        std::string script;
        std::string expected;
        std::map<std::string, std::string> beside = {};
    };
    const Case cases[] = {
        {"200 parentheses", parens(200), ""},
        {"201 parentheses", parens(201),
         "test.tts:1:205: 構文エラー: 入れ子が深すぎます（上限 200）"},
        {"200 Ifs", ifs(200), ""},
        {"201 Ifs", ifs(201), "test.tts:201:1: 構文エラー: 入れ子が深すぎます（上限 200）"},
        {"200 operators", "x = 1" + repeat(" - 1", 200) + "\n", ""},
        {"a chain of any operator is one level", "x = 1" + repeat(" - 1", 5000) + "\n", ""},
        {"operators nested in parentheses count twice",
         "x = " + repeat("1 - (", 101) + "1" + repeat(")", 101) + "\n",
         "test.tts:1:507: 構文エラー: 入れ子が深すぎます（上限 200）"},
        {"a long & chain is one level", "x = 1" + repeat(" & 1", 5000) + "\n", ""},
        {"200 calls deep", recursion(200), ""},
        {"201 calls deep", recursion(201),
         "test.tts:3:8: 実行時エラー: 関数の呼び出しが深すぎます（上限 200 段）"},
        {"64 imported files", "Import \"f1.tts\"\n", "", importChain(64)},
        {"65 imported files", "Import \"f1.tts\"\n",
         "f64.tts:1:1: 構文エラー: Import できるのは 64 ファイルまでです", importChain(65)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingHost host;
        EXPECT_EQ(runScriptBytes(c.script, host, std::nullopt, c.beside).error, c.expected);
    }

    // Deep expressions in every frame of a deep recursion run short of stack before
    // the call limit: that too must end in an error, not a crash.
    std::string deep = "Function R(n)\nIf n < 1 Then\nReturn 0\nEnd If\nReturn " +
                       repeat("Len(\"\" & ", 95) + "R(n - 1)" + repeat(")", 95) +
                       "\nEnd Function\nx = R(199)\n";
    RecordingHost host;
    std::string error = runScriptBytes(deep, host).error;
    EXPECT_TRUE(error.starts_with("test.tts:5:") && error.ends_with("段目でスタックが足りません）"))
        << error;
}

TEST(ScriptEngineTest, SourceEncodings) {
    const std::string script =
        "' 手札の一覧\r\n手札 = \"ドラゴン、騎士\"\r\n[p] = Item(手札, \"、\", 2) & Len(手札)\r\n";
    std::string crOnly = script;
    std::erase(crOnly, '\n');
    mirudana::testing::TempDir dir;
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {
        {"UTF-8", dir.write("utf8.tts", script)},
        {"UTF-8 with a byte order mark", dir.write("bom.tts", "\xEF\xBB\xBF" + script)},
        {"code page 932", dir.writeCp932("sjis.tts", script)},
        {"lines ended by CR alone", dir.write("cr.tts", crOnly)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingHost host;
        TTSA engine(&host);
        std::int32_t n1 = 0, n2 = 0;
        RunOutcome outcome = engine.RunScript(c.path, n1, n2);
        EXPECT_TRUE(outcome.completed);
        EXPECT_EQ(host.printed, "騎士7\n");
    }
}

TEST(ScriptEngineTest, ColumnsCountCharactersInCodePage932Sources) {
    mirudana::testing::TempDir dir;
    RecordingHost host;
    TTSA engine(&host);
    std::int32_t n1 = 0, n2 = 0;
    RunOutcome outcome =
        engine.RunScript(dir.writeCp932("エラー.tts", "変数 = \"値\" ?\n"), n1, n2);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->describe(), "エラー.tts:1:10: 構文エラー: 使えない文字です: '?'");
}

TEST(ScriptEngineTest, MissingScriptIsAnErrorWithoutALine) {
    mirudana::testing::TempDir dir;
    TTSA engine;
    std::int32_t n1 = 0, n2 = 0;
    RunOutcome outcome = engine.RunScript(dir.file("none.tts"), n1, n2);
    EXPECT_FALSE(outcome.completed);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->line, 0);
    EXPECT_TRUE(outcome.error->describe().starts_with("none.tts: スクリプトファイルを読めません: "))
        << outcome.error->describe();
}

TEST(ScriptEngineTest, AFileLargerThanAnyScriptIsRefusedUnread) {
    mirudana::testing::TempDir dir;
    RecordingHost host;
    TTSA engine(&host);
    std::int32_t n1 = 0, n2 = 0;
    std::string atLimit = "[p] = 1\n" + std::string((1 << 20) - 8, '\'');
    EXPECT_TRUE(engine.RunScript(dir.write("fits.tts", atLimit), n1, n2).completed);
    RunOutcome outcome = engine.RunScript(dir.write("big.tts", atLimit + "'"), n1, n2);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->describe(), "big.tts: スクリプトファイルが大きすぎます（上限 1 MB）");
    EXPECT_EQ(host.printed, "1\n");
#ifndef _WIN32
    // A device that never ends and a pipe nobody writes to are refused, not read.
    std::string pipe = dir.file("pipe.tts");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {std::string("/dev/zero"), pipe}) {
        SCOPED_TRACE(path);
        outcome = engine.RunScript(path, n1, n2);
        ASSERT_TRUE(outcome.error);
        EXPECT_NE(outcome.error->message.find("通常のファイルではありません"), std::string::npos);
    }
#endif
}

}  // namespace
}  // namespace ttscript::testing

namespace ttscript::testing {
namespace {

TEST(ScriptEngineTest, WithoutAHostQueriesAnswerEmptyAndCommandsAreUnknown) {
    mirudana::testing::TempDir dir;
    TTSA engine;
    std::int32_t n1 = 0, n2 = 0;
    RunOutcome outcome = engine.RunScript(
        dir.write("alone.tts", "x = [手札] & \"!\"\n[保存データ] = x\nRunCmd(\"ロード\")\n"), n1,
        n2);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->describe(), "alone.tts:3:1: 実行時エラー: 不明なコマンドです: ロード");
}

TEST(ScriptEngineTest, RunScriptFromInsideAHandlerIsRefusedAndTheOuterRunGoesOn) {
    mirudana::testing::TempDir dir;
    std::string inner = dir.write("inner.tts", "[p] = \"inner\"\n");
    RecordingHost host;
    TTSA engine(&host);
    std::string innerError;
    host.onEvent = [&](const std::string& event) {
        if (event != "GetData again") return;
        std::int32_t a = 0, b = 0;
        RunOutcome nested = engine.RunScript(inner, a, b);
        if (nested.error) innerError = nested.error->describe();
    };
    std::int32_t n1 = 0, n2 = 0;
    RunOutcome outcome =
        engine.RunScript(dir.write("outer.tts", "x = [again]\n[p] = \"outer\"\n"), n1, n2);
    EXPECT_TRUE(outcome.completed);
    EXPECT_EQ(innerError, "inner.tts: スクリプトの実行中に RunScript は呼べません");
    EXPECT_EQ(host.printed, "outer\n");
}

}  // namespace
}  // namespace ttscript::testing
