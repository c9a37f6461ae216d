#include "app/ini_access.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/codepage.h"
#include "platform/paths.h"
#include "platform/private_profile.h"
#include "support/temp_dir.h"

namespace mirudana {
namespace {

using testing::readBytes;
using testing::TempDir;

struct ReadCase {
    const char* what;
    std::string content;  // UTF-8, written as code page 932
    std::string section;
    std::string key;
    std::string expected;
};

TEST(INIAccessTest, ReadsAsThePlatformProfileFunctions) {
    const ReadCase cases[] = {
        {"names ignore case", "[Head]\r\nRARE=3\r\n", "head", "rare", "3"},
        {"full-width names ignore case", "[ＨＥＡＤ]\r\nｒａｒｅ=4\r\n", "ｈｅａｄ", "ＲＡＲＥ",
         "4"},
        {"blanks trimmed", "  [ head\t]\r\n \trare \t=\t 3 x \r\n", "head", " rare ", "3 x"},
        {"double quotes removed", "[head]\r\nrare=\" a \"\r\n", "head", "rare", " a "},
        {"single quotes removed", "[head]\r\nrare='x'\r\n", "head", "rare", "x"},
        {"unmatched quotes kept", "[head]\r\nrare=\"x'\r\n", "head", "rare", "\"x'"},
        {"a lone quote kept", "[head]\r\nrare=\"\r\n", "head", "rare", "\""},
        {"only one pair removed", "[head]\r\nrare=\"\"x\"\"\r\n", "head", "rare", "\"x\""},
        {"comment line skipped", "[head]\r\n ;rare=1\r\nrare=2\r\n", "head", "rare", "2"},
        {"semicolon inside a value", "[head]\r\nrare=1 ; 2\r\n", "head", "rare", "1 ; 2"},
        {"a line without = is no key", "[head]\r\nrare\r\nrare=5\r\n", "head", "rare", "5"},
        {"keys before any section ignored", "rare=1\r\n[head]\r\n", "head", "rare", ""},
        {"header ends at the first ]", "[head]x]\r\nrare=6\r\n", "head", "rare", "6"},
        {"a header without ] is no section", "[head\r\nrare=1\r\n", "head", "rare", ""},
        {"] as a second byte is no header end", "[余り]\r\nrare=7\r\n", "余り", "rare", "7"},
        {"first matching key wins", "[head]\r\nrare=1\r\nRARE=2\r\n", "head", "rare", "1"},
        {"repeated section not searched", "[head]\r\nx=1\r\n[HEAD]\r\nrare=2\r\n", "head", "rare",
         ""},
        {"other sections not searched", "[a]\r\nrare=1\r\n[head]\r\n[b]\r\nrare=2\r\n", "head",
         "rare", ""},
        {"bare LF and CR line ends", "[head]\nx=1\rrare=8\n", "head", "rare", "8"},
        {"last line without line end", "[head]\r\nrare=9", "head", "rare", "9"},
        {"empty value", "[head]\r\nrare=\r\n", "head", "rare", ""},
        {"missing key", "[head]\r\nrarity=1\r\n", "head", "rare", ""},
        {"missing section", "[tail]\r\nrare=1\r\n", "head", "rare", ""},
        {"Japanese text", "[見出し]\r\nレア=ソ表[x]\r\n", "見出し", "レア", "ソ表[x]"},
        {"name the code page lacks", "[head]\r\n?=1\r\n", "head", "€", "1"},
    };
    TempDir dir;
    INIAccess ini;
    ini.FileName = dir.file("card.ini");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dir.writeCp932("card.ini", c.content);
        EXPECT_EQ(ini.GetINIData(c.key, c.section), c.expected);
    }
}

TEST(INIAccessTest, AUtf8ByteOrderMarkHidesTheFirstHeader) {
    TempDir dir;
    INIAccess ini;
    ini.FileName = dir.write("card.ini", "\xEF\xBB\xBF[head]\r\nrare=1\r\n[tail]\r\nrare=2\r\n");
    EXPECT_EQ(ini.GetINIData("rare", "head"), "");
    EXPECT_EQ(ini.GetINIData("rare", "tail"), "2");
}

std::string repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

TEST(INIAccessTest, ValuesAreCutTo255BytesWithoutSplittingACharacter) {
    const struct {
        const char* what;
        std::string value;
        std::string expected;
    } cases[] = {
        {"ASCII", repeat("a", 300), repeat("a", 255)},
        {"exactly 255 bytes", repeat("a", 255), repeat("a", 255)},
        {"the 128th kana would be split", repeat("あ", 200), repeat("あ", 127)},
        {"255 bytes ending with a kana", "a" + repeat("あ", 200), "a" + repeat("あ", 127)},
        {"up to the first NUL", std::string("ab\0cd", 5), "ab"},
    };
    TempDir dir;
    INIAccess ini;
    ini.FileName = dir.file("card.ini");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dir.writeCp932("card.ini", "[head]\r\nrare=" + c.value + "\r\n");
        EXPECT_EQ(ini.GetINIData("rare", "head"), c.expected);
    }
}

TEST(INIAccessTest, RemembersTheLastSectionUsed) {
    TempDir dir;
    INIAccess ini;
    ini.FileName = dir.writeCp932("card.ini", "[head]\r\nrare=3\r\n[tail]\r\nrare=4\r\n");
    EXPECT_EQ(ini.GetINIData("rare"), "");  // no section given nor stored
    EXPECT_EQ(ini.Section, "");
    EXPECT_EQ(ini.GetINIData("rare", "head"), "3");
    EXPECT_EQ(ini.Section, "head");
    EXPECT_EQ(ini.GetINIData("rare"), "3");
    EXPECT_EQ(ini.GetINIData("rare", "tail"), "4");
    EXPECT_EQ(ini.GetINIData("rare"), "4");

    ini.FileName = dir.file("missing.ini");
    EXPECT_EQ(ini.GetINIData("rare", "head"), "");
    EXPECT_EQ(ini.Section, "tail");  // a missing file stores no section

    ini.FileName = "";
    EXPECT_EQ(ini.GetINIData("rare", "head"), "");
    EXPECT_FALSE(ini.SetINIData("rare", "1", "head"));
    EXPECT_EQ(ini.Section, "tail");

    ini.FileName = dir.makeDir("folder.ini");
    EXPECT_EQ(ini.GetINIData("rare", "head"), "");
    EXPECT_EQ(ini.Section, "head");  // there, though it cannot be read
}

TEST(INIAccessTest, WritingCreatesTheFileAndReadsBack) {
    TempDir dir;
    INIAccess ini;
    ini.FileName = dir.file("card.ini");
    EXPECT_FALSE(ini.SetINIData("rare", "3"));  // no section given nor stored
    EXPECT_FALSE(ini.FileExists(ini.FileName));
    ASSERT_TRUE(ini.SetINIData("レア", "星３", "見出し"));
    EXPECT_EQ(readBytes(ini.FileName),
              "[\x8C\xA9\x8F\x6F\x82\xB5]\r\n\x83\x8C\x83\x41=\x90\xAF\x82\x52\r\n");
    EXPECT_EQ(ini.Section, "見出し");
    ASSERT_TRUE(ini.SetINIData("name", "€"));
    EXPECT_EQ(ini.GetINIData("レア"), "星３");
    EXPECT_EQ(ini.GetINIData("name"), "?");
}

struct WriteCase {
    const char* what;
    std::string before;  // UTF-8, written as code page 932
    std::string section;
    std::string key;
    std::string value;
    std::string after;
};

TEST(INIAccessTest, WritingKeepsEveryOtherLine) {
    const WriteCase cases[] = {
        {"value replaced in place", "; top\r\n[head]\r\n; note\r\n Rare = 1 \r\nx=2\r\n", "HEAD",
         "rare", "3", "; top\r\n[head]\r\n; note\r\nRare=3\r\nx=2\r\n"},
        {"first of two keys replaced", "[head]\r\nrare=1\r\nrare=2\r\n", "head", "rare", "3",
         "[head]\r\nrare=3\r\nrare=2\r\n"},
        {"key added at the end of its section", "[head]\r\nx=1\r\n; c\r\n\r\n[tail]\r\nx=2\r\n",
         "head", "rare", "3", "[head]\r\nx=1\r\n; c\r\nrare=3\r\n\r\n[tail]\r\nx=2\r\n"},
        {"key added to an empty section", "[head]\r\n[tail]\r\n", "head", "rare", "3",
         "[head]\r\nrare=3\r\n[tail]\r\n"},
        {"key added after a last line without line end", "[head]\r\nx=1", "head", "rare", "3",
         "[head]\r\nx=1\r\nrare=3\r\n"},
        {"key added to the first of repeated sections", "[head]\r\n[head]\r\n", "head", "rare", "3",
         "[head]\r\nrare=3\r\n[head]\r\n"},
        {"section added at the end", "[tail]\r\nx=1\r\n", "head", "rare", "3",
         "[tail]\r\nx=1\r\n[head]\r\nrare=3\r\n"},
        {"section added after a last line without line end", "x=1", "head", "rare", "3",
         "x=1\r\n[head]\r\nrare=3\r\n"},
        {"bare LF line ends kept", "[head]\nx=1\n", "head", "x", "2", "[head]\nx=2\n"},
        {"Japanese key replaced", "[見出し]\r\nレア = 星１\r\n", "見出し", "レア", "星２",
         "[見出し]\r\nレア=星２\r\n"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        INIAccess ini;
        ini.FileName = dir.writeCp932("card.ini", c.before);
        EXPECT_TRUE(ini.SetINIData(c.key, c.value, c.section));
        EXPECT_EQ(cp932ToUtf8(readBytes(ini.FileName)), c.after);
    }
}

TEST(INIAccessTest, WritingKeepsBytesTheCodePageLacks) {
    TempDir dir;
    INIAccess ini;
    ini.FileName = dir.write("card.ini", "\x85\x40=\x81\r\n[head]\r\nx=1\r\n");
    EXPECT_TRUE(ini.SetINIData("x", "2", "head"));
    EXPECT_EQ(readBytes(ini.FileName), "\x85\x40=\x81\r\n[head]\r\nx=2\r\n");
}

TEST(INIAccessTest, WritingFailsWhereNoFileCanBe) {
    TempDir dir;
    INIAccess ini;
    ini.FileName = dir.file("missing/card.ini");
    EXPECT_FALSE(ini.SetINIData("rare", "3", "head"));
    ini.FileName = dir.makeDir("folder.ini");
    EXPECT_FALSE(ini.SetINIData("rare", "3", "head"));
    EXPECT_EQ(ini.GetINIData("rare", "head"), "");

    // A read-only file is refused and left as it was, whoever runs the tool.
    ini.FileName = dir.write("locked.ini", "[head]\r\nrare=1\r\n");
    std::filesystem::permissions(ini.FileName, std::filesystem::perms::owner_read |
                                                   std::filesystem::perms::group_read |
                                                   std::filesystem::perms::others_read);
    EXPECT_FALSE(ini.SetINIData("rare", "3", "head"));
    EXPECT_EQ(readBytes(ini.FileName), "[head]\r\nrare=1\r\n");
}

TEST(INIAccessTest, SetAppPathFilenamePutsTheNameInTheProgramFolder) {
    const std::string folder = kDirSep == '/' ? "/opt/tool" : "C:\\Tools";
    INIAccess tool(folder);
    tool.SetAppPathFilename("a.ini");
    EXPECT_EQ(tool.FileName, folder + kDirSep + "a.ini");

    std::string root(1, kDirSep);  // a drive-root style folder already ends with one
    INIAccess atRoot(root);
    atRoot.SetAppPathFilename("a.ini");
    EXPECT_EQ(atRoot.FileName, root + "a.ini");

    INIAccess running;
    running.SetAppPathFilename("a.ini");
    EXPECT_EQ(running.FileName, programFolder() + kDirSep + "a.ini");
}

TEST(INIAccessTest, FileExistsForFilesAndFolders) {
    TempDir dir;
    INIAccess ini;
    EXPECT_TRUE(ini.FileExists(dir.write("a.ini", "")));
    EXPECT_TRUE(ini.FileExists(dir.path()));
    EXPECT_FALSE(ini.FileExists(dir.file("b.ini")));
    EXPECT_FALSE(ini.FileExists(""));
}

TEST(PrivateProfileTest, ReadsIntoAGivenBufferSize) {
    const std::string content = utf8ToCp932("[s]\r\nk=あいう\r\n");
    EXPECT_EQ(privateProfileString(content, "s", "k", 6), "あい");
    EXPECT_EQ(privateProfileString(content, "s", "k", 5), "あい");
    EXPECT_EQ(privateProfileString(content, "s", "k", 4), "あ");
    EXPECT_EQ(privateProfileString(content, "s", "k", 1), "");
    EXPECT_EQ(privateProfileString(content, "s", "k", 0), "");
}

}  // namespace
}  // namespace mirudana
