// Keeps the window alive during a long run: once the run has gone on for a while,
// a modal progress dialog shows the files done and lets pending events through;
// its Cancel button asks the engine to stop the script.
#pragma once

#include <QElapsedTimer>
#include <memory>

#include "report/main_window.h"

class QProgressDialog;
class QWidget;

namespace mirudana::gui {

class RunProgress : public RunObserver {
  public:
    // The dialog appears at the first progress report after `delayMs` of running.
    explicit RunProgress(QWidget* parent, qint64 delayMs = kProgressDelayMs);
    ~RunProgress() override;

    bool onProgress(int done, int total) override;
    // Closes the dialog, so a warning about the run is not hidden behind it.
    void onScriptEnded() override;

  private:
    QWidget* parent_;
    qint64 delayMs_;
    QElapsedTimer clock_;
    std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace mirudana::gui
