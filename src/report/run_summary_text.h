// The one line that says what a run did, shared by the window's status line and the
// command line's closing line.
#pragma once

#include <string>

#include "report/conversion_run.h"

namespace mirudana {

// How many battles went into the report, how many files were skipped and how many
// warnings the script check gave, and where the report went, if it was written. The
// warnings themselves are the front end's to show in full.
std::string runSummaryText(RunResult result, const RunSummary& summary);

}  // namespace mirudana
