// The one line that says what a run did, shared by the window's status line and the
// command line's closing line.
#pragma once

#include <string>

#include "report/conversion_run.h"

namespace mirudana {

// How many battles went into the report, what was skipped, the script's warnings
// (the first few, then a count), and where the report went, if it was written.
std::string runSummaryText(RunResult result, const RunSummary& summary);

}  // namespace mirudana
