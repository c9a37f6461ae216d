// The static check's list of literal host keys, items and commands.
#include "ttscript/host_literals.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace ttscript::testing {
namespace {

std::string describe(const HostLiteral& l) {
    const char* kinds[] = {"Query", "SetItem", "Command"};
    std::string out = std::string(kinds[static_cast<int>(l.kind)]) + " " + l.text + " " +
                      std::to_string(l.line) + ":" + std::to_string(l.column);
    if (l.value) out += " = " + *l.value;
    return l.inLoop ? out + " (loop)" : out;
}

// The literals of `script`, described, and whether some verb was not literal.
std::pair<std::vector<std::string>, bool> listed(const std::string& script) {
    mirudana::testing::TempDir dir;
    HostLiteralScan scan = scanHostLiterals(dir.write("check.tts", script));
    EXPECT_FALSE(scan.error);
    std::vector<std::string> found;
    for (const HostLiteral& l : scan.literals) found.push_back(describe(l));
    return {found, scan.someVerbNotLiteral};
}

TEST(HostLiteralsTest, ListsLiteralKeysItemsAndVerbsInSourceOrder) {
    auto [found, someVerbNotLiteral] = listed(
        "Function Side()\n"
        "    Return [マスター名] & GetData(\"手\" & \"札\")\n"
        "End Function\n"
        "[対象] = \"client\"\n"
        "[対象] = 2\n"
        "x = GetData(\"ターン数\") & Side()\n"
        "SetData(\"保存データ\", x)\n"
        "SetData(\"対象\", \"サーバー\")\n"
        "RunCmd(\"ロード\")\n"
        "RunCmd(x)\n");
    std::vector<std::string> expected = {
        "Query マスター名 2:12", "SetItem 対象 4:1 = client", "SetItem 対象 5:1",
        "Query ターン数 6:5",    "SetItem 保存データ 7:1",    "SetItem 対象 8:1 = サーバー",
        "Command ロード 9:1",
    };
    EXPECT_EQ(found, expected);
    EXPECT_TRUE(someVerbNotLiteral);
}

TEST(HostLiteralsTest, MarksWhatALoopAsksAtEveryRound) {
    auto [found, someVerbNotLiteral] = listed(
        "While [ファイル有無] = \"1\"\n"
        "    For i = 1 To [ターン数]\n"
        "    Next\n"
        "Wend\n"
        "For i = 1 To [手札]\n"
        "    x = [枚数]\n"
        "Next\n"
        "y = [マスター名]\n");
    std::vector<std::string> expected = {"Query ファイル有無 1:7 (loop)",
                                         "Query ターン数 2:18 (loop)", "Query 手札 5:14",
                                         "Query 枚数 6:9 (loop)", "Query マスター名 8:5"};
    EXPECT_EQ(found, expected);
    EXPECT_FALSE(someVerbNotLiteral);
}

TEST(HostLiteralsTest, ASyntaxErrorComesBackAsRunScriptGivesIt) {
    mirudana::testing::TempDir dir;
    HostLiteralScan scan = scanHostLiterals(dir.write("bad.tts", "x = [a]\nIf x\nEnd If\n"));
    ASSERT_TRUE(scan.error);
    EXPECT_EQ(scan.error->describe(), "bad.tts:2:5: 構文エラー: 'Then' がありません（行末の位置）");
    EXPECT_TRUE(scan.literals.empty());
}

}  // namespace
}  // namespace ttscript::testing
