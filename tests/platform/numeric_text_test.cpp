#include "platform/numeric_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/failure.h"

namespace mirudana {
namespace {

// The rarity a value gives: its rounded number, 0 when it is not numeric, or the
// failure number the conversion throws.
int rarityOf(const std::string& text) {
    std::optional<double> value = parseDecimalNumber(text);
    if (!value) return 0;
    try {
        return roundToInt16(*value);
    } catch (const Failure& f) {
        return 100000 + f.number();
    }
}

TEST(NumericTextTest, AcceptsDecimalSpellingsAndRoundsHalvesToEven) {
    const int overflow = 100000 + failure::kOverflow;
    struct Case {
        std::string text;
        int rarity;
    };
    const std::vector<Case> cases = {
        {"3", 3},
        {"-3", -3},
        {"+3", 3},
        {" 3\t", 3},
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"0.5", 0},
        {"1.5", 2},
        {"2.4999", 2},
        {".5", 0},
        {"5.", 5},
        {"1e2", 100},
        {"2.5E-1", 0},
        {"1e+1", 10},
        {"32767", 32767},
        {"-32768", -32768},
        {"32767.5", overflow},
        {"-32768.5", -32768},
        {"32768", overflow},
        {"-32769", overflow},
        {"1e9", overflow},
        {"1e999", overflow},
        {"-1e999", overflow},
        {"1e-400", 0},
        {"-0.000001e-999", 0},
        {"123456e-330", 0},
        {"0.0001e312", overflow},
        {"", 0},
        {" ", 0},
        {"abc", 0},
        {"3a", 0},
        {"+-3", 0},
        {"000000000000000000003", 3},
        {"-000000000000000", 0},
        {"0x10", 0},
        {"&H10", 0},
        {"1,000", 0},
        {"inf", 0},
        {"nan", 0},
        {".", 0},
        {"-", 0},
        {"1e", 0},
        {"e5", 0},
        {"1 2", 0},
        {"３", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\"");
        EXPECT_EQ(rarityOf(c.text), c.rarity);
    }
    // A 300-digit value is numeric and far out of range.
    EXPECT_EQ(rarityOf(std::string(300, '9')), overflow);
}

}  // namespace
}  // namespace mirudana
