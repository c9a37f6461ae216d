// Shared set-up of the Win32 window tests: a window over a fresh program folder, its
// dialogs and message boxes answered by test doubles, and ways to drive its controls
// with window messages and read them back.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "refdata/reference_data.h"
#include "support/fake_user_interface.h"
#include "support/scripted_file_dialogs.h"
#include "support/temp_dir.h"
#include "win/frm_print_out.h"
#include "win/wide_text.h"

namespace mirudana::testing {

class WindowTest : public ::testing::Test {
  protected:
    HWND control(Control which) const { return window.control(which); }
    std::string text(Control which) const { return win::windowText(control(which)); }
    void setText(Control which, const std::string& text) {
        const std::wstring wide = win::widen(text);
        SendMessageW(control(which), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    void click(Control which) { SendMessageW(control(which), BM_CLICK, 0, 0); }
    // Shown within the window, which a test leaves hidden.
    static bool shown(HWND control) {
        return (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
    }
    // Where the status line shortens a text too long for it.
    LONG_PTR statusShortening() const {
        return GetWindowLongPtrW(window.statusLine(), GWL_STYLE) & SS_ELLIPSISMASK;
    }

    void list(const std::string& path) {
        const std::wstring wide = win::widen(path);
        SendMessageW(control(Control::lstKVS), LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(wide.c_str()));
    }

    std::vector<std::string> entries() const {
        std::vector<std::string> lines;
        HWND box = control(Control::lstKVS);
        const auto count = static_cast<int>(SendMessageW(box, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring line(static_cast<std::size_t>(SendMessageW(box, LB_GETTEXTLEN, i, 0)) + 1,
                              L'\0');
            line.resize(static_cast<std::size_t>(
                SendMessageW(box, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()))));
            lines.push_back(win::narrow(line));
        }
        return lines;
    }

    TempDir dir;
    ReferenceData references;
    FakeUserInterface ui;
    ScriptedFileDialogs dialogs;
    win::frmPrintOut window{references, ui, dialogs, dir.path()};
};

}  // namespace mirudana::testing
