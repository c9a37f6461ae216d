#include "platform/text_find.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace mirudana {
namespace {

// Texts of two letters hold a long part, and almost hold it, at many places: every
// answer must be the plain search's, from every start.
TEST(TextFindTest, FindsWhatAPlainSearchFinds) {
    std::mt19937 random(7);
    auto letters = [&](std::size_t size) {
        std::string text;
        for (std::size_t i = 0; i < size; ++i) text += "ab"[random() % 4 == 0];
        return text;
    };
    for (int round = 0; round < 300; ++round) {
        const std::string text = letters(random() % 200);
        const std::size_t size = kLongPart + 1 + random() % 40;
        std::string part = letters(size);
        if (round % 2 == 0 && text.size() >= size)
            part = text.substr(random() % (text.size() - size + 1), size);
        for (std::size_t from = 0; from <= text.size() + 1; ++from) {
            ASSERT_EQ(findLongText(text, part, from), std::string_view(text).find(part, from))
                << text << " / " << part << " from " << from;
        }
    }
}

}  // namespace
}  // namespace mirudana
