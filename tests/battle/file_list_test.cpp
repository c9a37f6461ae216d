#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

#include "app/error_reporter.h"
#include "battle/dialog_result.h"
#include "battle/file_title.h"
#include "battle/list_sort.h"
#include "platform/failure.h"
#include "platform/paths.h"
#include "support/fake_user_interface.h"
#include "support/file_list_entries.h"

namespace mirudana {
namespace {

using Entries = std::vector<std::string>;
using namespace std::string_literals;

const std::string kSep(1, kDirSep);

TEST(DialogResultTest, ResultForms) {
    struct Case {
        const char* name;
        std::string result;
        Entries entries;
    };
    const Case cases[] = {
        {"one file",
         "C:" + kSep + "battles" + kSep + "a.kvs",
         {"C:" + kSep + "battles" + kSep + "a.kvs"}},
        {"folder and names",
         "C:" + kSep + "battles\0a.kvs\0b.kvs"s,
         {"C:" + kSep + "battles" + kSep + "a.kvs", "C:" + kSep + "battles" + kSep + "b.kvs"}},
        {"folder ending in a separator",
         "C:" + kSep + "\0b.kvs\0a.kvs"s,
         {"C:" + kSep + "b.kvs", "C:" + kSep + "a.kvs"}},
        {"empty names kept",
         "dir\0\0x.kvs\0"s,
         {"dir" + kSep, "dir" + kSep + "x.kvs", "dir" + kSep}},
        {"empty result", "", {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(dialogResultEntries(c.result), c.entries);
    }
}

TEST(DialogResultTest, AppendsAfterExistingEntriesKeepingDuplicates) {
    VectorFileList list({"first.kvs"});
    appendDialogResult(list, "d\0a.kvs\0b.kvs"s);
    appendDialogResult(list, "d" + kSep + "a.kvs");
    EXPECT_EQ(testing::entriesOf(list), (Entries{"first.kvs", "d" + kSep + "a.kvs",
                                                 "d" + kSep + "b.kvs", "d" + kSep + "a.kvs"}));
}

TEST(FileTitleTest, TitleIsTheNameAfterTheLastSeparator) {
    struct Case {
        std::string path;
        std::string title;
    };
    const Case cases[] = {
        {"C:\\battles\\a.kvs", "a.kvs"},
        {"/home/u/b.kvs", "b.kvs"},
        {"C:a.kvs", "a.kvs"},
        {"a.kvs", "a.kvs"},
        {"", ""},
        {"C:\\dir\\", "dir\\"},  // a separator with nothing after it does not count
        {"a\\\\b", "b"},
        {"x:/", "x:/"},
        // 0x5C, "\", is the second byte of these double-byte characters.
        {"C:\\表\\ソ.kvs", "ソ.kvs"},
        {"C:\\dir\\表", "表"},
        {"C:\\😀.kvs", "?.kvs"},
        {"C:\\" + std::string(300, 'a'), std::string(261, 'a')},
        {std::string(259, 'a') + "あ", std::string(259, 'a') + "あ"},
        // A double-byte character split by the 261-byte cut is left out whole.
        {std::string(260, 'a') + "あ", std::string(260, 'a')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(Path2FileTitle(c.path), c.title);
    }
}

// A list that counts rewritten lines and can fail on a chosen rewrite.
class RecordingList : public VectorFileList {
  public:
    using VectorFileList::VectorFileList;

    void replaceAt(int index, const std::string& entry) override {
        if (++rewrites == failOnRewrite) throw Failure(failure::kInvalidCall);
        VectorFileList::replaceAt(index, entry);
    }

    int rewrites = 0;
    int failOnRewrite = 0;
};

TEST(ListSortTest, SortsByFileTitle) {
    struct Case {
        const char* name;
        Entries entries;
        Entries sorted;
        int rewrites;
    };
    const Case cases[] = {
        {"one entry", {"C:\\a.kvs"}, {"C:\\a.kvs"}, 0},
        {"already ascending", {"a.kvs", "b.kvs", "c.kvs"}, {"a.kvs", "b.kvs", "c.kvs"}, 0},
        {"only the title counts",
         {"C:\\z\\a.kvs", "C:\\a\\b.kvs"},
         {"C:\\z\\a.kvs", "C:\\a\\b.kvs"},
         0},
        {"upper case first", {"a.kvs", "B.kvs"}, {"B.kvs", "a.kvs"}, 2},
        {"no numeric order", {"9.kvs", "10.kvs"}, {"10.kvs", "9.kvs"}, 2},
        {"equal titles end reversed",
         {"X\\b.kvs", "Y\\b.kvs", "Z\\a.kvs"},
         {"Z\\a.kvs", "Y\\b.kvs", "X\\b.kvs"},
         2},
        {"equal titles end together",
         {"d\\a.kvs", "b.kvs", "d\\a.kvs"},
         {"d\\a.kvs", "d\\a.kvs", "b.kvs"},
         2},
        {"shorter first", {"ab.kvs", "a"}, {"a", "ab.kvs"}, 2},
        // U+FF71 is above U+3042 only when code units compare unsigned.
        {"unsigned code units", {"ｱ.kvs", "あ.kvs"}, {"あ.kvs", "ｱ.kvs"}, 2},
        {"empty list", {}, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingList list(c.entries);
        testing::FakeUserInterface ui;
        ListSort(list, ui);
        EXPECT_EQ(testing::entriesOf(list), c.sorted);
        EXPECT_EQ(list.rewrites, c.rewrites);
        EXPECT_TRUE(ui.questions.empty());
    }
}

// Lists of few titles, so that many are equal, against the exchange sort itself.
TEST(ListSortTest, EqualTitlesEndAsTheExchangeSortLeavesThem) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        Entries entries;
        for (int k = static_cast<int>(random() % 40); k > 0; --k) {
            entries.push_back(std::to_string(k) + "\\" + char('a' + random() % 5) + ".kvs");
        }
        Entries expected = entries;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            for (std::size_t j = i + 1; j < expected.size(); ++j) {
                if (expected[i].substr(expected[i].find('\\')) >
                    expected[j].substr(expected[j].find('\\'))) {
                    std::swap(expected[i], expected[j]);
                }
            }
        }
        VectorFileList list(entries);
        testing::FakeUserInterface ui;
        ListSort(list, ui);
        ASSERT_EQ(testing::entriesOf(list), expected) << "round " << round;
    }
}

TEST(ListSortTest, FailureIsReportedAndEarlierExchangesStay) {
    RecordingList list(Entries{"c.kvs", "a.kvs", "b.kvs"});
    list.failOnRewrite = 3;  // the first line of the second exchange
    testing::FakeUserInterface ui;
    ListSort(list, ui);
    EXPECT_EQ(testing::entriesOf(list), (Entries{"a.kvs", "c.kvs", "b.kvs"}));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].message,
              errorMessageText(failure::kInvalidCall, "frmPrintout.ListSort"));
    EXPECT_EQ(ui.questions[0].caption, "エラー");
}

}  // namespace
}  // namespace mirudana
