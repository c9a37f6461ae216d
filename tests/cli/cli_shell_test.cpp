// mirudana-cli inside shell pipelines: folders and lists of files in, the report out
// through a pipe, the script check, and what it says on standard error.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "platform/codepage.h"
#include "support/list_masters_script.h"
#include "support/program_folder.h"

namespace mirudana::testing {
namespace {

class CliShellTest : public ::testing::Test {
  protected:
    CliShellTest() {
        folder.script("engine.tts", kListMasters);
        folder.battle("b.kvs", namedBattle("乙"));
        folder.battle("a.kvs", namedBattle("甲"));
        folder.battle("sub/c.kvs", namedBattle("丙"));
        folder.battle("sub/note.txt", namedBattle("無"));
        folder.battle("._a.kvs", namedBattle("隠"));  // left by a copy from a Mac
    }

    // Runs a shell pipeline in which "CLI" stands for the program with --home set.
    struct Outcome {
        int status = -1;
        std::string out;
        std::string err;
    };
    Outcome shell(std::string pipeline) {
        const std::string cli = std::string("'") + MIRUDANA_CLI + "' --home '" + home() + "'";
        for (std::size_t at; (at = pipeline.find("CLI")) != std::string::npos;) {
            pipeline.replace(at, 3, cli);
        }
        const std::string out = folder.dir.file("stdout.txt");
        const std::string err = folder.dir.file("stderr.txt");
        const std::string command = "cd '" + home() + "' && { " + pipeline + "; } >'" + out +
                                    "' 2>'" + err + "' </dev/null";
        int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readBytes(out), readBytes(err)};
    }

    std::string home() const { return folder.dir.path(); }
    std::string report() const {
        return cp932ToUtf8(readBytes(folder.dir.file("出力データ.html")));
    }

    ProgramFolder folder;
};

TEST_F(CliShellTest, FoldersAndListsAddBattleFilesInNameOrder) {
    struct Case {
        const char* pipeline;
        const char* report;
    };
    const Case cases[] = {
        {"CLI battles", "甲;乙;\r\n"},
        {"CLI -r battles", "甲;乙;丙;\r\n"},
        {"CLI battles/sub battles/b.kvs", "丙;乙;\r\n"},
        {"printf 'battles/b.kvs\\r\\n\\nbattles/sub\\n' | CLI --files-from -", "乙;丙;\r\n"},
        {"printf 'battles/a.kvs' >list.txt && CLI --files-from list.txt battles/b.kvs",
         "乙;甲;\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pipeline);
        Outcome o = shell(c.pipeline);
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(o.err, "");  // not a terminal: no summary line
        EXPECT_EQ(report(), c.report);
    }
    // Missing paths are named in the one warning for skipped files, folders without
    // battle files in one of their own, and the run ends with status 5.
    folder.dir.makeDir("empty");
    Outcome o = shell("CLI battles/a.kvs none.kvs empty");
    EXPECT_EQ(o.status, 5);
    EXPECT_EQ(o.err,
              "読めなかった戦況ファイル 1 件を飛ばしました。\nnone.kvs\n"
              "戦況ファイル (.kvs) のないフォルダーです。\nempty\n");
    EXPECT_EQ(report(), "甲;\r\n");
    o = shell("CLI none.kvs");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "有効なファイルがありませんでした。\nnone.kvs\n");
}

// Lists as Notepad, PowerShell and find write them; a list that cannot be used is
// refused before the run, with the line that stops it.
TEST_F(CliShellTest, FilesFromListsAreReadAsEditorsWriteThemOrRefusedWithTheLine) {
    struct Case {
        std::string writeList;  // a command that writes list.txt
        int status;
        std::string err;
        const char* report;
    };
    const std::string refused = "mirudana-cli: 一覧ファイルを読めません。";
    const std::string nulLine = refused +
                                "2 行目に NUL 文字があります。一覧は UTF-8 (または BOM 付きの "
                                "UTF-16) で、1 行に 1 つのパスを書きます。\nlist.txt\n";
    const Case cases[] = {
        {"printf '\\357\\273\\277battles/a.kvs\\r\\nbattles/b.kvs\\r\\n' >list.txt", 0, "",
         "甲;乙;\r\n"},
        {"printf '\\377\\376b\\0a\\0t\\0t\\0l\\0e\\0s\\0/\\0b\\0.\\0k\\0v\\0s\\0\\r\\0\\n\\0' "
         ">list.txt",
         0, "", "乙;\r\n"},
        {"printf '\\376\\377\\0b\\0a\\0t\\0t\\0l\\0e\\0s' >list.txt", 0, "", "甲;乙;丙;\r\n"},
        {"printf 'battles/a.kvs\\nbattles/b\\0.kvs\\n' >list.txt", 2, nulLine, ""},
        {"printf 'b\\0a\\0t\\0\\n\\0' >list.txt", 2,
         refused +
             "1 行目に NUL 文字があります。一覧は UTF-8 (または BOM 付きの UTF-16) で、1 行に 1 "
             "つのパスを書きます。\nlist.txt\n",
         ""},
        {"{ echo battles/a.kvs; head -c 98302 /dev/zero | tr '\\0' x; } >list.txt", 2,
         refused + "2 行目がパスとしては長すぎます。\nlist.txt\n", ""},
        {"head -c 33554433 /dev/zero | tr '\\0' '\\n' >list.txt", 2,
         refused + "一覧が大きすぎます (32 MB まで)。\nlist.txt\n", ""},
        {"rm list.txt && mkdir list.txt", 2, refused + "フォルダーです。\nlist.txt\n", ""},
        {"rm -r list.txt", 2, refused + "開けません。\nlist.txt\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.writeList);
        std::filesystem::remove(folder.dir.file("出力データ.html"));
        Outcome o = shell(c.writeList + "; CLI -r --files-from list.txt");
        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.err, c.err);
        EXPECT_EQ(std::filesystem::exists(folder.dir.file("出力データ.html")) ? report() : "",
                  c.report);
    }
}

TEST_F(CliShellTest, FilePathAnswersTheFullPath) {
    folder.script("path.tts", "[保存データ] = [ファイルパス]\n");
    for (const char* given : {"./battles/a.kvs", "battles/sub/../a.kvs"}) {
        SCOPED_TRACE(given);
        EXPECT_EQ(shell(std::string("CLI --script path.tts ") + given).status, 0);
        EXPECT_EQ(report(), home() + "/battles/a.kvs\r\n");
    }
}

TEST_F(CliShellTest, OutputDashPipesTheLastReportOnceTheScriptHasEnded) {
    folder.script("two.tts",
                  "[保存データ] = \"一つ目\"\n"
                  "[保存データ] = \"二つ目\"\n");
    Outcome o = shell("CLI --script two.tts --output - battles | od -An -c | tr -d ' \\n'");
    EXPECT_EQ(o.status, 0) << o.err;
    std::string expected;  // od's rendering of the code page 932 report
    for (char c : utf8ToCp932("二つ目") + "\r\n") {
        const char* escapes[] = {"\\r", "\\n"};
        if (c == '\r' || c == '\n') {
            expected += escapes[c == '\n'];
        } else {
            char octal[4];
            std::snprintf(octal, sizeof octal, "%03o", static_cast<unsigned char>(c));
            expected += octal;
        }
    }
    EXPECT_EQ(o.out, expected);
    EXPECT_FALSE(std::filesystem::exists(folder.dir.file("-")));
    EXPECT_FALSE(std::filesystem::exists(folder.dir.file("出力データ.html")));
    // Standard output that refuses it, as a full disk behind a redirection does.
    Outcome full = shell("CLI --script two.tts --output - battles >/dev/full");
    EXPECT_EQ(full.status, 4);
    EXPECT_EQ(
        full.err,
        "出力ファイルに書き込めませんでした。\n標準出力\nディスクの空き容量が不足しています。\n");
}

// The piped report is held in memory: no temporary folder is needed, and a run
// that is interrupted, or whose reader goes away, leaves nothing there.
TEST_F(CliShellTest, OutputDashNeedsNoTemporaryFolderAndLeavesNothingThere) {
    // Half a megabyte of report, more than a pipe holds.
    const std::string big = "s = \"0123456789abcdef\"\nFor i = 1 To 15\n    s = s & s\nNext\n";
    folder.script("big.tts", big + "[保存データ] = s\n");
    folder.script("then-loop.tts", big + "[保存データ] = s\nWhile 1\nWend\n");
    folder.dir.makeDir("tmp");
    Outcome noTemporaryFolder = shell("TMPDIR=/nonexistent CLI --output - battles | wc -c");
    EXPECT_EQ(noTemporaryFolder.status, 0) << noTemporaryFolder.err;
    EXPECT_NE(noTemporaryFolder.out, "0\n");
    struct Case {
        const char* pipeline;
        int status;
    };
    const Case cases[] = {
        {"CLI --script big.tts --output - battles | head -c 10 >/dev/null", 0},
        {"timeout -s INT 1 CLI --script then-loop.tts --output - battles", 124},
        {"timeout -s TERM 1 CLI --script then-loop.tts --output - battles", 124},
        {"timeout -s HUP 1 CLI --script then-loop.tts --output - battles", 124},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pipeline);
        Outcome o = shell(std::string("TMPDIR=\"$PWD/tmp\" ") + c.pipeline);
        EXPECT_EQ(o.status, c.status);
        EXPECT_TRUE(std::filesystem::is_empty(folder.dir.file("tmp")));
    }
}

TEST_F(CliShellTest, CheckListsUnknownNamesWithoutRunning) {
    folder.script("typo.tts",
                  "[保存デ一タ] = \"名前: \" & [マスタ名]\n"
                  "RunCmd(\"ロード\")\n");
    Outcome o = shell("CLI --check typo.tts");
    EXPECT_EQ(o.status, 7);
    EXPECT_EQ(o.out,
              "typo.tts:1:1: 不明な項目 [保存デ一タ] (何もしません)\n"
              "typo.tts:1:20: 不明なキー [マスタ名] (\"True\" が返ります)\n");
    EXPECT_FALSE(std::filesystem::exists(folder.dir.file("出力データ.html")));

    // The same check before a run speaks on standard error, terminal or not.
    o = shell("CLI --script typo.tts battles");
    EXPECT_EQ(o.status, 6);  // the misspelt item hands over no report
    EXPECT_TRUE(
        o.err.ends_with("typo.tts:1:1: 不明な項目 [保存デ一タ] (何もしません)\n"
                        "typo.tts:1:20: 不明なキー [マスタ名] (\"True\" が返ります)\n"))
        << o.err;

    o = shell("CLI --check battles");
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err,
              "mirudana-cli: --check にはスクリプトのファイルを指定してください。フォルダーです。\n"
              "battles\n");

    EXPECT_EQ(shell("CLI --check engine.tts").status, 0);
    folder.script("bad.tts", "x = (\n");
    o = shell("CLI --check bad.tts");
    EXPECT_EQ(o.status, 3);
    EXPECT_TRUE(o.err.starts_with("bad.tts:1:")) << o.err;
}

TEST_F(CliShellTest, SaysWhatItNeedsAndWhatItIs) {
    Outcome o = shell("CLI");
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.err.starts_with("ファイルが登録されていません。\n使い方: mirudana-cli")) << o.err;

    o = shell("CLI --script none.tts battles");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "エンジンが見つかりません。\nnone.tts\n");

    // Past the memory limit the script stops with a runtime error.
    folder.script("big.tts",
                  "s = \"0123456789\"\n"
                  "For i = 1 To 20\n"
                  "    s = s & s\n"
                  "Next\n"
                  "[保存データ] = Len(s)\n");
    EXPECT_EQ(shell("CLI --script big.tts battles").status, 0);
    o = shell("CLI --memory-limit 1 --script big.tts battles");
    EXPECT_EQ(o.status, 3);
    EXPECT_NE(o.err.find("big.tts:3:"), std::string::npos) << o.err;

    o = shell("CLI --version");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "mirudana-cli 1.0.0\nスクリプトエンジン 1.00.0000\n");
    EXPECT_EQ(shell("CLI -h").out, shell("CLI --help").out);
}

}  // namespace
}  // namespace mirudana::testing
