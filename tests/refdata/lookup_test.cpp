#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "refdata/reference_data.h"
#include "support/fake_user_interface.h"

namespace mirudana {
namespace {

using testing::FakeUserInterface;

CardEntry card(const std::string& id, const std::string& name) { return {id, name, 0, "", 0}; }

ReferenceData sampleTables() {
    ReferenceData data;
    data.CardLists = {
        {"first", {card("A", "a-first"), card("A", "a-again"), card("", "nameless")}},
        {"empty", {}},
        {"second", {card("A", "a-second"), card("B", "b-second"), card("Ｃ", "wide-c")}},
    };
    data.MasterList = {card("B", "b-master"), card("M", "m-master"), card("M", "m-again")};
    data.StatusList = {{"S", "upper-s", 0, 0}, {"s", "lower-s", 0, 0}, {"S", "upper-again", 0, 0}};
    data.buildIndex();
    return data;
}

TEST(LookupTest, FirstMatchInSearchOrderAndExactComparison) {
    ReferenceData data = sampleTables();
    FakeUserInterface ui;
    struct Case {
        std::string id;
        std::string card;
        std::string status;
    };
    const std::vector<Case> cases = {
        {"A", "a-first", ""},   // earlier line, earlier list
        {"B", "b-second", ""},  // any card list beats the master list
        {"M", "m-master", ""},  // found after empty and later lists
        {"", "nameless", ""},   // the empty identifier matches the first empty ID
        {"a", "", ""},          // letter case
        {"A ", "", ""},         // trailing space
        {"C", "", ""},          // width
        {"Ｃ", "wide-c", ""},  {"S", "", "upper-s"}, {"s", "", "lower-s"},
        {" S", "", ""},        {"nowhere", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.id + "\"");
        EXPECT_EQ(data.CardID2CardName(c.id, ui), c.card);
        EXPECT_EQ(data.StatusID2StatusName(c.id, ui), c.status);
    }
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_TRUE(ui.warnings.empty());
}

TEST(LookupTest, ACopyOfTheTablesAnswersAfterTheOriginalIsGone) {
    auto original = std::make_unique<ReferenceData>(sampleTables());
    ReferenceData copy = *original;
    original.reset();
    FakeUserInterface ui;
    EXPECT_EQ(copy.CardID2CardName("A", ui), "a-first");
    EXPECT_EQ(copy.StatusID2StatusName("S", ui), "upper-s");
}

}  // namespace
}  // namespace mirudana
