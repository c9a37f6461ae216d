// The language itself: each case is a script and what it prints with `[p] = x`.
#include <gtest/gtest.h>

#include "recording_host.h"

namespace ttscript::testing {
namespace {

struct ScriptCase {
    const char* name;
    const char* script;
    const char* expected;  // printed lines, each ending in "\n"
};

void runCases(std::initializer_list<ScriptCase> cases) {
    for (const ScriptCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingHost host;
        ScriptRun run = runScriptBytes(c.script, host);
        EXPECT_EQ(run.error, "");
        EXPECT_TRUE(run.outcome.completed);
        EXPECT_EQ(host.printed, c.expected);
    }
}

TEST(ScriptLanguage, ValuesAndOperators) {
    runCases({
        {"numbers print without a needless point", "[p] = 3\n[p] = 4.5\n[p] = -3\n[p] = 6 / 2\n",
         "3\n4.5\n-3\n3\n"},
        {"whole numbers print in full up to 2^53",
         "[p] = 1234567890123456\n[p] = -9007199254740992\n[p] = 9007199254740992 * 2\n",
         "1234567890123456\n-9007199254740992\n1.8014398509482e+16\n"},
        {"fractions keep 15 digits", "[p] = 1 / 3\n[p] = 0.1 + 0.2\n", "0.333333333333333\n0.3\n"},
        {"precedence", "[p] = 1 + 2 * 3\n[p] = (1 + 2) * 3\n[p] = 7 Mod 3 + 1\n[p] = -2 * -3\n",
         "7\n9\n2\n6\n"},
        {"numeric text takes part in arithmetic", "[p] = \"12\" + \" 3 \"\n[p] = \"1.5\" * 2\n",
         "15\n3\n"},
        {"& joins as text", "[p] = \"a\" & 1 & 2.5 & \"\"\n[p] = 1 + 2 & 3\n", "a12.5\n33\n"},
        {"quotes and backslashes in literals", "[p] = \"say \"\"hi\"\" \\n\"\n",
         "say \"hi\" \\n\n"},
        {"constants",
         "[p] = Len(CrLf) & Len(Lf) & Len(Tab)\n[p] = InStr(\"a\" & tab & \"b\", Tab)\n",
         "211\n2\n"},
        {"numeric comparison when both sides are numbers or numeric text",
         "[p] = \"10\" > \"9\"\n[p] = 10 = \"10.0\"\n[p] = \" 2\" < 10\n", "1\n1\n1\n"},
        {"text comparison otherwise",
         "[p] = \"10\" > \"9a\"\n[p] = \"abc\" < \"abd\"\n[p] = \"\" = 0\n[p] = \"A\" = \"a\"\n"
         "[p] = \"b\" >= \"b\"\n[p] = \"a\" <> \"b\"\n[p] = 5 <= \"5x\"\n",
         "0\n1\n0\n0\n1\n1\n1\n"},
        {"text compares by UTF-16 code unit", "[p] = \"\xEF\xBD\xA1\" < \"\xF0\x9F\x98\x80\"\n",
         "0\n"},
        {"logic", "[p] = 1 And 0\n[p] = 1 Or 0\n[p] = Not 1 = 2\n[p] = Not \"\"\n[p] = Not \"x\"\n",
         "0\n1\n1\n1\n0\n"},
        {"And and Or stop early",
         "Function f()\n[p] = \"called\"\nReturn 1\nEnd Function\n"
         "x = 0 And f()\ny = 1 Or f()\n[p] = x & y\n",
         "01\n"},
    });
}

TEST(ScriptLanguage, Statements) {
    runCases({
        {"If chain",
         "For i = 1 To 4\n If i = 1 Then\n  [p] = \"one\"\n ElseIf i < 3 Then\n  [p] = \"two\"\n"
         " ElseIf i = 3 Then\n  [p] = \"three\"\n Else\n  [p] = \"many\"\n End If\nNext\n",
         "one\ntwo\nthree\nmany\n"},
        {"If without Else does nothing when false", "If 0 Then\n[p] = 1\nEnd If\n[p] = 2\n", "2\n"},
        {"While and Exit While",
         "i = 0\nWhile 1\n i = i + 1\n If i > 3 Then\n  Exit While\n End If\n [p] = i\nWend\n",
         "1\n2\n3\n"},
        {"For with Step, down and Exit For",
         "s = \"\"\nFor i = 10 To 1 Step -3\ns = s & i & \",\"\nNext i\n[p] = s & \" \" & i\n"
         "For j = 1 To 100\nIf j = 3 Then\nExit For\nEnd If\nNext\n[p] = j\n"
         "For k = 5 To 1\n[p] = \"never\"\nNext\n[p] = k\n",
         "10,7,4,1, -2\n3\n5\n"},
        {"Exit For leaves the innermost For only",
         "For a = 1 To 2\nFor b = 1 To 5\nIf b = 2 Then\nExit For\nEnd If\n[p] = a & "
         "b\nNext\nNext\n",
         "11\n21\n"},
        {"functions: recursion, Return and Exit Function",
         "Function Fact(n)\nIf n <= 1 Then\nReturn 1\nEnd If\nReturn n * Fact(n - 1)\nEnd "
         "Function\n"
         "Function Nothing()\nExit Function\nEnd Function\n[p] = Fact(10)\n[p] = \"[\" & Nothing() "
         "& \"]\"\n"
         "Function NoReturn()\nx = Fact(3)\nEnd Function\n[p] = \"[\" & NoReturn() & \"]\"\n",
         "3628800\n[]\n[]\n"},
        {"functions may be called before they are defined",
         "[p] = Twice(4)\nFunction Twice(x)\nReturn x * 2\nEnd Function\n", "8\n"},
        {"function variables are local; globals can be read",
         "x = \"global\"\nprefix = \">\"\nFunction Show(v)\nx = prefix & v\nReturn x\nEnd "
         "Function\n"
         "[p] = Show(1)\n[p] = x\n",
         ">1\nglobal\n"},
        {"a call as a statement", "Function Hello()\n[p] = \"hello\"\nEnd Function\nHello()\n",
         "hello\n"},
        {"letter case, indentation, comments and Japanese names",
         "' a comment line\n  \xE5\x90\x88\xE8\xA8\x88 = 1 ' trailing comment\n"
         "\t\xE5\x90\x88\xE8\xA8\x88 = \xE5\x90\x88\xE8\xA8\x88 + 1\n"
         "\xE3\x80\x80IF \xE5\x90\x88\xE8\xA8\x88 = 2 then\n[p] = \"It's 2\"\nend if\n"
         "Value = 5\n[p] = VALUE\n",
         "It's 2\n5\n"},
        {"building text in place keeps other references and the old value intact",
         "a = \"x\"\nb = a\na = a & \"y\" & 1\na = a & a\n[p] = a\n[p] = b\n"
         "c = \"ab\"\nc = c & c & Len(c)\n[p] = c\n"
         "Function LenOfG()\nReturn Len(g)\nEnd Function\n"
         "g = \"abcdefghijklmnopqrstuvwxyz\"\ng = g & \"!\" & LenOfG()\n[p] = g\n",
         "xy1xy1\nx\nabab2\nabcdefghijklmnopqrstuvwxyz!26\n"},
        {"appending to a number", "n = 12\nn = n & \"!\"\n[p] = n\n", "12!\n"},
    });
}

TEST(ScriptLanguage, Builtins) {
    runCases({
        {"lengths count UTF-16 code units",
         "[p] = Len(\"\xE6\x89\x8B\xE6\x9C\xAD\")\n[p] = Len(\"\xF0\x9F\x98\x80\")\n[p] = "
         "Len(123)\n",
         "2\n2\n3\n"},
        {"Left Right Mid",
         "s = \"\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86\xE3\x81\x88\"\n[p] = Left(s, 2)\n"
         "[p] = Right(s, 1)\n[p] = Mid(s, 2, 2)\n[p] = Mid(s, 3)\n[p] = Left(s, 99) = s\n"
         "[p] = \"[\" & Mid(s, 9) & Right(s, 0) & \"]\"\n",
         "\xE3\x81\x82\xE3\x81\x84\n\xE3\x81\x88\n\xE3\x81\x84\xE3\x81\x86\n"
         "\xE3\x81\x86\xE3\x81\x88\n1\n[]\n"},
        {"InStr is 1-based and 0 when absent",
         "[p] = InStr(\"abcabc\", \"c\")\n[p] = InStr(4, \"abcabc\", \"c\")\n"
         "[p] = InStr(\"abc\", \"x\")\n[p] = InStr(\"\xE6\x89\x8B\xE6\x9C\xAD\", "
         "\"\xE6\x9C\xAD\")\n",
         "3\n6\n0\n2\n"},
        {"Replace Trim UCase LCase",
         "[p] = Replace(\"a-b-c\", \"-\", \"--\")\n[p] = Replace(\"abc\", \"\", \"x\")\n"
         "[p] = \"[\" & Trim(\" \t\xE3\x80\x80x y \") & \"]\"\n[p] = UCase(\"ab\xEF\xBD\x81\") & "
         "LCase(\"AB\")\n",
         "a--b--c\nabc\n[x y]\nAB\xEF\xBD\x81"
         "ab\n"},
        {"Val Str Int",
         "[p] = Val(\" 12.5kg\")\n[p] = Val(\"x\")\n[p] = Val(\"-3.\")\n[p] = Str(7) & Str(\"8\")\n"
         "[p] = Int(2.7) & \" \" & Int(-2.5)\n",
         "12.5\n0\n-3\n78\n2 -3\n"},
        {"Html escapes the five characters", "[p] = Html(\"<a href=\"\"x\"\">'&'</a>\")\n",
         "&lt;a href=&quot;x&quot;&gt;&#39;&amp;&#39;&lt;/a&gt;\n"},
        {"Count and Item walk a joined list",
         "h = \"A\xE3\x80\x81"
         "B\xE3\x80\x81\xE3\x80\x81"
         "D\"\n[p] = Count(h, \"\xE3\x80\x81\")\n"
         "For i = 0 To 5\n[p] = i & \"=\" & Item(h, \"\xE3\x80\x81\", i)\nNext\n"
         "[p] = Count(\"\", \",\") & Count(\"x\", \",\") & Item(\"\", \",\", 1)\n",
         "4\n0=\n1=A\n2=B\n3=\n4=D\n5=\n01\n"},
        {"a built-in's unchanged result is not tied to its argument",
         "s = \"abc\"\nt = Html(s)\nt = t & \"!\"\nu = Replace(s, \"x\", \"y\")\nu = u & \"?\"\n"
         "v = Trim(s)\nv = v & \"#\"\nw = Item(s, \"\", 1)\nw = w & \"%\"\n"
         "[p] = s & \" \" & t & \" \" & u & \" \" & v & \" \" & w\n"
         "[p] = Html(12) & Replace(3, \"x\", \"y\") & Trim(4) & Item(5, \"\", 1)\n",
         "abc abc! abc? abc# abc%\n12345\n"},
        {"Now gives date and time", "[p] = Len(Now) & Mid(Now(), 5, 1) & Mid(Now, 14, 1)\n",
         "19/:\n"},
    });
}

}  // namespace
}  // namespace ttscript::testing
