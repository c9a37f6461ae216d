#include "app/utf.h"

#include <gtest/gtest.h>

#include <string>

namespace mirudana {
namespace {

TEST(Utf, TellsValidUtf8) {
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("aあ😀\uFFFD"));
    const char* invalid[] = {"\xFF",         "\xE3\x81",         "\xC0\xAF",
                             "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80"};
    for (const char* text : invalid) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(isValidUtf8(text));
    }
}

TEST(Utf, ConvertsBetweenUtf8AndUtf16) {
    EXPECT_EQ(utf8ToUtf16("aあ😀"), u"aあ😀");
    EXPECT_EQ(utf16ToUtf8(u"aあ😀"), "aあ😀");
    EXPECT_EQ(utf8ToUtf16("a\xE3\x81"), u"a\uFFFD\uFFFD");  // one U+FFFD per bad byte
    EXPECT_EQ(utf16ToUtf8(std::u16string(u"a") + char16_t(0xD83D) + u"b"), "a\uFFFDb");
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xDE00))), "\uFFFD");
}

}  // namespace
}  // namespace mirudana
