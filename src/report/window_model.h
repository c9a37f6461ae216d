// What the tool's window decides, whichever toolkit draws it: the run with its
// state, the files that join the list (by dialog, by a dropped file or folder),
// whether the window may close, and following the list's folders. Each window
// implements WindowView and forwards its controls' events here.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/file_dialogs.h"
#include "app/user_interface.h"
#include "battle/battle_follower.h"
#include "battle/file_list.h"
#include "battle/loaded_battle.h"
#include "refdata/reference_data.h"
#include "report/conversion_run.h"
#include "report/main_window.h"

namespace mirudana {

// What a window shows and lets the model read or change.
class WindowView {
  public:
    virtual ~WindowView() = default;

    virtual std::string scriptPath() const = 0;
    virtual std::string outputPath() const = 0;
    virtual bool sortFirst() const = 0;
    virtual void setInputsEnabled(bool enabled) = 0;
    // The status line, the warnings line and the button that opens the report (shown
    // when `status.reportToOpen` is set); an empty status clears them.
    virtual void showRunStatus(const RunStatus& status) = 0;
    // The progress dialog of one run, for as long as the returned object lives.
    virtual std::unique_ptr<RunObserver> runProgress() = 0;
    // Calls `work` soon on the window's thread; called from the following thread.
    virtual void post(std::function<void()> work) = 0;
    virtual void openWithDesktop(const std::string& path) = 0;
};

class WindowModel {
  public:
    WindowModel(const ReferenceData& references, UserInterface& ui, BattleFileList& files,
                WindowView& view);
    // Ends following.
    ~WindowModel();
    WindowModel(const WindowModel&) = delete;
    WindowModel& operator=(const WindowModel&) = delete;

    // cmdStart: the run, with the inputs off while it lasts and its status after.
    // Faults escaping it go to the error reporter. Nothing while a run is under way.
    void start();

    // Paths dropped on the list or chosen: files join as they are, a folder gives its
    // battle files in name order. What fails to join is reported; what joined stays.
    void addPaths(const std::vector<std::string>& paths, const char* where);
    void addFilesByDialog(FileDialogs& dialogs);
    void addFolderByDialog(FileDialogs& dialogs);
    void clearFiles();

    // The run's state lives here: the window waits until a run is over.
    bool mayClose() const { return !running_; }
    bool running() const { return running_; }
    UserInterface& ui() { return ui_; }
    // cmdOpenReport: the last written report, by the desktop's program unless told.
    void openReport();
    void setReportOpener(std::function<void(const std::string&)> open) {
        reportOpener_ = std::move(open);
    }

    // Following the folders of the list's files: once their new battles have
    // settled, they join the list and a run starts (after the one under way, if
    // any). While following, a run's warnings go to the status line.
    void setFollowing(bool on);
    bool following() const { return follower_ != nullptr; }
    // How following times settling; tests shorten them. Applies from the next setFollowing(true).
    void setFollowTimes(const FollowTimes& times) { followTimes_ = times; }

  private:
    void followedUpdate(int round, std::vector<std::string> settled);
    void restartFollowing();
    void stopFollowing();
    std::vector<std::string> listedFolders() const;
    RunStatus followedStatus(RunResult result, const RunSummary& summary,
                             const std::vector<std::string>& warnings) const;

    const ReferenceData& references_;
    UserInterface& ui_;
    BattleFileList& files_;
    WindowView& view_;
    LoadedBattle battle_;
    bool running_ = false;
    std::string reportToOpen_;
    std::function<void(const std::string&)> reportOpener_;

    FollowTimes followTimes_;
    std::unique_ptr<BattleFollower> follower_;
    std::thread followThread_;
    std::optional<std::set<std::string>> followedFiles_;        // those of the last update
    std::optional<std::vector<std::string>> settledDuringRun_;  // taken up after the run
    int followRound_ = 0;  // updates of an earlier follower are passed over
};

}  // namespace mirudana
