// The conversion run, shared by the window and the command line: check the inputs,
// prune and optionally sort the list, load the first battle, run the script.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/user_interface.h"
#include "battle/file_list.h"
#include "battle/loaded_battle.h"
#include "refdata/reference_data.h"

namespace mirudana {

// Told about a run's progress: while a long list is checked (no file done yet), at
// each "ロード" and at short intervals of script time, so a window stays responsive
// even while a script loops without loading.
class RunObserver {
  public:
    virtual ~RunObserver() = default;

    // `done` files of `total` are behind the script. Returning false asks the script
    // to stop at its next statement.
    virtual bool onProgress(int done, int total) = 0;

    // The script is being read and checked, `percent` of it so far, before any of
    // the `files`. Returning false cancels the run. Unless a front end shows it,
    // it is progress with no file done yet.
    virtual bool onScriptLoading(int percent, int files) {
        (void)percent;
        return onProgress(0, files);
    }

    // The script has ended, or the run was cancelled before it began; whatever the
    // run still has to say comes after this.
    virtual void onScriptEnded() {}
};

// What a run did, for the front ends' closing words.
struct RunSummary {
    int battlesReported = 0;                  // battle files the script was given
    std::vector<std::string> skippedFiles;    // listed files that could not be read
    bool reportHandedOver = false;            // the script handed over report text
    std::string reportPath;                   // where the last report went
    std::vector<std::string> scriptWarnings;  // names in the script the tool does not know
};

struct RunContext {
    LoadedBattle& battle;
    BattleFileList& files;
    const ReferenceData& references;
    UserInterface& ui;
    // The report's path, read each time the script hands over report text.
    std::function<std::string()> outputPath;
    RunObserver* observer = nullptr;
    // When set, filled in with what the run did.
    RunSummary* summary = nullptr;
    // When set, each report handed over replaces this text (the bytes a report file
    // would hold) and no file is written: a report for standard output.
    std::string* heldReport = nullptr;
    // The script's memory budget in bytes; 0 keeps the engine's default.
    std::size_t memoryBudget = 0;
    // A file the run's list of battle files was read from, when there is one: an
    // input like the others, which the report may not replace.
    std::string listFile = {};
};

enum class RunResult {
    CheckFailed,        // a check stopped the run; its warning was shown
    ScriptFailed,       // the script did not run to its end; the engine's error was shown
    Cancelled,          // the user stopped the script
    Completed,          // the script ran to its end
    CompletedUnwritten  // ... but a report could not be written (the warning was shown)
};

RunResult runConversion(RunContext& context, const std::string& scriptPath, bool sortFirst);

}  // namespace mirudana
