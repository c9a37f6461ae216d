// The host names a script spells out, listed without running it.
#include "ttscript/host_literals.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "support/temp_dir.h"

namespace ttscript {
namespace {

using Kind = HostLiteral::Kind;

TEST(HostLiteralsTest, ListsLiteralNamesInSourceOrderAndSkipsBuiltOnes) {
    mirudana::testing::TempDir dir;
    const std::string path = dir.write("s.tts",
                                       "Function F(k)\n"
                                       "    F = GetData(\"関数内\") & GetData(k)\n"
                                       "End Function\n"
                                       "[対象] = \"client\"\n"
                                       "x = [手札] & GetData(\"手\" & \"札\")\n"
                                       "[保存データ] = x\n"
                                       "SetData(\"対象\", 2)\n"
                                       "RunCmd(\"ロード\")\n");
    HostLiteralScan scan = scanHostLiterals(path);
    ASSERT_FALSE(scan.error);
    struct Expected {
        Kind kind;
        const char* text;
        int line;
        int column;
        std::optional<std::string> value;
    };
    const Expected expected[] = {
        {Kind::Query, "関数内", 2, 17, std::nullopt},
        {Kind::SetItem, "対象", 4, 1, "client"},
        {Kind::Query, "手札", 5, 5, std::nullopt},
        {Kind::SetItem, "保存データ", 6, 1, std::nullopt},
        {Kind::SetItem, "対象", 7, 9, std::nullopt},
        {Kind::Command, "ロード", 8, 8, std::nullopt},
    };
    ASSERT_EQ(scan.literals.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].text);
        const HostLiteral& got = scan.literals[i];
        EXPECT_EQ(got.kind, expected[i].kind);
        EXPECT_EQ(got.text, expected[i].text);
        EXPECT_EQ(got.line, expected[i].line);
        EXPECT_EQ(got.column, expected[i].column);
        EXPECT_EQ(got.value, expected[i].value);
    }
}

TEST(HostLiteralsTest, GivesTheErrorRunScriptGives) {
    mirudana::testing::TempDir dir;
    for (const std::string& path : {dir.write("bad.tts", "x = [手札\n"), dir.file("none.tts")}) {
        SCOPED_TRACE(path);
        HostLiteralScan scan = scanHostLiterals(path);
        std::int32_t n1 = 0, n2 = 0;
        RunOutcome run = TTSA().RunScript(path, n1, n2);
        ASSERT_TRUE(scan.error && run.error);
        EXPECT_EQ(scan.error->describe(), run.error->describe());
        EXPECT_TRUE(scan.literals.empty());
    }
}

}  // namespace
}  // namespace ttscript
