#include "cli/progress_line.h"

namespace mirudana::cli {

void ProgressLine::onProgress(int done, int total, ttscript::TTSA& /*engine*/) {
    if (!enabled_) return;
    err_ << "\r処理中 " << done << '/' << total << std::flush;
    showing_ = true;
}

void ProgressLine::clear() {
    if (!showing_) return;
    err_ << "\r\x1b[K" << std::flush;
    showing_ = false;
}

}  // namespace mirudana::cli
