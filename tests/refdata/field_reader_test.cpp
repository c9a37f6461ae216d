#include "refdata/field_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/failure.h"

namespace mirudana {
namespace {

using Records = std::vector<std::vector<std::string>>;

struct ReadOutcome {
    Records records;
    int failure = 0;
};

// Reads records of `width` fields the way the loaders do: the end of the input is
// tested only before a record, and a failure keeps the fields read so far.
ReadOutcome readAll(const std::string& bytes, int width) {
    ReadOutcome outcome;
    FieldReader reader(bytes);
    try {
        while (!reader.atEnd()) {
            outcome.records.emplace_back();
            for (int i = 0; i < width; ++i) outcome.records.back().push_back(reader.next());
        }
    } catch (const Failure& f) {
        outcome.failure = f.number();
    }
    return outcome;
}

TEST(FieldReaderTest, SplitsQuotesTrimsAndEndsLikeTheFileSays) {
    struct Case {
        const char* name;
        std::string bytes;
        int width;
        Records records;
        int failure;
    };
    const std::vector<Case> cases = {
        {"CR LF lines", "a,b\r\nc,d\r\n", 2, {{"a", "b"}, {"c", "d"}}, 0},
        {"last line without break", "a,b\r\nc,d", 2, {{"a", "b"}, {"c", "d"}}, 0},
        {"lone LF lines", "a,b\nc,d\n", 2, {{"a", "b"}, {"c", "d"}}, 0},
        {"lone CR lines", "a,b\rc,d\r", 2, {{"a", "b"}, {"c", "d"}}, 0},
        {"LF then CR is two line ends", "a\n\rb", 1, {{"a"}, {""}, {"b"}}, 0},
        {"line end separates like a comma", "a\r\nb,c\r\nd", 2, {{"a", "b"}, {"c", "d"}}, 0},
        {"blank line is one empty field", "a\r\n\r\nb\r\n", 1, {{"a"}, {""}, {"b"}}, 0},
        {"trailing blank line", "a,b\r\n\r\n", 2, {{"a", "b"}, {""}}, 62},
        {"short last line", "a,b\r\nc\r\n", 2, {{"a", "b"}, {"c"}}, 62},
        {"short last line without break", "a,b\r\nc", 2, {{"a", "b"}, {"c"}}, 62},
        {"comma at the very end gives an empty last field", "a,", 2, {{"a", ""}}, 0},
        {"comma at the very end of a short record", "a,", 3, {{"a", ""}}, 62},
        {"empty input", "", 2, {}, 0},
        {"quoted field keeps commas", "\"x,y\",z\r\n", 2, {{"x,y", "z"}}, 0},
        {"quoted field keeps blanks and line ends", "\" a\r\nb \",c", 2, {{" a\r\nb ", "c"}}, 0},
        {"text after the closing quote is dropped", "\"x\"junk,z", 2, {{"x", "z"}}, 0},
        {"blanks before the opening quote", "  \"x\" ,z", 2, {{"x", "z"}}, 0},
        {"unquoted field is trimmed", " a \t,\tb \r\n", 2, {{"a", "b"}}, 0},
        {"quote inside an unquoted field", "a\"b,c", 2, {{"a\"b", "c"}}, 0},
        {"stray quote runs to the end", "a,\"b,c\r\nd,e\r\n", 2, {{"a"}}, 62},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReadOutcome outcome = readAll(c.bytes, c.width);
        EXPECT_EQ(outcome.records, c.records);
        EXPECT_EQ(outcome.failure, c.failure);
    }
}

TEST(FieldReaderTest, DecodesCodePage932PerField) {
    // "カード" and "あ"; a comma never splits a double-byte character.
    EXPECT_EQ(readAll("\x83\x4a\x81\x5b\x83\x68,\x82\xa0", 2).records, (Records{{"カード", "あ"}}));
    // A trail byte equal to "\" (0x5C) is part of the character, not an escape.
    EXPECT_EQ(readAll("\x83\x5c,x", 2).records, (Records{{"ソ", "x"}}));
    // Undefined pairs and a lead byte cut off by the separator become U+30FB.
    EXPECT_EQ(readAll("\x85\x40,\x81,b", 3).records, (Records{{"・", "・", "b"}}));
}

}  // namespace
}  // namespace mirudana
