#include "platform/utf.h"

#include <gtest/gtest.h>

#include <string>

namespace mirudana {
namespace {

TEST(UtfTest, TellsValidUtf8) {
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("aあ😀\uFFFD"));
    const char* invalid[] = {"\xFF",         "\xE3\x81",         "\xC0\xAF",
                             "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80"};
    for (const char* text : invalid) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(isValidUtf8(text));
    }
}

TEST(UtfTest, ConvertsBetweenUtf8AndUtf16) {
    EXPECT_EQ(utf8ToUtf16("aあ😀"), u"aあ😀");
    EXPECT_EQ(utf16ToUtf8(u"aあ😀"), "aあ😀");
    EXPECT_EQ(utf8ToUtf16("a\xE3\x81"), u"a\uFFFD\uFFFD");  // one U+FFFD per bad byte
    EXPECT_EQ(utf16ToUtf8(std::u16string(u"a") + char16_t(0xD83D) + u"b"), "a\uFFFDb");
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xDE00))), "\uFFFD");
}

// The code-unit steps against the same steps on the converted text, over every cut
// of texts with pairs, bad bytes and a genuine U+FFFD.
TEST(UtfTest, CodeUnitStepsMatchTheConvertedText) {
    const std::string texts[] = {"",
                                 "abc",
                                 "手札と山札",
                                 "a😀b😀",
                                 "😀",
                                 "x\xE3\x81y\xFF",
                                 "\uFFFDa\uFFFD",
                                 "あ\xF0\x9F\x98",
                                 "0123456789abcdef😀ghijklmnop札\xED\xA0\x80qrstuvwx\xE0\x80\x80"};
    const std::string needles[] = {"", "b", "札", "😀", "\uFFFD", "\xFF", "zz"};
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const std::u16string units = utf8ToUtf16(text);
        EXPECT_EQ(codeUnitCount(text), units.size());
        // The same answers again with what earlier walks learnt, walked forwards
        // and then backwards over the text.
        KnownPlaces known;
        auto check = [&](std::size_t from) {
            for (std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{2},
                                      std::size_t{3}, std::u16string::npos}) {
                std::string expected =
                    from > units.size() ? "" : utf16ToUtf8(units.substr(from, count));
                EXPECT_EQ(codeUnitSlice(text, from, count), expected) << from << "," << count;
                EXPECT_EQ(codeUnitSlice(text, from, count, known), expected)
                    << from << "," << count;
            }
            for (const std::string& find : needles) {
                std::size_t expected = units.find(utf8ToUtf16(find), from);
                EXPECT_EQ(findInCodeUnits(text, find, from), expected) << find << " from " << from;
                EXPECT_EQ(findInCodeUnits(text, find, from, known), expected)
                    << find << " from " << from;
            }
            EXPECT_EQ(codeUnitCount(text, known), units.size());
        };
        for (std::size_t from = 0; from <= units.size() + 1; ++from) check(from);
        for (std::size_t from = units.size() + 2; from-- > 0;) check(from);
    }
}

}  // namespace
}  // namespace mirudana
