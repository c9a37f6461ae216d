// The system's common dialogs behind the file-dialog seam: the filter and answer
// forms, and the real dialogs' titles, filters and cancel.
#include "win/file_dialogs.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "win/modal_answer.h"
#include "win/wide_text.h"

using mirudana::testing::ModalAnswer;
using mirudana::win::commonDialogAnswer;

namespace {

TEST(WinFileDialogsTest, FilterTakesTheSystemsForm) {
    EXPECT_EQ(mirudana::win::systemFilter("テキスト(*.txt)|*.txt|すべて(*.*)|*.*"),
              std::wstring(L"テキスト(*.txt)\0*.txt\0すべて(*.*)\0*.*\0\0", 32));
}

TEST(WinFileDialogsTest, AnswerTakesTheCommonDialogsForm) {
    struct Row {
        std::wstring buffer;
        std::string answer;
    };
    const Row rows[] = {
        {std::wstring(L"C:\\戦況\\a.kvs\0\0", 14), "C:\\戦況\\a.kvs"},
        {std::wstring(L"C:\\b\0a.kvs\0c.kvs\0\0", 18), std::string("C:\\b\0a.kvs\0c.kvs", 16)},
        {std::wstring(L"\0\0", 2), ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.answer);
        EXPECT_EQ(commonDialogAnswer(row.buffer), row.answer);
    }
}

struct SeenDialog {
    std::string title;
    std::vector<std::string> filters;
};

// Notes the dialog's title and filter list, then answers with the file name
// `choose`, or cancels when it is empty.
ModalAnswer answerDialog(SeenDialog& seen, std::wstring choose) {
    return ModalAnswer([&seen, choose](HWND dialog) {
        seen.title = mirudana::win::windowText(dialog);
        HWND filters = GetDlgItem(dialog, cmb1);
        const auto count = static_cast<int>(SendMessageW(filters, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t item[256] = {};
            SendMessageW(filters, CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(item));
            seen.filters.push_back(mirudana::win::narrow(item));
        }
        if (choose.empty()) {
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        HWND name = GetDlgItem(dialog, cmb13);
        if (name == nullptr) name = GetDlgItem(dialog, edt1);
        SetWindowTextW(name, choose.c_str());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
}

TEST(WinFileDialogsTest, RealDialogsShowTheirTitlesAndFilters) {
    mirudana::win::WinFileDialogs dialogs;
    SeenDialog seen;
    {
        ModalAnswer answer = answerDialog(seen, L"");
        EXPECT_EQ(dialogs.openFiles("出力エンジンを読み込む", "スクリプト(*.tts)|*.tts", false),
                  std::nullopt);
        EXPECT_TRUE(answer.answered());
    }
    EXPECT_EQ(seen.title, "出力エンジンを読み込む");
    EXPECT_EQ(seen.filters, std::vector<std::string>{"スクリプト(*.tts)"});

    mirudana::testing::TempDir dir;
    const std::string chosen = dir.write("戦況.kvs", "x");
    seen = {};
    {
        ModalAnswer answer = answerDialog(seen, mirudana::win::widen(chosen));
        EXPECT_EQ(dialogs.openFiles("戦況を読み込む", "戦況(*.kvs)|*.kvs", true), chosen);
    }
    EXPECT_EQ(seen.title, "戦況を読み込む");

    seen = {};
    {
        ModalAnswer answer = answerDialog(seen, L"");
        EXPECT_EQ(dialogs.saveFile("保存先の指定", "HTML(*.htm)|*.htm|すべて(*.*)|*.*"),
                  std::nullopt);
    }
    EXPECT_EQ(seen.title, "保存先の指定");
    EXPECT_EQ(seen.filters, (std::vector<std::string>{"HTML(*.htm)", "すべて(*.*)"}));
}

}  // namespace
