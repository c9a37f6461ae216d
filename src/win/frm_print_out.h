// The tool's only window on Windows, drawn with the Win32 API: the battle file
// list, the script and output paths, the sort box and the start button. It shows
// and forwards; what the controls are and what the buttons do is decided below it.
#pragma once

#include <windows.h>
// The common controls' and the shell's types; they need windows.h first.
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "app/file_dialogs.h"
#include "app/user_interface.h"
#include "battle/loaded_battle.h"
#include "refdata/reference_data.h"
#include "report/main_window.h"
#include "report/window_model.h"
#include "win/dpi.h"
#include "win/list_box_file_list.h"

namespace mirudana::win {

class frmPrintOut : public WindowView {
  public:
    // Creates the window, hidden, on the monitor's DPI; show it with ShowWindow.
    // When the system cannot create it, handle() is null.
    frmPrintOut(const ReferenceData& references, UserInterface& ui, FileDialogs& dialogs,
                const std::string& programFolder);
    ~frmPrintOut();
    frmPrintOut(const frmPrintOut&) = delete;
    frmPrintOut& operator=(const frmPrintOut&) = delete;

    HWND handle() const { return window_; }
    HWND control(Control which) const { return controls_[static_cast<std::size_t>(which)]; }
    // The status line under the classic layout, and its button for the report.
    HWND statusLine() const { return statusLine_; }
    HWND openReportButton() const { return openReport_; }
    HWND warningsLine() const { return warningsLine_; }

    // How long a run goes on before its progress dialog appears.
    void setProgressDelay(int milliseconds) { progressDelayMs_ = milliseconds; }
    WindowModel& model() { return *model_; }

    // Keyboard navigation for a message taken from the queue: Tab, the arrow keys
    // and the access keys. True when the message was used up.
    bool navigate(MSG& message);

    // Dispatches messages until the window is closed.
    void runUntilClosed();

    std::string scriptPath() const override;
    std::string outputPath() const override;
    bool sortFirst() const override;
    void setInputsEnabled(bool enabled) override;
    void showRunStatus(const RunStatus& status) override;
    std::unique_ptr<RunObserver> runProgress() override;
    void post(std::function<void()> work) override;
    void openWithDesktop(const std::string& path) override;

  private:
    static constexpr int kFirstControlId = 100;
    static constexpr int kStatusLineId = kFirstControlId + static_cast<int>(kWindowControls.size());
    static constexpr int kOpenReportId = kStatusLineId + 1;
    static constexpr int kWarningsLineId = kStatusLineId + 2;
    // Work posted from the following thread waits in `posted_` for this message.
    static constexpr UINT kPostedWork = WM_APP + 1;

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
    void onPostedWork();
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
    void createStatusLine();
    void setLabelText(HWND label, const std::string& text);
    void setPathText(Control box, const std::string& path);

    void cmdOpenInput_Click();
    void cmdAddFolder_Click();
    void chkFollow_Click();
    void cmdFClear_Click();
    void cmdOpenEngine_Click();
    void cmdOpenOutput_Click();
    void cmdStart_Click();
    void cmdOpenReport_Click();

    FileDialogs& dialogs_;
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
    std::string warningsTip_;
    UINT dpi_ = kDesignDpi;
    std::unique_ptr<MessageFont> font_;
    std::unique_ptr<ListBoxFileList> files_;
    std::mutex postedLock_;
    std::deque<std::function<void()>> posted_;
    // Last, so following has ended before the posted work goes.
    std::unique_ptr<WindowModel> model_;
};

}  // namespace mirudana::win
