#include "report/window_model.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "app/error_reporter.h"
#include "battle/battle_folder.h"
#include "battle/dialog_result.h"
#include "platform/file_system.h"
#include "platform/local_time.h"
#include "platform/native_path.h"
#include "report/run_summary_text.h"

namespace mirudana {
namespace {

// While following, what a run would say in a message box goes to the status line
// instead, so a game in front is not interrupted; questions still ask.
class StatusLineWarnings : public UserInterface {
  public:
    explicit StatusLineWarnings(UserInterface& ui) : ui_(ui) {}
    void showWarning(const std::string& message) override {
        std::string line;
        for (char c : message) {
            if (c == '\n') {
                line += ' ';
            } else if (c != '\r') {
                line += c;
            }
        }
        warnings.push_back(line);
    }
    bool askYesNo(const std::string& message, const std::string& caption) override {
        return ui_.askYesNo(message, caption);
    }
    void copyToClipboard(const std::string& text) override { ui_.copyToClipboard(text); }
    [[noreturn]] void endTool() override {
        ui_.endTool();
        std::abort();  // endTool does not return
    }

    std::vector<std::string> warnings;

  private:
    UserInterface& ui_;
};

std::string joined(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : separator) + part;
    return text;
}

}  // namespace

WindowModel::WindowModel(const ReferenceData& references, UserInterface& ui, BattleFileList& files,
                         WindowView& view)
    : references_(references), ui_(ui), files_(files), view_(view) {}

WindowModel::~WindowModel() { stopFollowing(); }

void WindowModel::start() {
    if (running_) return;
    view_.setInputsEnabled(false);
    running_ = true;
    // The last run's line goes; this run's replaces it when the run is over.
    view_.showRunStatus({});
    RunSummary summary;
    RunResult result;
    StatusLineWarnings statusLine(ui_);
    {
        std::unique_ptr<RunObserver> progress = view_.runProgress();
        RunContext context{battle_,
                           files_,
                           references_,
                           following() ? static_cast<UserInterface&>(statusLine) : ui_,
                           [this] { return view_.outputPath(); },
                           progress.get(),
                           &summary};
        try {
            result = runConversion(context, view_.scriptPath(), view_.sortFirst());
        } catch (...) {
            reportCurrentException(ui_, "frmPrintout.cmdStart_Click");
            result = RunResult::ScriptFailed;
        }
    }
    running_ = false;
    const RunStatus status = following() ? followedStatus(result, summary, statusLine.warnings)
                                         : runStatus(result, summary).value_or(RunStatus{});
    reportToOpen_ = status.reportToOpen;
    // The status first: the button for the report is back by the time the inputs
    // are, so the focus can return to it.
    view_.showRunStatus(status);
    view_.setInputsEnabled(true);
    // Files that settled during the run: one more run, after this one.
    if (settledDuringRun_) {
        view_.post([this, round = followRound_, settled = std::move(*settledDuringRun_)]() mutable {
            followedUpdate(round, std::move(settled));
        });
        settledDuringRun_.reset();
    }
}

// The status line while following says when the report was last written and how
// many battles it holds; a check that stopped the run says why there instead.
RunStatus WindowModel::followedStatus(RunResult result, const RunSummary& summary,
                                      const std::vector<std::string>& warnings) const {
    if (result == RunResult::CheckFailed) {
        return {warnings.empty() ? runSummaryText(result, summary) : warnings.front(), false, "",
                "", ""};
    }
    RunStatus status = runStatus(result, summary).value_or(RunStatus{});
    // The time of day and the count, without the output's path (the output box and
    // the open button have it), so both stay in sight on the line. Only a written
    // report was updated.
    const std::string now = localTimeText(std::time(nullptr));
    status.text = now.substr(now.find(' ') + 1) + (status.reportToOpen.empty() ? "  " : " 更新  ") +
                  status.text.substr(0, status.text.find(" 出力先: "));
    status.endsInPath = false;
    std::vector<std::string> all = warnings;
    all.insert(all.end(), summary.scriptWarnings.begin(), summary.scriptWarnings.end());
    status.warnings = joined(all, "、");
    status.warningsTip = joined(all, "\n");
    return status;
}

void WindowModel::addPaths(const std::vector<std::string>& paths, const char* where) {
    // Nothing joins the list while a run reads it.
    if (running_) return;
    try {
        for (const std::string& path : paths) {
            if (!isFolder(path)) {
                files_.append(path);
                continue;
            }
            files_.appendAll(battleFilesIn(path, false, SIZE_MAX));
        }
    } catch (...) {
        // A list out of room: what was added stays.
        reportCurrentException(ui_, where);
    }
    if (following()) restartFollowing();
}

void WindowModel::addFilesByDialog(FileDialogs& dialogs) {
    addBattleFilesByDialog(dialogs, ui_, files_);
    if (following()) restartFollowing();
}

void WindowModel::addFolderByDialog(FileDialogs& dialogs) {
    try {
        if (std::optional<std::string> folder =
                dialogs.chooseFolder("戦況ファイルのフォルダーを追加")) {
            addPaths({*folder}, "frmPrintout.cmdAddFolder_Click");
        }
    } catch (...) {
        reportCurrentException(ui_, "frmPrintout.cmdAddFolder_Click");
    }
}

void WindowModel::clearFiles() {
    files_.clear();
    if (following()) restartFollowing();
}

void WindowModel::openReport() {
    if (reportToOpen_.empty()) return;
    if (reportOpener_) {
        reportOpener_(reportToOpen_);
    } else {
        view_.openWithDesktop(reportToOpen_);
    }
}

std::vector<std::string> WindowModel::listedFolders() const {
    std::set<std::string> folders;
    for (int index = 0; index < files_.count(); ++index) {
        folders.insert(pathText(nativePath(files_.entryAt(index)).parent_path()));
    }
    return {folders.begin(), folders.end()};
}

void WindowModel::setFollowing(bool on) {
    if (on == following()) return;
    if (on) {
        restartFollowing();
    } else {
        stopFollowing();
    }
}

void WindowModel::restartFollowing() {
    stopFollowing();
    const int round = ++followRound_;
    follower_ = std::make_unique<BattleFollower>(listedFolders(), false, followTimes_);
    followThread_ = std::thread([this, round, follower = follower_.get()] {
        while (std::optional<FollowUpdate> update = follower->next()) {
            view_.post([this, round, files = std::move(update->files)]() mutable {
                followedUpdate(round, std::move(files));
            });
        }
    });
}

void WindowModel::stopFollowing() {
    if (!follower_) return;
    follower_->stop();
    if (followThread_.joinable()) followThread_.join();
    follower_.reset();
    followedFiles_.reset();
    settledDuringRun_.reset();
}

// New battles join the list in name order; the run's own check drops those gone.
void WindowModel::followedUpdate(int round, std::vector<std::string> settled) {
    if (round != followRound_ || !following()) return;
    if (running_) {
        settledDuringRun_ = std::move(settled);
        return;
    }
    if (followedFiles_) {
        std::set<std::string> listed;
        for (int index = 0; index < files_.count(); ++index) listed.insert(files_.entryAt(index));
        try {
            for (const std::string& file : settled) {
                if (!followedFiles_->contains(file) && !listed.contains(file)) files_.append(file);
            }
        } catch (...) {
            reportCurrentException(ui_, "frmPrintout.Follow");
        }
    }
    followedFiles_.emplace(settled.begin(), settled.end());
    start();
}

}  // namespace mirudana
