// The progress line a long run shows on a terminal: "処理中 12/300", and before
// it, while a long script loads, "スクリプトを読み込み中 40%".
#pragma once

#include <ostream>

#include "report/conversion_run.h"

namespace mirudana::cli {

class ProgressLine : public RunObserver {
  public:
    // Shows nothing unless `enabled` (standard error is a terminal).
    ProgressLine(std::ostream& err, bool enabled) : err_(err), enabled_(enabled) {}

    bool onProgress(int done, int total) override;
    bool onScriptLoading(int percent, int files) override;

    // Erases the line, if one is showing, so the next text starts on a clean line.
    void clear();

  private:
    std::ostream& err_;
    bool enabled_;
    bool showing_ = false;
};

}  // namespace mirudana::cli
