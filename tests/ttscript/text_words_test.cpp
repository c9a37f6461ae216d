#include "ttscript/text_words.h"

#include <gtest/gtest.h>

#include <string>

namespace ttscript {
namespace {

// The overlapping loads give, for every length a short text can have, the words a
// byte at a time gives; texts that differ in one byte or in length stay apart.
TEST(TextWordsTest, ShortWordsMatchBytesAtEveryLength) {
    const std::string text = "0123456789abcdefXYZ";
    for (std::size_t n = 0; n <= 16; ++n) {
        SCOPED_TRACE(n);
        std::string_view s(text.data() + 1, n);
        ShortWords words = shortWords(s);
        EXPECT_EQ(words.low, bytesAt(s, 0));
        EXPECT_EQ(words.high, bytesAt(s, 8));
        std::string other(s);
        for (std::size_t i = 0; i < n; ++i) {
            other[i] ^= 1;
            EXPECT_FALSE(sameText(s, other));
            other[i] ^= 1;
        }
        EXPECT_TRUE(sameText(s, other));
        EXPECT_FALSE(sameText(s, text.substr(1, n + 1)));
    }
}

}  // namespace
}  // namespace ttscript
