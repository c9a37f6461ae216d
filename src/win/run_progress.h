// Keeps the window alive during a long run: once the run has gone on for a while,
// a progress dialog owned by the window shows the files done, the window is held
// still behind it, and each progress report lets pending messages through; its
// Cancel button asks the engine to stop the script.
#pragma once

#include <windows.h>

#include <memory>

#include "report/conversion_run.h"
#include "win/dpi.h"

namespace mirudana::win {

class RunProgress : public RunObserver {
  public:
    // Control identifiers of the dialog's label and bar; its button is IDCANCEL.
    static constexpr int kLabelId = 10;
    static constexpr int kBarId = 11;

    // The dialog appears at the first progress report after `delayMs` of running.
    RunProgress(HWND owner, int delayMs);
    ~RunProgress() override;
    RunProgress(const RunProgress&) = delete;
    RunProgress& operator=(const RunProgress&) = delete;

    bool onProgress(int done, int total) override;
    // Closes the dialog, so a warning about the run is not hidden behind it.
    void onScriptEnded() override;

  private:
    static LRESULT CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void open();
    void close();

    HWND owner_;
    int delayMs_;
    ULONGLONG started_;
    HWND dialog_ = nullptr;
    std::unique_ptr<MessageFont> font_;
    bool cancelled_ = false;
};

}  // namespace mirudana::win
