#include "battle/record_reader.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <variant>

#include "battle/kvs_writer.h"
#include "platform/failure.h"

namespace mirudana {
namespace {

using kvs::encodeBattleRecord;
using kvs::KvsWriter;
using kvs::textListOf;

constexpr std::size_t kEmptyRecordSize = 148;

// `bytes` with the two bytes at `offset` (an empty text, an absent list or a
// zero number) replaced by `field`.
std::string withFieldAt(std::string bytes, std::size_t offset, std::string_view field) {
    return bytes.replace(offset, 2, field);
}

std::string zeros(std::size_t n) { return std::string(n, '\0'); }

bool readFails(std::string_view bytes) {
    try {
        readBattleRecord(bytes);
        return false;
    } catch (const Failure&) {
        return true;
    }
}

TEST(RecordReaderTest, AllZeroRecordIsEmpty) {
    EXPECT_EQ(readBattleRecord(zeros(kEmptyRecordSize)), BattleRecord{});
    EXPECT_EQ(encodeBattleRecord(BattleRecord{}).size(), kEmptyRecordSize);
}

using FieldRef = std::variant<std::int16_t*, bool*, std::string*, TextList*>;

struct Field {
    std::string name;
    std::size_t offset;
    std::function<FieldRef(BattleRecord&)> ref;
};

// Every field of the all-empty record with its byte offset.
std::vector<Field> fieldsOfEmptyRecord() {
    std::vector<Field> fields;
    for (int s = 0; s < 2; ++s) {
        auto side = [s](BattleRecord& r) -> SideRecord& { return s == 0 ? r.Server : r.Client; };
        std::string sideName = s == 0 ? "Server" : "Client";
        std::size_t base = s == 0 ? 0 : 66;
        auto master = [side](BattleRecord& r) -> MasterRecord& { return side(r).Master; };
        auto add = [&](std::string name, std::size_t offset, auto pick) {
            fields.push_back({sideName + "." + name, base + offset,
                              [pick](BattleRecord& r) -> FieldRef { return pick(r); }});
        };
        add("Master.Name", 0, [master](BattleRecord& r) { return &master(r).Name; });
        add("Deck.DeckName", 2, [master](BattleRecord& r) { return &master(r).Deck.DeckName; });
        add("Deck.AuthorName", 4, [master](BattleRecord& r) { return &master(r).Deck.AuthorName; });
        add("Deck.DeckType", 6, [master](BattleRecord& r) { return &master(r).Deck.DeckType; });
        add("Deck.Cards", 8, [master](BattleRecord& r) { return &master(r).Deck.Cards; });
        add("Deck.Master", 10, [master](BattleRecord& r) { return &master(r).Deck.Master; });
        add("DrawPile", 12, [master](BattleRecord& r) { return &master(r).DrawPile; });
        add("Hand", 14, [master](BattleRecord& r) { return &master(r).Hand; });
        add("DiscardPile", 16, [master](BattleRecord& r) { return &master(r).DiscardPile; });
        add("Master.HitPoints", 18, [master](BattleRecord& r) { return &master(r).HitPoints; });
        add("Stones", 20, [master](BattleRecord& r) { return &master(r).Stones; });
        add("FirstPlayer", 22, [master](BattleRecord& r) { return &master(r).FirstPlayer; });
        add("Master.Status", 24, [master](BattleRecord& r) { return &master(r).Status; });
        for (std::size_t m = 0; m < 4; ++m) {
            auto slot = [side, m](BattleRecord& r) -> MonsterRecord& {
                return side(r).Monsters[m];
            };
            std::string slotName = "Monsters[" + std::to_string(m) + "].";
            std::size_t at = 26 + 10 * m;
            add(slotName + "Card", at, [slot](BattleRecord& r) { return &slot(r).Card; });
            add(slotName + "StateFlag", at + 2,
                [slot](BattleRecord& r) { return &slot(r).StateFlag; });
            add(slotName + "Level", at + 4, [slot](BattleRecord& r) { return &slot(r).Level; });
            add(slotName + "HitPoints", at + 6,
                [slot](BattleRecord& r) { return &slot(r).HitPoints; });
            add(slotName + "Status", at + 8, [slot](BattleRecord& r) { return &slot(r).Status; });
        }
    }
    fields.push_back({"TurnCount", 132, [](BattleRecord& r) -> FieldRef { return &r.TurnCount; }});
    fields.push_back({"AuxText", 134, [](BattleRecord& r) -> FieldRef { return &r.AuxText; }});
    fields.push_back({"InfoText", 136, [](BattleRecord& r) -> FieldRef { return &r.InfoText; }});
    for (std::size_t k = 0; k < 5; ++k) {
        fields.push_back({"AuxTexts[" + std::to_string(k) + "]", 138 + 2 * k,
                          [k](BattleRecord& r) -> FieldRef { return &r.AuxTexts[k]; }});
    }
    return fields;
}

TEST(RecordReaderTest, EveryFieldIsReadAtItsOffset) {
    const std::string hiragana = "\x82\xa0";  // "あ" in code page 932
    for (const Field& field : fieldsOfEmptyRecord()) {
        SCOPED_TRACE(field.name);
        BattleRecord expected;
        std::string bytes;
        std::visit(
            [&](auto* value) {
                using T = std::remove_pointer_t<decltype(value)>;
                if constexpr (std::is_same_v<T, std::int16_t>) {
                    bytes = withFieldAt(zeros(kEmptyRecordSize), field.offset, "\x34\x12");
                    *value = 0x1234;
                } else if constexpr (std::is_same_v<T, bool>) {
                    // Only the high byte set: any non-zero value is true.
                    bytes = withFieldAt(zeros(kEmptyRecordSize), field.offset, {"\0\x01", 2});
                    *value = true;
                } else if constexpr (std::is_same_v<T, std::string>) {
                    bytes = withFieldAt(zeros(kEmptyRecordSize), field.offset,
                                        KvsWriter().rawText("x" + hiragana).bytes());
                    *value = "xあ";
                } else {
                    *value = textListOf({"C0001", "C0002"}, 0);
                    bytes = withFieldAt(zeros(kEmptyRecordSize), field.offset,
                                        KvsWriter().textList(*value).bytes());
                }
            },
            field.ref(expected));
        EXPECT_EQ(readBattleRecord(bytes), expected);
    }
}

TEST(RecordReaderTest, MonsterSlotTakesItsTextsAndThreeNumbers) {
    // Slot 0 with texts of 3 and 2 bytes takes 2 + 3 + 6 + 2 + 2 bytes, so slot 1's
    // level lies 4 bytes after that.
    std::string slot0 =
        KvsWriter().rawText("abc").number(1).number(5).number(7).rawText("de").bytes();
    ASSERT_EQ(slot0.size(), 15u);
    std::string bytes = zeros(26) + slot0 + KvsWriter().number(0).number(0).number(9).bytes() +
                        zeros(kEmptyRecordSize - 26 - 6);
    BattleRecord record = readBattleRecord(bytes);
    const MonsterRecord& first = record.Server.Monsters[0];
    EXPECT_EQ(first.Card, "abc");
    EXPECT_TRUE(first.StateFlag);
    EXPECT_EQ(first.Level, 5);
    EXPECT_EQ(first.HitPoints, 7);
    EXPECT_EQ(first.Status, "de");
    EXPECT_EQ(record.Server.Monsters[1].Level, 9);
    EXPECT_EQ(record.Client, SideRecord{});
}

// A record whose first list (Server.Master.Deck.Cards) is stored as `list`.
std::string recordWithList(std::string_view list) {
    return withFieldAt(zeros(kEmptyRecordSize), 8, list);
}

TEST(RecordReaderTest, ListsKeepTheirBounds) {
    struct Case {
        const char* name;
        std::uint32_t count;
        std::int32_t lowerBound;
        std::int64_t upperBound;
        std::int64_t firstIndex;
    };
    const Case cases[] = {
        {"zero-based", 3, 0, 2, 0},
        {"one-based", 2, 1, 2, 1},
        {"negative", 2, -1, 0, -1},
        {"empty", 0, 0, -1, 0},
        {"highest", 1, std::numeric_limits<std::int32_t>::max(),
         std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::max()},
        {"lowest", 1, std::numeric_limits<std::int32_t>::min(),
         std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::min()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> items;
        for (std::uint32_t k = 0; k < c.count; ++k) items.push_back("C000" + std::to_string(k));
        TextList stored = textListOf(items, c.lowerBound);
        TextList list = readBattleRecord(recordWithList(KvsWriter().textList(stored).bytes()))
                            .Server.Master.Deck.Cards;
        EXPECT_TRUE(list.present);
        EXPECT_EQ(list.count, c.count);
        EXPECT_EQ(list.lowerBound, c.lowerBound);
        EXPECT_EQ(list.upperBound(), c.upperBound);
        EXPECT_EQ(list.items.toVector(), items);
        if (c.count > 0) {
            ASSERT_TRUE(list.at(c.firstIndex));
            EXPECT_EQ(*list.at(c.firstIndex), "C0000");
        }
        EXPECT_FALSE(list.at(c.firstIndex - 1));
        EXPECT_FALSE(list.at(c.upperBound + 1));
    }
}

TEST(RecordReaderTest, ListsOfSeveralDimensionsKeepTheFirstDimensionsBounds) {
    std::vector<std::string> items = {"a", "b", "c", "d", "e", "f"};
    TextList list =
        readBattleRecord(recordWithList(KvsWriter().multiDimList({{2, 1}, {3, 0}}, items).bytes()))
            .Server.Master.Deck.Cards;
    EXPECT_TRUE(list.present);
    EXPECT_EQ(list.count, 2u);
    EXPECT_EQ(list.lowerBound, 1);
    EXPECT_EQ(list.items.toVector(), items);
    ASSERT_TRUE(list.at(2));
    EXPECT_EQ(*list.at(2), "b");

    // A zero count anywhere leaves no elements, however large the others.
    TextList hollow =
        readBattleRecord(
            recordWithList(
                KvsWriter().multiDimList({{0x80000000u, 0}, {0x80000000u, 0}, {0, 0}}, {}).bytes()))
            .Server.Master.Deck.Cards;
    EXPECT_TRUE(hollow.present);
    EXPECT_EQ(hollow.count, 0x80000000u);
    EXPECT_TRUE(hollow.items.empty());
    EXPECT_FALSE(hollow.at(0));
}

TEST(RecordReaderTest, DamagedListBoundsFail) {
    const auto maxInt = std::numeric_limits<std::int32_t>::max();
    const auto minInt = std::numeric_limits<std::int32_t>::min();
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"negative dimension count", recordWithList(KvsWriter().number(-1).bytes())},
        {"upper bound past the largest",
         recordWithList(
             KvsWriter().number(1).uint32(2).int32(maxInt).rawText("a").rawText("b").bytes())},
        {"upper bound below the lowest",
         recordWithList(KvsWriter().number(1).uint32(0).int32(minInt).bytes())},
        {"second dimension past the largest",
         recordWithList(KvsWriter().multiDimList({{1, 0}, {2, maxInt}}, {"a", "b"}).bytes())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(readFails(c.bytes));
    }
}

TEST(RecordReaderTest, ListOrTextNeedingMoreBytesThanLeftIsWhereTheFileEnds) {
    // Each stands where the first list is, with the Server's name before it; from
    // there on everything reads as empty, without allocating for the claimed size.
    const std::string name = KvsWriter().rawText("name").bytes();
    struct Case {
        const char* name;
        std::string field;
    };
    const Case cases[] = {
        {"count of two billion", KvsWriter().number(1).uint32(0x7FFFFFFFu).int32(0).bytes()},
        {"more elements than bytes left", KvsWriter().number(1).uint32(70).int32(0).bytes()},
        {"product of counts overflowing",
         KvsWriter().multiDimList({{0x10000u, 0}, {0x10000u, 0}, {0x10000u, 0}}, {}).bytes()},
        {"dimension bounds past the end", KvsWriter().number(30000).bytes()},
        {"bounds past 32 bits, elements cut short",
         KvsWriter().number(1).uint32(2).int32(0x7FFFFFFF).rawText("a").bytes() + "\x40"},
        {"element longer than the file",
         KvsWriter().number(1).uint32(1).int32(0).rawText("").bytes().substr(0, 10) + "\xFF\xFF"},
    };
    BattleRecord named;
    named.Server.Master.Name = "name";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = name + zeros(6) + c.field + std::string(140, '\x01');
        EXPECT_EQ(readBattleRecord(bytes), named);
    }
    EXPECT_EQ(readBattleRecord("\xFF\xFF" + std::string(140, '\x01')), BattleRecord{});
    // 138 bytes follow the bounds: just enough for 69 empty elements.
    EXPECT_EQ(readBattleRecord(recordWithList(KvsWriter().number(1).uint32(69).int32(0).bytes()))
                  .Server.Master.Deck.Cards.items.size(),
              69u);
}

BattleRecord fullRecord() {
    BattleRecord r;
    for (SideRecord* side : {&r.Server, &r.Client}) {
        side->Master.Name = "マスター";
        side->Master.Deck = {"デッキ", "作者", 3, textListOf({"C0001", "C0002"}), "M01"};
        side->Master.DrawPile = textListOf({"C0003", "", "C0004"}, 1);
        side->Master.Hand = textListOf({"C0005"});
        side->Master.DiscardPile = textListOf({});
        side->Master.HitPoints = 25;
        side->Master.Stones = -2;
        side->Master.FirstPlayer = side == &r.Server;
        side->Master.Status = "S01/S02";
        side->Monsters[1] = {"C0010/3", true, 2, 14, "S03"};
    }
    r.TurnCount = 7;
    r.AuxText = "log";
    r.InfoText = "SecurityLevel:2\r\nnowplay:s\r\n";
    r.AuxTexts = {"1", "", "3", "", "5"};
    return r;
}

TEST(RecordReaderTest, WrittenRecordReadsBackAndIgnoresBytesAfterIt) {
    BattleRecord record = fullRecord();
    std::string bytes = encodeBattleRecord(record);
    EXPECT_EQ(readBattleRecord(bytes), record);
    EXPECT_EQ(readBattleRecord(bytes + "trailing \xFF\xFF bytes"), record);
}

TEST(RecordReaderTest, CutAnywhereEmptiesTheFieldItFallsInAndAllAfter) {
    KvsWriter writer;
    writer.record(fullRecord());
    const std::string& bytes = writer.bytes();
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        std::size_t fieldStart = 0;
        for (const kvs::Span& field : writer.fields()) {
            if (field.begin <= cut) fieldStart = field.begin;
        }
        // Zeros read as empty texts, absent lists and zero numbers.
        BattleRecord expected = readBattleRecord(bytes.substr(0, fieldStart) + zeros(bytes.size()));
        const std::string start = bytes.substr(0, cut);
        EXPECT_EQ(readBattleRecord(start), expected);
        // The same over a record that held every field: nothing of it stays.
        BattleRecord held = fullRecord();
        MemorySource source(start);
        readBattleRecord(source, held);
        EXPECT_EQ(held, expected);
    }
}

}  // namespace
}  // namespace mirudana
