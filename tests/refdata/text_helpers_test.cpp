#include "refdata/text_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_user_interface.h"

namespace mirudana {
namespace {

using testing::FakeUserInterface;

TEST(TextHelpersTest, GetCardIDTakesWhatStandsBeforeTheFirstSlash) {
    FakeUserInterface ui;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C001/3", "C001"}, {"C001", "C001"}, {"/3", ""}, {"", ""}, {"a/b/c", "a"}, {"竜/1", "竜"},
    };
    for (const auto& [text, id] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(GetCardID(text, ui), id);
    }
    EXPECT_TRUE(ui.questions.empty());
}

TEST(TextHelpersTest, GetTextValueReadsTheLineOfTheFirstOccurrence) {
    const std::string info = "SecurityLevel:2\r\nnowplay:s\r\nname:x:y\r\nlast:end";
    struct Case {
        const char* name;
        std::string text;
        std::string key;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"middle line", info, "nowplay", "s"},
        {"first line", info, "SecurityLevel", "2"},
        {"value after the first colon", info, "name", "x:y"},
        {"last line without break", info, "last", "end"},
        {"absent key", info, "missing", ""},
        {"empty text", "", "nowplay", ""},
        {"line without colon", "a:1\r\nkey rest\r\nb:2", "key", "key rest"},
        {"key inside another line", "xnowplay:1\r\nnowplay:2", "nowplay", "1"},
        {"colon before the key is not used", "pre:nowplay rest\r\n", "nowplay", "nowplay rest"},
        {"case matters", info, "NowPlay", ""},
        {"lone LF does not end the line", "k:1\nz:2\r\n", "k", "1\nz:2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GetTextValue(c.text, c.key), c.value);
    }
}

TEST(TextHelpersTest, GetTextValuePositionsAreSixteenBitUtf16Units) {
    // The line end (the CR, or the position after the text) must lie at character
    // 32,767 or before; characters are counted in UTF-16 code units.
    auto padded = [](std::size_t units, const std::string& unit) {
        std::string text;
        for (std::size_t i = 0; i < units; ++i) text += unit;
        return text;
    };
    const std::string line = "k:v";  // 3 characters
    EXPECT_EQ(GetTextValue(padded(32763, "a") + line + "\r\n", "k"), "v");
    EXPECT_EQ(GetTextValue(padded(32764, "a") + line + "\r\n", "k"), "");
    EXPECT_EQ(GetTextValue(padded(32763, "a") + line, "k"), "v");
    EXPECT_EQ(GetTextValue(padded(32764, "a") + line, "k"), "");
    // Three-byte characters count once, characters beyond the BMP twice.
    EXPECT_EQ(GetTextValue(padded(32763, "あ") + line, "k"), "v");
    EXPECT_EQ(GetTextValue(padded(16381, "😀") + "a" + line, "k"), "v");
    EXPECT_EQ(GetTextValue(padded(16382, "😀") + line, "k"), "");
    // A key found beyond the limit gives nothing.
    EXPECT_EQ(GetTextValue(padded(40000, "a") + line, "k"), "");
}

}  // namespace
}  // namespace mirudana
