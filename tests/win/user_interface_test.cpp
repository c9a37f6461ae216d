// The window's message boxes and clipboard: the real boxes, answered in-process.
#include "win/user_interface.h"

#include <gtest/gtest.h>

#include "app/error_reporter.h"
#include "win/modal_answer.h"
#include "win/wide_text.h"

using mirudana::testing::ModalAnswer;

namespace {

struct SeenBox {
    std::string caption;
    std::string text;
    int defaultButton = 0;
    bool hasYes = false;
    bool hasNo = false;
};

// Notes what the box shows, then answers it with `reply`: a button, or 0 for Enter.
ModalAnswer answerBox(SeenBox& seen, int reply) {
    return ModalAnswer([&seen, reply](HWND box) {
        seen.caption = mirudana::win::windowText(box);
        seen.text = mirudana::win::windowText(GetDlgItem(box, 0xFFFF));
        for (int button : {IDOK, IDYES, IDNO}) {
            HWND control = GetDlgItem(box, button);
            const auto style = GetWindowLongPtrW(control, GWL_STYLE);
            if (control != nullptr && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                seen.defaultButton = button;
            }
        }
        seen.hasYes = GetDlgItem(box, IDYES) != nullptr;
        seen.hasNo = GetDlgItem(box, IDNO) != nullptr;
        if (reply == 0) {
            PostMessageW(box, WM_KEYDOWN, VK_RETURN, 1);
        } else {
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(reply, BN_CLICKED), 0);
        }
    });
}

std::string clipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "(clipboard busy)";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = mirudana::win::narrow(static_cast<const wchar_t*>(GlobalLock(data)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

TEST(WinUserInterfaceTest, ErrorReporterAsksWithNoAsDefaultAndCopiesOnYes) {
    mirudana::win::WinUserInterface ui;
    const std::string location = "CardList.LoadCardlist";
    ui.copyToClipboard("before");
    for (int reply : {0, IDYES}) {
        SCOPED_TRACE(reply);
        SeenBox seen;
        {
            ModalAnswer answer = answerBox(seen, reply);
            mirudana::ReportError(ui, 53, location);
            EXPECT_TRUE(answer.answered());
        }
        EXPECT_EQ(seen.caption, "エラー");
        EXPECT_EQ(seen.text, mirudana::errorMessageText(53, location));
        EXPECT_EQ(seen.defaultButton, IDNO);
        EXPECT_TRUE(seen.hasYes && seen.hasNo);
        // Enter answers No and leaves the clipboard alone; Yes puts the details on it.
        EXPECT_EQ(clipboardText(),
                  reply == IDYES ? mirudana::errorDetailText(53, location) : "before");
    }
}

TEST(WinUserInterfaceTest, WarningHasTheToolsTitleAndOneButton) {
    mirudana::win::WinUserInterface ui;
    SeenBox seen;
    {
        ModalAnswer answer = answerBox(seen, 0);
        ui.showWarning("エンジンが見つかりません。");
        EXPECT_TRUE(answer.answered());
    }
    EXPECT_EQ(seen.caption, "ミルダナ");
    EXPECT_EQ(seen.text, "エンジンが見つかりません。");
    EXPECT_FALSE(seen.hasYes || seen.hasNo);
}

}  // namespace
