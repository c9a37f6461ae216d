// mirudana-cli --watch as a player runs it: a real process following a real folder,
// ended by Ctrl+C (SIGINT) with status 0 and nothing left behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/codepage.h"
#include "support/list_masters_script.h"
#include "support/program_folder.h"

namespace mirudana::testing {
namespace {

// The program following `folder`, its standard output read a line at a time.
class Follower {
  public:
    explicit Follower(std::vector<std::string> args) {
        int ends[2];
        EXPECT_EQ(::pipe(ends), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(ends[1], STDOUT_FILENO);
            ::close(ends[0]);
            std::vector<char*> argv{const_cast<char*>(MIRUDANA_CLI)};
            for (std::string& arg : args) argv.push_back(arg.data());
            argv.push_back(nullptr);
            ::execv(MIRUDANA_CLI, argv.data());
            ::_exit(127);
        }
        ::close(ends[1]);
        out_ = ::fdopen(ends[0], "r");
    }
    ~Follower() {
        if (pid_ > 0) stop();
        if (out_ != nullptr) ::fclose(out_);
    }

    // The next line it prints (empty once it has ended).
    std::string line() {
        char text[4096];
        return std::fgets(text, sizeof text, out_) ? text : "";
    }

    // Ctrl+C; the exit status, -1 when it did not exit by itself.
    int stop() {
        ::kill(pid_, SIGINT);
        int raw = 0;
        ::waitpid(pid_, &raw, 0);
        pid_ = -1;
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

  private:
    pid_t pid_ = -1;
    FILE* out_ = nullptr;
};

class CliWatchTest : public ::testing::Test {
  protected:
    CliWatchTest() {
        folder.script("engine.tts", kListMasters);
        folder.battle("a.kvs", namedBattle("甲"));
    }
    std::vector<std::string> watch(const std::string& script = "engine.tts") {
        return {"--home",
                folder.dir.path(),
                "--watch",
                "--settle=100",
                "--script",
                folder.dir.file(script),
                folder.dir.file("battles")};
    }
    std::string report() const {
        return cp932ToUtf8(readBytes(folder.dir.file("出力データ.html")));
    }
    bool onlyTheReportBesideIt() const {
        for (const auto& entry : std::filesystem::directory_iterator(folder.dir.path())) {
            const std::string name = entry.path().filename().string();
            if (name.find("出力データ") != std::string::npos && name != "出力データ.html")
                return false;
        }
        return true;
    }

    ProgramFolder folder;
};

TEST_F(CliWatchTest, ANewBattleUpdatesTheReportUntilCtrlC) {
    Follower follower(watch());
    EXPECT_NE(follower.line().find("  戦況 1 件  "), std::string::npos);
    EXPECT_EQ(report(), "甲;\r\n");
    folder.battle("b.kvs", namedBattle("乙"));
    const std::string line = follower.line();
    EXPECT_NE(line.find("  戦況 2 件  " + folder.dir.file("出力データ.html") + "  "),
              std::string::npos)
        << line;
    EXPECT_TRUE(line.ends_with(" 秒\n"));
    EXPECT_EQ(report(), "甲;乙;\r\n");
    EXPECT_EQ(follower.stop(), 0);
    EXPECT_TRUE(onlyTheReportBesideIt());
}

// Interrupted inside a script that never ends: the script stops, nothing is written.
TEST_F(CliWatchTest, CtrlCDuringARunEndsCleanly) {
    folder.script("forever.tts", "While 1 = 1\nWend\n[保存データ] = \"x\"\n");
    Follower follower(watch("forever.tts"));
    ::usleep(300'000);  // into the first run
    EXPECT_EQ(follower.stop(), 0);
    EXPECT_EQ(follower.line(), "");
    EXPECT_FALSE(std::filesystem::exists(folder.dir.file("出力データ.html")));
    EXPECT_TRUE(onlyTheReportBesideIt());
}

}  // namespace
}  // namespace mirudana::testing
