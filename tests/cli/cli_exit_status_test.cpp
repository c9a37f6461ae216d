// mirudana-cli run as a user runs it: what it prints and the status it exits with.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/codepage.h"
#include "report/program_folder.h"
#include "support/subprocess.h"

namespace mirudana::testing {
namespace {

using Outcome = ProcessOutcome;

class CliTest : public ::testing::Test {
  protected:
    CliTest() {
        folder.script("engine.tts", "[保存データ] = [マスター名]\n");
        battle = folder.battle("one.kvs", namedBattle("一"));
    }

    Outcome cli(const std::string& arguments) {
        return runProgram(MIRUDANA_CLI, arguments, folder.dir.path());
    }

    std::string home() const { return "--home '" + folder.dir.path() + "'"; }
    std::string report() const { return readBytes(folder.dir.file("出力データ.html")); }

    ProgramFolder folder;
    std::string battle;
};

TEST_F(CliTest, ConvertsQuietlyWithTheProgramFolderDefaults) {
    Outcome o = cli(home() + " '" + battle + "'");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(report(), utf8ToCp932("一") + "\r\n");
}

// Japanese names as well: on Windows they must survive the system's command line.
TEST_F(CliTest, ScriptAndOutputOptionsReplaceTheDefaults) {
    std::string script = folder.script("台本/他の.tts", "[保存データ] = \"他\"\n");
    std::string output = folder.dir.file("台本/出力.txt");
    Outcome o =
        cli("--output '" + output + "' '" + battle + "' --script '" + script + "' " + home());
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(readBytes(output), utf8ToCp932("他") + "\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.dir.file("出力データ.html")));
}

TEST_F(CliTest, ExitStatusTellsWhatStoppedTheRun) {
    std::string broken = folder.script("broken.tts", "If 1 Then\n");
    std::string empty = folder.dir.makeDir("empty");
    struct Case {
        std::string arguments;
        int status;
        const char* message;  // on standard error
    };
    const Case cases[] = {
        {"--help", 0, ""},
        {"--bogus", 2, "mirudana-cli: 不明なオプションです: --bogus\n"},
        {"--home '" + empty + "' x.kvs", 1, "カードリストが正しく配置されていません。"},
        {home(), 1, "ファイルが登録されていません。\n"},
        {home() + " '" + folder.dir.file("gone.kvs") + "'", 1,
         "有効なファイルがありませんでした。\n"},
        {home() + " --script '" + broken + "' '" + battle + "'", 3, "broken.tts"},
        {home() + " --output '" + folder.dir.file("no/such.html") + "' '" + battle + "'", 4,
         "出力ファイルに書き込めませんでした。\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        Outcome o = cli(c.arguments);
        EXPECT_EQ(o.status, c.status);
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
        EXPECT_EQ(o.err.find('\r'), std::string::npos);
    }
    Outcome help = cli("--help");
    EXPECT_EQ(help.out.rfind("使い方: mirudana-cli [--home DIR]", 0), 0u) << help.out;
}

}  // namespace
}  // namespace mirudana::testing
