// The tool's only window on Windows, drawn with the Win32 API: the battle file
// list, the script and output paths, the sort box and the start button. It shows
// and forwards; what the controls are and what the buttons do is decided below it.
#pragma once

#include <windows.h>
// The common controls' and the shell's types; they need windows.h first.
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/file_dialogs.h"
#include "app/user_interface.h"
#include "battle/loaded_battle.h"
#include "refdata/reference_data.h"
#include "report/main_window.h"
#include "win/dpi.h"
#include "win/list_box_file_list.h"

namespace mirudana::win {

// Opens `path` with the desktop's program for its type.
void openWithDesktop(const std::string& path);

class frmPrintOut {
  public:
    // Creates the window, hidden, on the monitor's DPI; show it with ShowWindow.
    frmPrintOut(const ReferenceData& references, UserInterface& ui, FileDialogs& dialogs,
                const std::string& programFolder);
    ~frmPrintOut();
    frmPrintOut(const frmPrintOut&) = delete;
    frmPrintOut& operator=(const frmPrintOut&) = delete;

    HWND handle() const { return window_; }
    HWND control(Control which) const { return controls_[static_cast<std::size_t>(which)]; }
    static int controlId(Control which) { return kFirstControlId + static_cast<int>(which); }
    // The status line under the classic layout, and its button for the report.
    HWND statusLine() const { return statusLine_; }
    HWND openReportButton() const { return openReport_; }
    HWND warningsLine() const { return warningsLine_; }
    UINT dpi() const { return dpi_; }

    // How long a run goes on before its progress dialog appears.
    void setProgressDelay(int milliseconds) { progressDelayMs_ = milliseconds; }

    // What opens a written report; the desktop's program for its type unless told.
    void setReportOpener(std::function<void(const std::string&)> open) {
        reportOpener_ = std::move(open);
    }

    // Keyboard navigation for a message taken from the queue: Tab, the arrow keys
    // and the access keys. True when the message was used up.
    bool navigate(MSG& message);

    // Dispatches messages until the window is closed.
    void runUntilClosed();

  private:
    static constexpr int kFirstControlId = 100;
    static constexpr int kStatusLineId = kFirstControlId + static_cast<int>(kWindowControls.size());
    static constexpr int kOpenReportId = kStatusLineId + 1;
    static constexpr int kWarningsLineId = kStatusLineId + 2;

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void onCreate();
    void onCommand(int id, int code);
    void onDropFiles(HDROP drop);
    void onDpiChanged(UINT dpi, const RECT& suggested);
    void onNextDlgCtl(WPARAM target, bool direct);
    void onActivate(bool active);
    void onClose();
    void onMeasureItem(MEASUREITEMSTRUCT& item) const;
    void onDrawItem(const DRAWITEMSTRUCT& item) const;
    LRESULT onNotify(NMHDR& header);
    LRESULT onCustomDraw(const NMCUSTOMDRAW& draw) const;
    void onLineTip(NMTTDISPINFOW& tip);
    LRESULT onCtlColorStatic(HDC context, HWND control) const;

    void createControls();
    void addTip(HWND control, wchar_t* text);
    int lineAtPointer() const;
    void layOut(POINT position);
    void Form_Load(const std::string& programFolder);
    void setInputsEnabled(bool enabled);
    void createStatusLine();
    void setLabelText(HWND label, const std::string& text);
    void showRunStatus(const std::optional<RunStatus>& status);

    void cmdOpenInput_Click();
    void cmdFClear_Click();
    void cmdOpenEngine_Click();
    void cmdOpenOutput_Click();
    void cmdStart_Click();
    void cmdOpenReport_Click();

    const ReferenceData& references_;
    UserInterface& ui_;
    FileDialogs& dialogs_;
    LoadedBattle battle_;
    bool running_ = false;
    int progressDelayMs_ = kProgressDelayMs;

    HWND window_ = nullptr;
    std::array<HWND, kWindowControls.size()> controls_{};
    HWND tips_ = nullptr;
    HWND statusLine_ = nullptr;
    HWND openReport_ = nullptr;
    HWND warningsLine_ = nullptr;
    HWND lastFocus_ = nullptr;
    int tipLine_ = -1;
    std::wstring tipText_;
    std::string statusText_;
    std::string reportToOpen_;
    std::function<void(const std::string&)> reportOpener_ = openWithDesktop;
    UINT dpi_ = kDesignDpi;
    std::unique_ptr<MessageFont> font_;
    std::unique_ptr<ListBoxFileList> files_;
};

}  // namespace mirudana::win
