// The exit statuses of mirudana-cli, one table for the README, --help and the code.
#pragma once

#include "report/conversion_run.h"

namespace mirudana::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitStopped = 1;  // start-up ended the tool, or a run check stopped the run
inline constexpr int kExitUsage = 2;
inline constexpr int kExitScriptFailed = 3;  // syntax or runtime error, or cancelled
inline constexpr int kExitUnwritten = 4;     // the script ended but a report could not be written
inline constexpr int kExitSkipped = 5;       // done, but battle files were skipped
inline constexpr int kExitNoReport = 6;      // the script ended without handing over a report
inline constexpr int kExitUnknownNames = 7;  // --check found names the tool does not know

// The status of a run; `foldersPassedOver` when folders among the arguments gave no
// battle files. When several apply, the most serious wins: 3, 4, 6, then 5.
int exitStatusOf(RunResult result, const RunSummary& summary, bool foldersPassedOver);

// The table as --help shows it.
extern const char* const kExitStatusHelp;

}  // namespace mirudana::cli
