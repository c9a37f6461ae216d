// Keeps the window alive during a long run: once the run has gone on for a while,
// a modal progress dialog shows the files done and lets pending events through;
// its Cancel button asks the engine to stop the script.
#pragma once

#include <QElapsedTimer>
#include <memory>

#include "report/conversion_run.h"

class QProgressDialog;
class QWidget;

namespace mirudana::gui {

class RunProgress : public RunObserver {
  public:
    // The dialog appears at the first progress report after `delayMs` of running.
    explicit RunProgress(QWidget* parent, qint64 delayMs = 1000);
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

// The progress dialog's label for `done` files of `total`.
QString progressText(int done, int total);

}  // namespace mirudana::gui
