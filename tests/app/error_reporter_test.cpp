#include "app/error_reporter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <new>
#include <stdexcept>
#include <string>

#include "platform/failure.h"
#include "support/fake_user_interface.h"

namespace mirudana {
namespace {

using testing::FakeUserInterface;
using testing::ToolEnded;

const std::string kDetail53 =
    "・エラー番号：53\r\n・エラー内容：ファイルが見つかりません。\r\n"
    "・発生箇所：CardList.LoadCardlist";

TEST(ErrorReporterTest, BuildsTheDetailAndMessageTexts) {
    EXPECT_EQ(errorDetailText(53, "CardList.LoadCardlist"), kDetail53);
    EXPECT_EQ(errorMessageText(53, "CardList.LoadCardlist"),
              "以下のエラーが発生しました。\r\n" + kDetail53 +
                  "\r\nこのエラーが同じ所で何度も起こる場合は作者に連絡してください。"
                  "エラーの内容をクリップボードにコピーしますか？");
    EXPECT_EQ(errorDetailText(-5, "frmPrintout.ListSort"),
              "・エラー番号：-5\r\n"
              "・エラー内容：アプリケーション定義またはオブジェクト定義のエラーです。\r\n"
              "・発生箇所：frmPrintout.ListSort");
}

TEST(ErrorReporterTest, AnswerNoLeavesTheClipboardAndReturns) {
    FakeUserInterface ui;
    ui.clipboard = "before";
    ui.answers = {false};
    ReportError(ui, 53, "CardList.LoadCardlist");
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].message, errorMessageText(53, "CardList.LoadCardlist"));
    EXPECT_EQ(ui.questions[0].caption, "エラー");
    EXPECT_EQ(ui.clipboard, "before");
    EXPECT_FALSE(ui.ended);
}

TEST(ErrorReporterTest, EnterAnswersNo) {
    FakeUserInterface ui;  // no queued answer: the default button
    ReportError(ui, 53, "CardList.LoadCardlist");
    EXPECT_EQ(ui.clipboard, "");
    EXPECT_FALSE(ui.ended);
}

TEST(ErrorReporterTest, AnswerYesCopiesExactlyTheDetailLines) {
    FakeUserInterface ui;
    ui.clipboard = "before";
    ui.answers = {true};
    ReportError(ui, 53, "CardList.LoadCardlist");
    EXPECT_EQ(ui.clipboard, kDetail53);
    EXPECT_FALSE(ui.ended);
}

TEST(ErrorReporterTest, Failure339EndsTheToolWhateverTheAnswer) {
    for (bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        FakeUserInterface ui;
        ui.answers = {yes};
        EXPECT_THROW(ReportError(ui, 339, "CardList.LoadCardlist"), ToolEnded);
        EXPECT_TRUE(ui.ended);
        EXPECT_EQ(ui.questions.size(), 1u);  // the box came first
        EXPECT_EQ(ui.clipboard, yes ? errorDetailText(339, "CardList.LoadCardlist") : "");
    }
}

TEST(ErrorReporterTest, ReportsTheCurrentExceptionWithItsNumber) {
    const struct {
        const char* what;
        void (*raise)();
        const char* number;
    } cases[] = {
        {"a failure keeps its number", [] { throw Failure(failure::kPathNotFound); }, "76"},
        {"an exhausted allocation", [] { throw std::bad_alloc(); }, "7"},
        {"any other exception", [] { throw std::logic_error("bug"); }, "51"},
        {"not an exception at all", [] { throw 1; }, "51"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeUserInterface ui;
        try {
            c.raise();
        } catch (...) {
            reportCurrentException(ui, "BattleOperation.GetCardID");
        }
        ASSERT_EQ(ui.questions.size(), 1u);
        EXPECT_NE(ui.questions[0].message.find(std::string("・エラー番号：") + c.number + "\r\n"),
                  std::string::npos);
    }
}

TEST(FailureTest, DescriptionsAreTheRuntimeTexts) {
    const struct {
        std::int16_t number;
        const char* text;
    } cases[] = {
        {5, "プロシージャの呼び出し、または引数が不正です。"},
        {53, "ファイルが見つかりません。"},
        {57, "デバイス I/O エラーです。"},
        {339,
         "コンポーネントまたはその依存関係の 1 つが正しく登録されていません。"
         "ファイルが見つからないか、無効です。"},
        {32755, "キャンセルが選択されました。"},
        {51, "アプリケーション定義またはオブジェクト定義のエラーです。"},
        {0, "アプリケーション定義またはオブジェクト定義のエラーです。"},
        {-32768, "アプリケーション定義またはオブジェクト定義のエラーです。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(failureDescription(c.number), c.text);
        EXPECT_EQ(Failure(c.number).number(), c.number);
    }
}

TEST(FailureTest, OperatingSystemErrorsMapToNumbersAndTextsForReadingAndWriting) {
    const struct {
        int err;
        std::int16_t reading;
        std::int16_t writing;
        const char* readingText;
        const char* writingText;
    } cases[] = {
        {ENOENT, 53, 76, "ファイルが見つかりません。", "書き込み先のフォルダーが見つかりません。"},
        {EACCES, 70, 70, "読み取りが許可されていません。", "書き込みが許可されていません。"},
        {EISDIR, 75, 75, "フォルダーはファイルとして読めません。",
         "フォルダーには書き込めません。"},
        {ENOSPC, 61, 61, "ディスクの空き容量が不足しています。",
         "ディスクの空き容量が不足しています。"},
        {ENOTDIR, 76, 76, "パスが見つかりません。", "パスが見つかりません。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        EXPECT_EQ(failureFromErrno(c.err, FileAccess::Reading), c.reading);
        EXPECT_EQ(failureFromErrno(c.err, FileAccess::Writing), c.writing);
        EXPECT_EQ(errnoDescription(c.err, FileAccess::Reading), c.readingText);
        EXPECT_EQ(errnoDescription(c.err, FileAccess::Writing), c.writingText);
    }
    // The error box shows a file error's own text with its number.
    FakeUserInterface ui;
    try {
        throwErrno(EACCES, FileAccess::Reading);
    } catch (...) {
        reportCurrentException(ui, "CardList.LoadCardlist");
    }
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_NE(ui.questions[0].message.find(
                  "・エラー番号：70\r\n・エラー内容：読み取りが許可されていません。"),
              std::string::npos);
}

}  // namespace
}  // namespace mirudana
