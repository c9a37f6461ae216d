#include "ttscript/json_text.h"

#include <gtest/gtest.h>

namespace ttscript {
namespace {

TEST(JsonTextTest, EscapesWhatCouldEndAScriptElementOrAJavaScriptString) {
    struct Case {
        std::string text, literal;
    };
    const Case cases[] = {
        {"", R"("")"},
        {"手札 abc", R"("手札 abc")"},
        {"</script><script>alert(1)</script>",
         R"("\u003c/script\u003e\u003cscript\u003ealert(1)\u003c/script\u003e")"},
        {"<!-- & -->", R"("\u003c!-- \u0026 --\u003e")"},
        {"\"\\", R"("\"\\")"},
        {"\b\f\n\r\t", R"("\b\f\n\r\t")"},
        {std::string("\x00\x01\x1F\x7F", 4), R"("\u0000\u0001\u001f\u007f")"},
        {"\xE2\x80\xA8|\xE2\x80\xA9", R"("\u2028|\u2029")"},
        {"😀", R"("😀")"},
        // Bad UTF-8: a lone surrogate, a cut sequence, a stray continuation byte.
        {"a\xED\xA0\x80z", "\"a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDz\""},
        {"\xE6\x89", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"\x80<", "\"\xEF\xBF\xBD\\u003c\""},
        {"\xEF\xBF\xBD", "\"\xEF\xBF\xBD\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.literal);
        EXPECT_EQ(jsonStringLiteral(c.text), c.literal);
    }
}

}  // namespace
}  // namespace ttscript
