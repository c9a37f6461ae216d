// The Win32 window's controls, its list and its browse buttons, driven with window
// messages, with dialogs and message boxes answered by test doubles.
#include <shlobj.h>

#include <cstring>
#include <tuple>

#include "app/error_reporter.h"
#include "platform/failure.h"
#include "platform/paths.h"
#include "win/window_fixture.h"

using mirudana::Control;

namespace {

class FrmPrintOutTest : public mirudana::testing::WindowTest {
  protected:
    RECT placeOf(Control which) const { return placeOf(control(which)); }
    RECT placeOf(HWND child) const {
        RECT place;
        GetWindowRect(child, &place);
        MapWindowPoints(HWND_DESKTOP, window.handle(), reinterpret_cast<POINT*>(&place), 2);
        return place;
    }

    std::string kindOf(Control which) const {
        wchar_t name[32] = {};
        GetClassNameW(control(which), name, 32);
        const auto style = GetWindowLongPtrW(control(which), GWL_STYLE);
        if (std::wstring_view(name) == L"Button" && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
            return "CheckBox";
        }
        return mirudana::win::narrow(name);
    }

    LONG fontHeight(Control which) const {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control(which), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        return font.lfHeight;
    }

    // What the system would say when the window lands on a monitor of `dpi`.
    void moveToDpi(UINT dpi) {
        RECT suggested{0, 0, 312, 271};
        AdjustWindowRectExForDpi(&suggested, WS_OVERLAPPEDWINDOW, FALSE, 0, dpi);
        SendMessageW(window.handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }

    // Keyboard input as the message loop hands it to the window.
    bool key(UINT message, WPARAM code) {
        MSG keyMessage{GetFocus(), message, code, message == WM_SYSCHAR ? 0x20000001 : 1, 0, {}};
        const bool used = window.navigate(keyMessage);
        if (!used) DispatchMessageW(&keyMessage);
        return used;
    }

    std::string focused() const {
        for (std::size_t i = 0; i < mirudana::kWindowControls.size(); ++i) {
            if (GetFocus() == control(static_cast<Control>(i))) {
                return mirudana::kWindowControls[i].name;
            }
        }
        return "(elsewhere)";
    }
};

TEST_F(FrmPrintOutTest, ControlsStandWhereTheyBelongAtEachDpi) {
    struct Row {
        Control control;
        const char* kind;
        const char* caption;
        RECT at96;  // left, top, width, height
    };
    const Row rows[] = {
        {Control::Label1, "Static", "戦況ファイル(&S)：", {8, 8, 104, 17}},
        {Control::lstKVS, "ListBox", "", {16, 24, 289, 76}},
        {Control::Label2, "Static", "処理エンジン(&E)：", {8, 104, 113, 17}},
        {Control::txtEngine, "Edit", nullptr, {16, 120, 273, 18}},
        {Control::cmdOpenEngine, "Button", "", {296, 120, 9, 17}},
        {Control::lblEngine, "Static", "出力先(&O)：", {8, 144, 81, 17}},
        {Control::txtOutputTo, "Edit", nullptr, {16, 160, 273, 18}},
        {Control::cmdOpenOutput, "Button", "", {296, 160, 9, 17}},
        {Control::cmdOpenInput, "Button", "", {112, 8, 17, 12}},
        {Control::cmdStart, "Button", "処理開始(&T)", {200, 184, 105, 25}},
        {Control::Label3,
         "Static",
         "powered by Technology Termial Script for Application.",
         {8, 216, 304, 17}},
        {Control::lblTTSVer, "Static", "TTScript.dll Version1.00.0000", {120, 232, 185, 17}},
        {Control::chkFileSort, "CheckBox", "処理前にファイルをソート(&R)", {8, 188, 186, 17}},
        {Control::cmdFClear, "Button", "x", {136, 8, 17, 12}},
    };
    LONG fontAt96 = 0;
    for (UINT dpi : {96u, 192u}) {
        if (dpi != 96) moveToDpi(dpi);
        SCOPED_TRACE(dpi);
        const int scale = static_cast<int>(dpi / 96);
        RECT client;
        GetClientRect(window.handle(), &client);
        EXPECT_EQ(client.right, 312 * scale);
        EXPECT_EQ(client.bottom, 289 * scale);
        for (const Row& row : rows) {
            SCOPED_TRACE(windowControl(row.control).name);
            EXPECT_EQ(kindOf(row.control), row.kind);
            if (row.caption != nullptr) {
                EXPECT_EQ(text(row.control), row.caption);
            }
            const RECT place = placeOf(row.control);
            EXPECT_EQ(place.left, row.at96.left * scale);
            EXPECT_EQ(place.top, row.at96.top * scale);
            EXPECT_EQ(place.right - place.left, row.at96.right * scale);
            EXPECT_EQ(place.bottom - place.top, row.at96.bottom * scale);
        }
        // The status line, its button and the warnings line, under the classic layout.
        const std::tuple<HWND, const char*, RECT> extras[] = {
            {window.statusLine(), "", {8, 251, 248, 17}},
            {window.openReportButton(), "開く", {260, 250, 45, 18}},
            {window.warningsLine(), "", {8, 269, 297, 17}}};
        for (const auto& [extra, caption, at96] : extras) {
            SCOPED_TRACE(caption);
            EXPECT_EQ(mirudana::win::windowText(extra), caption);
            const RECT place = placeOf(extra);
            EXPECT_EQ(place.left, at96.left * scale);
            EXPECT_EQ(place.top, at96.top * scale);
            EXPECT_EQ(place.right - place.left, at96.right * scale);
            EXPECT_EQ(place.bottom - place.top, at96.bottom * scale);
        }
        // The system's message font at that DPI, on every control.
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        ASSERT_TRUE(
            SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi));
        for (std::size_t i = 0; i < mirudana::kWindowControls.size(); ++i) {
            EXPECT_EQ(fontHeight(static_cast<Control>(i)), metrics.lfMessageFont.lfHeight);
        }
        if (dpi == 96) fontAt96 = metrics.lfMessageFont.lfHeight;
    }
    EXPECT_NEAR(fontHeight(Control::cmdStart), 2 * fontAt96, 1);
}

TEST_F(FrmPrintOutTest, WindowOpensReady) {
    EXPECT_EQ(mirudana::win::windowText(window.handle()), "ミルダナ");
    EXPECT_EQ(SendMessageW(control(Control::chkFileSort), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(entries().empty());
    const std::string folder = mirudana::AddDirSep(dir.path());
    EXPECT_EQ(text(Control::txtEngine), folder + "engine.tts");
    EXPECT_EQ(text(Control::txtOutputTo), folder + "出力データ.html");
    EXPECT_EQ(GetFocus(), control(Control::lstKVS));
    EXPECT_FALSE(shown(window.openReportButton()));
}

TEST_F(FrmPrintOutTest, TabAndAccessKeysMoveAsLaidOut) {
    ShowWindow(window.handle(), SW_SHOW);
    SetFocus(control(Control::lstKVS));
    for (const char* next : {"txtEngine", "cmdOpenEngine", "txtOutputTo", "cmdOpenOutput",
                             "cmdOpenInput", "cmdStart", "chkFileSort", "cmdFClear", "lstKVS"}) {
        EXPECT_TRUE(key(WM_KEYDOWN, VK_TAB));
        EXPECT_EQ(focused(), next);
    }
    const std::pair<wchar_t, const char*> buddies[] = {
        {L'e', "txtEngine"}, {L'o', "txtOutputTo"}, {L's', "lstKVS"}};
    for (const auto& [letter, buddy] : buddies) {
        EXPECT_TRUE(key(WM_SYSCHAR, letter));
        EXPECT_EQ(focused(), buddy);
    }
    key(WM_SYSCHAR, L'r');
    EXPECT_EQ(SendMessageW(control(Control::chkFileSort), BM_GETCHECK, 0, 0), BST_CHECKED);
    key(WM_SYSCHAR, L't');  // starts a run: the folder holds no script
    ASSERT_EQ(ui.warnings.size(), 1u);
    EXPECT_TRUE(ui.warnings[0].starts_with("エンジンが見つかりません。\r\n"));
}

TEST_F(FrmPrintOutTest, AddingByDialog) {
    struct Row {
        const char* name;
        std::optional<std::string> answer;  // empty: the user cancels
        std::vector<std::string> added;
    };
    const Row rows[] = {
        {"one file", "C:\\b\\a.kvs", {"C:\\b\\a.kvs"}},
        {"several", std::string("C:\\b\0a.kvs\0c.kvs", 16), {"C:\\b\\a.kvs", "C:\\b\\c.kvs"}},
        {"a root folder", std::string("C:\\\0a.kvs\0b.kvs", 15), {"C:\\a.kvs", "C:\\b.kvs"}},
        {"cancel", std::nullopt, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SendMessageW(control(Control::lstKVS), LB_RESETCONTENT, 0, 0);
        list("C:\\b\\a.kvs");
        dialogs.requests.clear();
        if (row.answer) {
            dialogs.answer(*row.answer);
        } else {
            dialogs.cancel();
        }
        click(Control::cmdOpenInput);
        std::vector<std::string> expected{"C:\\b\\a.kvs"};  // listed again, it stays twice
        expected.insert(expected.end(), row.added.begin(), row.added.end());
        EXPECT_EQ(entries(), expected);
        ASSERT_EQ(dialogs.requests.size(), 1u);
        EXPECT_EQ(dialogs.requests[0].kind, "open");
        EXPECT_EQ(dialogs.requests[0].title, "戦況を読み込む");
        EXPECT_EQ(dialogs.requests[0].filter, "ゾルベックOnline バトル情報(*.kvs)|*.kvs");
        EXPECT_TRUE(dialogs.requests[0].several);
    }
    EXPECT_TRUE(ui.questions.empty() && ui.warnings.empty());

    dialogs.fail(mirudana::failure::kBadFileName);
    click(Control::cmdOpenInput);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].message,
              mirudana::errorMessageText(52, "frmPrintout.cmdOpenInput_Click"));
    EXPECT_EQ(ui.questions[0].caption, "エラー");
}

TEST_F(FrmPrintOutTest, Browsing) {
    struct Row {
        Control button;
        const char* kind;
        const char* title;
        const char* filter;
        Control box;
    };
    const Row rows[] = {
        {Control::cmdOpenEngine, "open", "出力エンジンを読み込む",
         "Technology Terminal Script neo(*.tts)|*.tts", Control::txtEngine},
        {Control::cmdOpenOutput, "save", "保存先の指定",
         "HTMLファイル(*.htm;*.html)|*.htm;*.html|テキストファイル(*.txt)|*.txt|"
         "すべてのファイル(*.*)|*.*",
         Control::txtOutputTo},
    };
    for (const Row& row : rows) {
        const std::string name = windowControl(row.button).name;
        SCOPED_TRACE(name);
        dialogs.requests.clear();
        ui.questions.clear();
        const std::string before = text(row.box);

        dialogs.cancel();
        click(row.button);
        EXPECT_EQ(text(row.box), before);
        EXPECT_TRUE(ui.questions.empty());

        dialogs.fail(mirudana::failure::kBadFileName);
        click(row.button);
        EXPECT_EQ(text(row.box), before);
        ASSERT_EQ(ui.questions.size(), 1u);
        EXPECT_EQ(ui.questions[0].message,
                  mirudana::errorMessageText(52, "frmPrintout." + name + "_Click"));

        dialogs.answer("C:\\選んだ\\名前");
        click(row.button);
        EXPECT_EQ(text(row.box), "C:\\選んだ\\名前");

        for (const auto& request : dialogs.requests) {
            EXPECT_EQ(request.kind, row.kind);
            EXPECT_EQ(request.title, row.title);
            EXPECT_EQ(request.filter, row.filter);
            EXPECT_FALSE(request.several);
        }
    }
}

TEST_F(FrmPrintOutTest, DroppedFilesJoinTheListInTheirOrder) {
    const std::wstring paths[] = {L"C:\\x\\b.kvs", L"C:\\x\\戦況.kvs", L"C:\\x\\folder"};
    std::wstring files;
    for (const std::wstring& path : paths) files += path + L'\0';
    files += L'\0';
    // The shell's file-drop data: the header, then the paths.
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + files.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(header + 1, files.data(), files.size() * sizeof(wchar_t));
    GlobalUnlock(drop);

    list("C:\\x\\a.kvs");
    SendMessageW(control(Control::lstKVS), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(entries(), (std::vector<std::string>{"C:\\x\\a.kvs", "C:\\x\\b.kvs",
                                                   "C:\\x\\戦況.kvs", "C:\\x\\folder"}));
    EXPECT_NE(GetWindowLongPtrW(control(Control::lstKVS), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
}

TEST_F(FrmPrintOutTest, ClearingEmptiesTheList) {
    click(Control::cmdFClear);
    EXPECT_TRUE(entries().empty());
    list("C:\\a.kvs");
    list("C:\\b.kvs");
    click(Control::cmdFClear);
    EXPECT_TRUE(entries().empty());
    EXPECT_TRUE(ui.warnings.empty() && ui.questions.empty());
}

}  // namespace
