// The conversion run, shared by the window and the command line: check the inputs,
// prune and optionally sort the list, load the first battle, run the script.
#pragma once

#include <functional>
#include <string>

#include "app/user_interface.h"
#include "battle/file_list.h"
#include "battle/loaded_battle.h"
#include "refdata/reference_data.h"

namespace ttscript {
class TTSA;
}

namespace mirudana {

// Told about a run's progress, from inside the script's "ロード" commands.
class RunObserver {
  public:
    virtual ~RunObserver() = default;

    // A battle file was asked for: `done` files of `total` are behind the script.
    // May call engine.RequestStop() to end the script at its next statement.
    virtual void onProgress(int done, int total, ttscript::TTSA& engine) = 0;

    // The script has ended; whatever the run still has to say comes after this.
    virtual void onScriptEnded() {}
};

struct RunContext {
    LoadedBattle& battle;
    BattleFileList& files;
    const ReferenceData& references;
    UserInterface& ui;
    // The report's path, read each time the script hands over report text.
    std::function<std::string()> outputPath;
    RunObserver* observer = nullptr;
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
