#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace mirudana {
namespace {

struct Mapping {
    std::string bytes;
    std::string text;
};

// Codes whose character has this code as its only (or preferred) code.
const Mapping kRoundTrips[] = {
    {"\x5C", "\\"},
    {"\x7E", "~"},
    {"\x1A\x1C\x7F", "\x1A\x1C\x7F"},
    {"\x81\x5F", "＼"},
    {"\x81\x60", "～"},
    {"\x81\x61", "∥"},
    {"\x81\x7C", "－"},
    {"\x87\x40", "①"},
    {"\xFA\x40", "ⅰ"},
    {"\x87\x54", "Ⅰ"},
    {"\x81\xCA", "￢"},
    {"\x81\xE0", "≒"},
    {"\xFA\x5C", "纊"},
    {"\xB1", "ｱ"},
    {"\x81\x45", "・"},
    {"\x80", "\u0080"},
    {"\xA0", "\uF8F0"},
    {"\xFD\xFE\xFF", "\uF8F1\uF8F2\uF8F3"},
    {"\xF0\x40", "\uE000"},
    {"\xF9\xFC", "\uE757"},
    {"\x88\x9F\x83\x41", "亜ア"},
    {std::string("a\0b", 3), std::string("a\0b", 3)},
};

TEST(CodepageTest, DefinedCodesConvertBothWays) {
    for (const auto& m : kRoundTrips) {
        SCOPED_TRACE(m.text);
        EXPECT_EQ(cp932ToUtf8(m.bytes), m.text);
        EXPECT_EQ(utf8ToCp932(m.text), m.bytes);
    }
}

TEST(CodepageTest, DecodesDuplicateCodesToTheSameCharacter) {
    const Mapping duplicates[] = {
        {"\xED\x40", "纊"}, {"\xEE\xEF", "ⅰ"}, {"\xFA\x4A", "Ⅰ"}, {"\xEE\xF9", "￢"},
        {"\xFA\x54", "￢"}, {"\x87\x90", "≒"}, {"\x87\x9A", "∵"},
    };
    for (const auto& m : duplicates) {
        SCOPED_TRACE(m.text);
        EXPECT_EQ(cp932ToUtf8(m.bytes), m.text);
    }
}

TEST(CodepageTest, UndefinedOrBrokenDoubleBytesGiveMiddleDot) {
    const Mapping cases[] = {
        {"\x85\x40", "・"},            // undefined pair: both bytes consumed
        {"\xFC\xFC", "・"},            // undefined pair in the last row
        {"\xEF\xBB\xBF", "・ｿ"},       // a UTF-8 byte order mark is nothing special
        {"\x81\r\nx", "・\r\nx"},      // invalid trail: read again on its own
        {"\x81\x7F", "・\x7F"},        // 0x7F is never a trail byte
        {"\x81\x30", "・0"},           // below the trail range
        {"\x81\xFD", "・\uF8F1"},      // above the trail range
        {"\x82\x9F\xA0", "ぁ\uF8F0"},  // a good pair, then a single byte
        {"ab\x82", "ab・"},            // lead byte at the end
        {"\x9F", "・"},                // nothing but a lead byte
    };
    for (const auto& m : cases) {
        SCOPED_TRACE(m.text);
        EXPECT_EQ(cp932ToUtf8(m.bytes), m.text);
    }
}

TEST(CodepageTest, UnrepresentableCharactersBecomeOneQuestionMarkEach) {
    const Mapping cases[] = {
        {"?", "€"},      {"a?b", "aéb"},          {"?", "😀"},
        {"??", "€€"},    {"?", "\xFF"},           {"??", "\xE3\x81"},
        {"?x", "\xC0x"}, {"???", "\xED\xA0\x80"}, {"?", "\xEF\xBF\xBD"},
    };
    for (const auto& m : cases) {
        SCOPED_TRACE(m.text);
        EXPECT_EQ(utf8ToCp932(m.text), m.bytes);
    }
}

// Runs of ASCII are copied eight bytes at a time and Japanese text is decoded on a
// short path: characters, good or broken, convert the same at every offset around
// such runs.
TEST(CodepageTest, EncodesTheSameAtEveryOffsetAmidAsciiRuns) {
    const Mapping cases[] = {
        {"\x88\x9F\x83\x41", "亜ア"},
        {"\x81\x5F", "＼"},
        {"\xB1", "ｱ"},
        {"?", "😀"},
        {"???", "\xED\xA0\x80"},
        {"???", "\xE0\x81\x81"},
        {"??", "\xE3\x81"},
        {"?x", "\xC0x"},
        // Runs of Japanese text broken by a single-byte code, a character the code
        // page lacks and bad input.
        {"\x88\x9F\xB1\x88\x9F", "亜ｱ亜"},
        {"\x88\x9F?\x88\x9F", "亜€亜"},
        {"\x88\x9F??\x88\x9F", "亜\xE3\x81亜"},
    };
    const std::string run = "<td class=\"num\">";
    for (const auto& m : cases) {
        for (std::size_t shift = 0; shift <= 8; ++shift) {
            SCOPED_TRACE(testing::Message() << m.text << " after " << shift);
            const std::string before = run.substr(0, shift);
            EXPECT_EQ(utf8ToCp932(before + m.text + run + m.text),
                      before + m.bytes + run + m.bytes);
        }
    }
}

TEST(CodepageTest, ABufferConvertedIntoAgainHoldsOnlyTheNewText) {
    std::string buffer;
    utf8ToCp932("亜亜亜亜亜亜亜亜", Unrepresentable::Question, buffer);
    utf8ToCp932("a亜", Unrepresentable::Question, buffer);
    EXPECT_EQ(buffer, "a\x88\x9F");
}

// Every code the code page defines decodes to a character that encodes back to that
// code, or, for a character with several codes, to the lowest one outside rows 0xED
// and 0xEE.
TEST(CodepageTest, EveryDefinedCodeRoundTripsExceptDuplicates) {
    int defined = 0;
    int duplicates = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead < 0xE0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string text = cp932ToUtf8(code);
            if (text == "・" && code != "\x81\x45") continue;
            ++defined;
            const std::string back = utf8ToCp932(text);
            if (back == code) continue;
            ++duplicates;
            SCOPED_TRACE(testing::Message() << std::hex << lead << ' ' << trail);
            ASSERT_EQ(back.size(), 2u);
            auto backLead = static_cast<unsigned char>(back[0]);
            EXPECT_TRUE(backLead != 0xED && backLead != 0xEE);
            bool inRowsEdEe = lead == 0xED || lead == 0xEE;
            EXPECT_TRUE(inRowsEdEe || static_cast<unsigned char>(back[0]) < lead ||
                        (backLead == lead && static_cast<unsigned char>(back[1]) < trail));
            EXPECT_EQ(cp932ToUtf8(back), text);
        }
    }
    EXPECT_EQ(defined, 9604);
    EXPECT_EQ(duplicates, 398);
    for (int b = 0; b <= 0xFF; ++b) {
        if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) continue;
        const std::string code(1, static_cast<char>(b));
        EXPECT_EQ(utf8ToCp932(cp932ToUtf8(code)), code) << b;
    }
}

}  // namespace
}  // namespace mirudana
