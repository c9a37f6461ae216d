#include "cli/progress_line.h"

namespace mirudana::cli {

bool ProgressLine::onProgress(int done, int total) {
    if (!enabled_) return true;
    err_ << "\r処理中 " << done << '/' << total << std::flush;
    showing_ = true;
    return true;
}

bool ProgressLine::onScriptLoading(int percent, int) {
    if (!enabled_) return true;
    err_ << "\rスクリプトを読み込み中 " << percent << '%' << std::flush;
    showing_ = true;
    return true;
}

void ProgressLine::clear() {
    if (!showing_) return;
    err_ << "\r\x1b[K" << std::flush;
    showing_ = false;
}

}  // namespace mirudana::cli
