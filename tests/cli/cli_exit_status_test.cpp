// mirudana-cli run as a user runs it: what it prints and the status it exits with.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#endif
#include <filesystem>

#include "platform/codepage.h"
#include "support/long_path.h"
#include "support/program_folder.h"
#include "support/subprocess.h"
#ifndef _WIN32
#include "support/unprivileged.h"
#endif

namespace fs = std::filesystem;

namespace mirudana::testing {
namespace {

using Outcome = ProcessOutcome;

#ifdef _WIN32
constexpr const char* kNullDevice = "NUL";
constexpr const char* kOtherDevices[] = {"CON", "LPT1.txt"};
#else
constexpr const char* kNullDevice = "/dev/null";
constexpr const char* kOtherDevices[] = {"/dev/full"};
#endif

class CliTest : public ::testing::Test {
  protected:
    CliTest() {
        folder.script("engine.tts", "[保存データ] = [マスター名]\n");
        battle = folder.battle("one.kvs", namedBattle("一"));
    }

    Outcome cli(const std::string& arguments) {
        return runProgram(MIRUDANA_CLI, arguments, folder.dir.path());
    }

#ifndef _WIN32
    // Runs a whole shell command line, for one that starts the program as another user.
    Outcome shell(const std::string& command) {
        std::string out = folder.dir.file("stdout.txt");
        std::string err = folder.dir.file("stderr.txt");
        int raw = std::system((command + " >'" + out + "' 2>'" + err + "' </dev/null").c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readBytes(out), readBytes(err)};
    }
#endif

    std::string home() const { return "--home '" + folder.dir.path() + "'"; }
    std::string report() const { return readBytes(folder.dir.file("出力データ.html")); }

    ProgramFolder folder;
    std::string battle;
};

#ifndef _WIN32
// The sample program folder copied where the user "nobody" may read it, with
// battle 3 cut to 700 bytes and battle 5 unreadable: every readable battle is
// reported, the unreadable one named, and the status is 5.
TEST_F(CliTest, SampleWithACutAndAnUnreadableBattleReportsEveryReadableOne) {
    const std::string home = folder.dir.makeDir("sample");
    fs::copy(SAMPLE_HOME "/system", home + "/system", fs::copy_options::recursive);
    fs::copy(SAMPLE_HOME "/battles", home + "/battles", fs::copy_options::recursive);
    fs::copy(SAMPLE_HOME "/engine.tts", home + "/engine.tts");
    fs::copy(SAMPLE_HOME "/viewer", home + "/viewer", fs::copy_options::recursive);
    const std::string out = folder.dir.makeDir("out");
    fs::permissions(out, fs::perms::all);
    std::string battles;
    for (const auto& entry : fs::directory_iterator(home + "/battles")) {
        battles += " '" + entry.path().string() + "'";
    }
    ASSERT_EQ(battles.find("battle-0012.kvs") != std::string::npos, true);
    fs::resize_file(home + "/battles/battle-0003.kvs", 700);
    const std::string unreadable = home + "/battles/battle-0005.kvs";
    fs::permissions(unreadable, fs::perms::none);

    Outcome o = shell(unprivilegedCommand() + "'" + MIRUDANA_CLI + "' --home '" + home +
                      "' --output '" + out + "/r.html' --sort" + battles);
    EXPECT_EQ(o.status, 5) << o.err;
    EXPECT_EQ(o.err, "読めなかった戦況ファイル 1 件を飛ばしました。\n" + unreadable + "\n");
    EXPECT_NE(readBytes(out + "/r.html").find("このページには 11 戦"), std::string::npos);
}

TEST_F(CliTest, AScriptTheUserMayNotReadSaysSo) {
    fs::permissions(folder.dir.path(), fs::perms::all);
    std::string script = folder.script("secret.tts", "[保存データ] = \"x\"\n");
    fs::permissions(script, fs::perms::owner_read);
    if (geteuid() != 0) fs::permissions(script, fs::perms::none);
    Outcome o = shell(unprivilegedCommand() + "'" + MIRUDANA_CLI + "' " + home() + " --script '" +
                      script + "' --output /dev/null '" + battle + "'");
    EXPECT_EQ(o.status, 3);
    EXPECT_NE(o.err.find("スクリプトファイルを読めません: 読み取りが許可されていません。"),
              std::string::npos)
        << o.err;
}

#ifndef __SANITIZE_ADDRESS__
// Memory that runs out under the process's own limit, not the script's budget,
// while a script is checked or run: the script failure with its place and status 3,
// never an abort. (The sanitizers reserve more address space than such a limit.)
TEST_F(CliTest, MemoryRunningOutIsTheScriptFailure) {
    std::string grows = folder.script("grows.tts", "x = List()\nFor i = 1 To 100000000\nAdd(x, \"" +
                                                       std::string(40, 'a') + "\" & i)\nNext\n");
    std::string big = folder.script(
        "big.tts", "y = 1\no = \"\"\n" + [] {
            std::string lines;
            while (lines.size() < 1000000) lines += "o = o & y\n";
            return lines;
        }());
    const std::string limited = "ulimit -v 60000; '" + std::string(MIRUDANA_CLI) + "' " + home();
    Outcome run = shell(limited + " --script '" + grows + "' --output /dev/null '" + battle + "'");
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_NE(run.err.find("grows.tts:3:"), std::string::npos) << run.err;
    Outcome check =
        shell("ulimit -v 30000; '" + std::string(MIRUDANA_CLI) + "' --check '" + big + "'");
    EXPECT_EQ(check.status, 3) << check.err;
    EXPECT_NE(check.err.find("メモリが足りません"), std::string::npos) << check.err;
}
#endif

// An interrupt while the report is being written: the process ends as the signal
// ends it, the old report stays whole and nothing else is left in its folder.
TEST_F(CliTest, AnInterruptDuringTheWriteLeavesNothingBehind) {
    const std::string reports = folder.dir.makeDir("reports");
    const std::string output = folder.dir.write("reports/r.html", "old report");
    // About 36 MB of report, so that the write takes a while.
    std::string script = folder.script(
        "big.tts",
        "s = \"0123456789abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz\"\n"
        "For i = 1 To 19\n    s = s & s\nNext\n[保存データ] = s\n");
    for (int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        pid_t child = fork();
        if (child == 0) {
            execl(MIRUDANA_CLI, MIRUDANA_CLI, "--home", folder.dir.path().c_str(), "--script",
                  script.c_str(), "--output", output.c_str(), battle.c_str(), nullptr);
            _exit(127);
        }
        // Wait until it has a file open in the reports folder, then interrupt it.
        const std::string fds = "/proc/" + std::to_string(child) + "/fd";
        bool writing = false;
        int status = 0;
        bool ended = false;
        for (int tries = 0; tries < 20000 && !writing && !ended; ++tries) {
            std::error_code ec;
            for (const auto& fd : fs::directory_iterator(fds, ec)) {
                std::string target = fs::read_symlink(fd.path(), ec).string();
                writing = writing || target.rfind(reports + "/", 0) == 0;
            }
            if (!writing) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ended = waitpid(child, &status, WNOHANG) == child;
        }
        EXPECT_TRUE(writing);
        if (!ended) {
            kill(child, signal);
            waitpid(child, &status, 0);
        }
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(reports)) {
            names.push_back(entry.path().filename().string());
        }
        EXPECT_EQ(names, std::vector<std::string>{"r.html"});
        std::string report = readBytes(output);
        EXPECT_TRUE(report == "old report" || report.size() > (36u << 20)) << report.size();
    }
}

#endif

// A folder given whole reads its battle files at any depth and path length, and
// their times too.
TEST_F(CliTest, AFolderGivesBattleFilesAtAnyPathLength) {
    const std::string script = folder.script("list.tts",
                                             "text = \"\"\n"
                                             "While [ファイル有無] = \"1\"\n"
                                             "    If [ファイル日時] <> \"\" Then\n"
                                             "        text = text & [マスター名] & \";\"\n"
                                             "    End If\n"
                                             "    RunCmd(\"ロード\")\n"
                                             "Wend\n"
                                             "[保存データ] = text\n");
    folder.battle("long/a.kvs", namedBattle("浅"));
    writeAtLongPath(folder.dir.file("battles/long"), "deep.kvs",
                    kvs::encodeBattleRecord(namedBattle("深")));
    Outcome o =
        cli(home() + " --script '" + script + "' -r '" + folder.dir.file("battles/long") + "'");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(report(), utf8ToCp932("浅;深;") + "\r\n");
}

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
    std::string list = folder.dir.write("list.txt", battle + "\n");
    struct Case {
        std::string arguments;
        int status;
        std::string message;  // on standard error
    };
    const Case cases[] = {
        {"--help", 0, ""},
        {"--bogus", 2, "mirudana-cli: 不明なオプションです: --bogus\n"},
        {"--home '" + empty + "' x.kvs", 1, "カードリストが正しく配置されていません。"},
        {home(), 1, "ファイルが登録されていません。\n"},
        {home() + " '" + folder.dir.file("gone.kvs") + "'", 1,
         "有効なファイルがありませんでした。\n" + folder.dir.file("gone.kvs") + "\n"},
        {home() + " --script '" + broken + "' '" + battle + "'", 3, "broken.tts"},
        {home() + " --output '" + folder.dir.file("no/such.html") + "' '" + battle + "'", 4,
         "出力ファイルに書き込めませんでした。\n"},
        {home() + " --script '" + folder.script("silent.tts", "x = 1\n") + "' '" + battle + "'", 6,
         "レポートは書き込まれていません"},
        {home() + " '" + folder.dir.file("gone.kvs") + "' '" + battle + "'", 5,
         "読めなかった戦況ファイル 1 件を飛ばしました。\n" + folder.dir.file("gone.kvs") + "\n"},
        // The most serious wins: no report (6) over skipped files (5).
        {home() + " --script '" + folder.dir.file("silent.tts") + "' '" +
             folder.dir.file("gone.kvs") + "' '" + battle + "'",
         6, "読めなかった戦況ファイル 1 件"},
        {home() + " --output '" + battle + "' '" + battle + "'", 1,
         "出力先が入力ファイルと同じファイルです。"},
        {home() + " --files-from '" + list + "' --output '" + list + "'", 1,
         "出力先が入力ファイルと同じファイルです。"},
        // The null device takes a dry run's report; other devices are refused.
        {home() + " --output " + kNullDevice + " '" + battle + "'", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        Outcome o = cli(c.arguments);
        EXPECT_EQ(o.status, c.status);
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
        EXPECT_EQ(o.err.find('\r'), std::string::npos);
    }
    for (const char* device : kOtherDevices) {
        SCOPED_TRACE(device);
        Outcome o = cli(home() + " --output " + device + " '" + battle + "'");
        EXPECT_EQ(o.status, 4);
        EXPECT_EQ(o.err, std::string("出力ファイルに書き込めませんでした。\n") + device +
                             "\nデバイスなど、ファイルでないものには書き込めません。\n");
    }
    Outcome help = cli("--help");
    EXPECT_EQ(help.out.rfind("使い方: mirudana-cli [--home DIR]", 0), 0u) << help.out;
}

}  // namespace
}  // namespace mirudana::testing
