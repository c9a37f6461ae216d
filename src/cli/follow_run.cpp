#include "cli/follow_run.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "battle/file_list.h"
#include "battle/loaded_battle.h"
#include "cli/exit_status.h"
#include "platform/local_time.h"
#include "platform/stop_request.h"
#include "report/conversion_run.h"

namespace mirudana::cli {
namespace {

// The terminal's progress line, and Ctrl+C stopping the script at its next statement.
class StoppableProgress : public RunObserver {
  public:
    explicit StoppableProgress(ProgressLine& line) : line_(line) {}
    bool onProgress(int done, int total) override {
        return line_.onProgress(done, total) && !StopOnInterrupt::stopRequested();
    }

  private:
    ProgressLine& line_;
};

std::string secondsText(std::chrono::steady_clock::duration took) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", std::chrono::duration<double>(took).count());
    return text;
}

// A failure that would come back at every update ends following: an unwritable
// output, a broken or missing script, an output that is one of the inputs.
bool endsFollowing(RunResult result) {
    return result == RunResult::CheckFailed || result == RunResult::ScriptFailed ||
           result == RunResult::CompletedUnwritten;
}

}  // namespace

int followFolders(const FollowSetup& setup, const ReferenceData& references,
                  ConsoleUserInterface& ui, ProgressLine& progress, std::ostream& out) {
    BattleFollower follower(setup.folders, setup.recursive, setup.times);
    StopOnInterrupt stop(follower.watch());
    StoppableProgress observer(progress);
    LoadedBattle battle;
    bool toldTooMany = false;
    bool first = true;
    while (std::optional<FollowUpdate> update = follower.next()) {
        for (const std::string& path : update->skipped) {
            ui.showWarning("ほかのプログラムが開いていて読めない戦況ファイルを飛ばしました。\r\n" +
                           path);
        }
        if (!update->filesChanged && !first) continue;
        first = false;
        const std::size_t count = update->files.size();
        // The run's own refusal says it, once, until the files fit again.
        const bool tooMany = count > static_cast<std::size_t>(kMaxBattleFiles);
        if (tooMany && toldTooMany) continue;
        toldTooMany = tooMany;
        if (count == 0) {
            out << localTimeText(std::time(nullptr)) << "  戦況ファイルを待っています" << std::endl;
            continue;
        }
        VectorFileList files(std::move(update->files));
        RunSummary summary;
        RunContext context{
            battle,   files,   references,        ui, [&setup] { return setup.output; }, &observer,
            &summary, nullptr, setup.memoryBudget};
        const auto started = std::chrono::steady_clock::now();
        const RunResult result = runConversion(context, setup.script, setup.sort);
        progress.clear();
        if (StopOnInterrupt::stopRequested()) break;
        if (tooMany) continue;
        if (endsFollowing(result)) return exitStatusOf(result, summary, false);
        out << localTimeText(std::time(nullptr)) << "  戦況 " << summary.battlesReported << " 件  "
            << setup.output << "  " << secondsText(std::chrono::steady_clock::now() - started)
            << " 秒" << std::endl;
    }
    return kExitDone;
}

}  // namespace mirudana::cli
