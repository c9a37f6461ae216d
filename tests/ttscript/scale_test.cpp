// The engine's costs at two sizes: reading, checking and running stay linear in
// the script's size and in the work it does, and within the memory budget.
// Ratios between sizes, never times, so a loaded machine does not fail them.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <ctime>
#include <functional>

#include "recording_host.h"
#include "support/temp_dir.h"
#include "ttscript/parser.h"

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
#include <sys/resource.h>
#define MIRUDANA_MEASURES_RESIDENT_MEMORY 1
#endif

namespace ttscript::testing {
namespace {

// The least CPU time of three runs of `script`, which must run to its end.
double leastCpuSeconds(const std::string& script) {
    double least = 1e9;
    for (int i = 0; i < 3; ++i) {
        RecordingHost host;
        std::clock_t start = std::clock();
        ScriptRun run = runScriptBytes(script, host);
        least = std::min(least, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
        EXPECT_EQ(run.error, "");
    }
    return least;
}

std::string doubled(const std::string& name, const std::string& seed, int times) {
    return name + " = \"" + seed + "\"\nFor i = 1 To " + std::to_string(times) + "\n" + name +
           " = " + name + " & " + name + "\nNext\n";
}

TEST(EngineScaleTest, FourTimesTheSizeCostsAboutFourTimesAsMuch) {
    struct Shape {
        const char* name;
        int size;
        std::function<std::string(int)> script;
    };
    const Shape shapes[] = {
        {"appends of a variable assigned later", 5000,
         [](int n) { return "y = 1\no = \"\"\n" + repeat("o = o & y\n", n) + "y = 2\n"; }},
        {"names assigned in one function", 5000,
         [](int n) {
             std::string body;
             for (int i = 0; i < n; ++i) body += "a" + std::to_string(i) + " = 1\n";
             return "Function F()\n" + body + "End Function\nx = F()\n";
         }},
        {"removing every key in the order added", 10000,
         [](int n) {
             std::string count = std::to_string(n);
             return "d = Dict()\nFor i = 1 To " + count + "\nAdd(d, i, i)\nNext\nFor i = 1 To " +
                    count + "\nRemove(d, i)\nNext\n";
         }},
        {"a chain of operators", 20000, [](int n) { return "x = 1" + repeat(" + 1", n) + "\n"; }},
        {"InStr and Count of a long part a text almost holds", 1 << 15,
         [](int n) {
             int doublings = static_cast<int>(std::bit_width(static_cast<unsigned>(n))) - 1;
             return doubled("t", "a", doublings) +
                    "p = Left(t, Len(t) / 2) & \"b\"\nx = InStr(t, p) + Count(t, p & \"a\")\n";
         }},
        {"a text walked a character at a time, forwards and back", 1 << 12,
         [](int n) {
             int doublings = static_cast<int>(std::bit_width(static_cast<unsigned>(n))) - 1;
             return doubled("t", "あ", doublings) +
                    "x = 0\ni = 1\nWhile i <= Len(t)\nx = x + InStr(i, t, Mid(t, i, 1))\n"
                    "i = i + 1\nWend\n"
                    "For i = Len(t) To 1 Step -1\nx = x + AscW(Mid(t, i, 1))\nNext\n";
         }},
        {"a Format pattern of many grouped digits", 1 << 17,
         [](int n) {
             int doublings = static_cast<int>(std::bit_width(static_cast<unsigned>(n))) - 1;
             return doubled("z", "0", doublings) + "x = Format(1, \"#,\" & z)\n";
         }},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.name);
        double small = leastCpuSeconds(shape.script(shape.size));
        double large = leastCpuSeconds(shape.script(4 * shape.size));
        // Linear gives 4, quadratic 16; the constant absorbs the clock's grain.
        EXPECT_LT(large, 8 * small + 0.02) << small << " s, then " << large << " s";
    }
}

#ifdef MIRUDANA_MEASURES_RESIDENT_MEMORY
long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A text built a row at a time grows in place: it is never held twice, as it would
// be while copied to a larger block. Runs before the tests that use more memory.
TEST(EngineScaleTest, ATextBuiltInRowsIsHeldOnce) {
    constexpr int kRows = 600000;  // 100 bytes each
    RecordingHost host;
    long before = peakResidentKiB();
    ScriptRun run = runScriptBytes(
        "row = \"<tr><td>" + std::string(81, 'x') + "</td></tr>\"\npage = \"\"\nFor i = 1 To " +
            std::to_string(kRows) + "\npage = page & row & Lf\nNext\n[p] = Len(page)\n",
        host);
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(host.printed, std::to_string(kRows * 100) + "\n");
    EXPECT_LT(peakResidentKiB() - before, kRows * 100 / 1024 * 5 / 4) << "KiB at most";
}

TEST(EngineScaleTest, WhatBuiltInsAndCallsMakeEndsAtTheBudget) {
    constexpr std::size_t kBudget = std::size_t{100} << 20;
    struct Case {
        const char* name;
        std::string script;
    };
    std::string manyLocals;
    for (int i = 0; i < 40000; ++i) manyLocals += "a" + std::to_string(i) + " = 1\n";
    const Case cases[] = {
        {"Replace", doubled("s", "a", 23) + doubled("w", "x", 10) + "r = Replace(s, \"a\", w)\n"},
        {"Join", doubled("sep", ",", 20) +
                     "l = List()\nFor i = 1 To 100000\nAdd(l, i)\nNext\nj = Join(l, sep)\n"},
        {"Split", doubled("s", ",,,,,,,,", 21) + "x = Split(s, \",\")\n"},
        {"Format", doubled("z", "0", 25) + "x = Format(1, \"#,\" & z)\n"},
        {"nested dictionaries",
         "d = Dict()\nFor i = 1 To 100000000\ne = Dict()\ne(\"k\") = d\nd = e\nNext\n"},
        {"call frames", "Function F(n)\nIf n = 0 Then\nReturn 0\nEnd If\nIf 0 Then\n" + manyLocals +
                            "End If\nReturn F(n - 1)\nEnd Function\nx = F(150)\n"},
    };
    long before = peakResidentKiB();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingHost host;
        std::string error = runScriptBytes(c.script, host, kBudget).error;
        EXPECT_NE(error.find("メモリが足りません"), std::string::npos) << error;
        EXPECT_LT(peakResidentKiB() - before, static_cast<long>((kBudget >> 10) + (32 << 10)))
            << "KiB at most";
    }
}

// Scripts near the largest read, in shapes that once took more than 40 MB to load:
// the syntax tree of one takes a few hundred bytes a statement.
TEST(EngineScaleTest, AScriptOfTheLargestSizeLoadsWithin40MB) {
    constexpr std::size_t kSize = 1'000'000;
    std::string names;
    for (int i = 0; names.size() < kSize - 100; ++i) names += "a" + std::to_string(i) + " = 1\n";
    std::string nest =
        repeat("If 1 Then\n", kMaxNesting - 1) + "x = 1\n" + repeat("End If\n", kMaxNesting - 1);
    struct Case {
        const char* name;
        std::string script;
    };
    const Case cases[] = {
        {"appends", "y = 1\no = \"\"\n" + repeat("o = o & y\n", kSize / 10 - 2)},
        {"names in one function", "Function F()\n" + names + "End Function\n"},
        {"names assigned", names},
        {"nesting at the limit", repeat(nest, static_cast<int>(kSize / nest.size()))},
    };
    long before = peakResidentKiB();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mirudana::testing::TempDir dir;
        TTSA engine;
        EXPECT_TRUE(engine.LoadScript(dir.write("large.tts", c.script)).completed);
        EXPECT_LT(peakResidentKiB() - before, 40L << 10) << "KiB at most";
    }
}
#endif

}  // namespace
}  // namespace ttscript::testing
