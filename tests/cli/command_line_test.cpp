// The arguments mirudana-cli accepts and the usage errors it reports.
#include "cli/command_line.h"

#include <gtest/gtest.h>

namespace mirudana::cli {
namespace {

TEST(CommandLineTest, ReadsOptionsAnywhereBeforeTheDoubleDash) {
    auto parsed =
        parseCommandLine({"a.kvs", "--sort", "--home", "H", "b.kvs", "--script=s.tts", "--output",
                          "-", "-r", "--files-from=-", "--check", "c.tts", "-h", "--version",
                          "--memory-limit=2", "--", "--sort", "-", "c.kvs"});
    ASSERT_TRUE(std::holds_alternative<CommandLine>(parsed));
    const auto& line = std::get<CommandLine>(parsed);
    EXPECT_EQ(line.home, "H");
    EXPECT_EQ(line.script, "s.tts");
    EXPECT_EQ(line.output, "-");
    EXPECT_EQ(line.filesFrom, "-");
    EXPECT_EQ(line.check, "c.tts");
    EXPECT_TRUE(line.sort && line.recursive && line.help && line.version);
    EXPECT_EQ(line.memoryBudget, std::size_t{2} << 20);
    EXPECT_EQ(line.battleFiles,
              (std::vector<std::string>{"a.kvs", "b.kvs", "--sort", "-", "c.kvs"}));
}

TEST(CommandLineTest, RejectsWhatItCannotRead) {
    struct Case {
        std::vector<std::string> args;
        const char* problem;
    };
    const Case cases[] = {
        {{"--frobnicate"}, "不明なオプションです: --frobnicate"},
        {{"-s"}, "不明なオプションです: -s"},
        {{"--sort=1"}, "不明なオプションです: --sort=1"},
        {{"a.kvs", "--output"}, "--output には値が必要です。"},
        {{"--home="}, "--home の値が空です。"},
        {{"--memory-limit", "0"}, "--memory-limit の値は 1 から 1048576 までの整数 (MB) です: 0"},
        {{"--memory-limit=1048577"},
         "--memory-limit の値は 1 から 1048576 までの整数 (MB) です: 1048577"},
        {{"--memory-limit=1e3"}, "--memory-limit の値は 1 から 1048576 までの整数 (MB) です: 1e3"},
        {{"--watch", "--output=-", "d"}, "--watch は標準入出力 (-) と一緒には使えません。"},
        {{"--watch", "--files-from", "-", "d"}, "--watch は標準入出力 (-) と一緒には使えません。"},
        {{"--watch", "--files-from", "list.txt", "d"},
         "--watch は --files-from "
         "と一緒には使えません。見張るフォルダーはコマンドラインに並べてください。"},
        {{"--watch"}, "--watch には見張るフォルダーを指定してください。"},
        {{"--settle=60001"}, "--settle の値は 1 から 60000 までの整数 (ミリ秒) です: 60001"},
        {{"--settle=500", "d"}, "--settle は --watch と一緒に使います。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.problem);
        auto parsed = parseCommandLine(c.args);
        ASSERT_TRUE(std::holds_alternative<UsageError>(parsed));
        EXPECT_EQ(std::get<UsageError>(parsed).problem, c.problem);
    }
    std::vector<std::string> tooMany(32768, "a.kvs");
    EXPECT_TRUE(std::holds_alternative<UsageError>(parseCommandLine(tooMany)));
    tooMany.pop_back();
    EXPECT_TRUE(std::holds_alternative<CommandLine>(parseCommandLine(tooMany)));
}

}  // namespace
}  // namespace mirudana::cli
