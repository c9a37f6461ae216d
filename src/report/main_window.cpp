#include "report/main_window.h"

#include "app/error_reporter.h"
#include "app/folders.h"
#include "battle/dialog_result.h"
#include "platform/paths.h"
#include "report/run_summary_text.h"
#include "ttscript/engine.h"

namespace mirudana {
namespace {

// The engine asked only for the version label; it lives as long as the process.
ttscript::TTSA& versionEngine() {
    static ttscript::TTSA engine;
    return engine;
}

}  // namespace

WindowStartTexts windowStartTexts(const std::string& programFolder) {
    const std::string folder = AddDirSep(programFolder);
    return {folder + kDefaultScriptName, folder + kDefaultReportName,
            "TTScript.dll Version" + versionEngine().GetInfo("バージョン", "0")};
}

void addBattleFilesByDialog(FileDialogs& dialogs, UserInterface& ui, BattleFileList& files) {
    try {
        const std::optional<std::string> answer =
            dialogs.openFiles("戦況を読み込む", "ゾルベックOnline バトル情報(*.kvs)|*.kvs", true);
        if (answer) appendDialogResult(files, *answer);
    } catch (...) {
        reportCurrentException(ui, "frmPrintout.cmdOpenInput_Click");
    }
}

std::optional<std::string> browseForScript(FileDialogs& dialogs, UserInterface& ui) {
    try {
        return dialogs.openFiles("出力エンジンを読み込む",
                                 "Technology Terminal Script neo(*.tts)|*.tts", false);
    } catch (...) {
        reportCurrentException(ui, "frmPrintout.cmdOpenEngine_Click");
        return std::nullopt;
    }
}

std::optional<std::string> browseForOutput(FileDialogs& dialogs, UserInterface& ui) {
    try {
        return dialogs.saveFile("保存先の指定",
                                "HTMLファイル(*.htm;*.html)|*.htm;*.html|テキストファイル(*.txt)|"
                                "*.txt|すべてのファイル(*.*)|*.*");
    } catch (...) {
        reportCurrentException(ui, "frmPrintout.cmdOpenOutput_Click");
        return std::nullopt;
    }
}

std::optional<RunStatus> runStatus(RunResult result, const RunSummary& summary) {
    if (result == RunResult::CheckFailed) return std::nullopt;
    const bool written = summary.reportHandedOver && result != RunResult::CompletedUnwritten;
    std::string warnings, tip;
    for (const std::string& warning : summary.scriptWarnings) {
        warnings += (warnings.empty() ? "" : "、") + warning;
        tip += (tip.empty() ? "" : "\n") + warning;
    }
    return RunStatus{runSummaryText(result, summary), written, written ? summary.reportPath : "",
                     warnings, tip};
}

std::string progressText(int done, int total) {
    return "戦況ファイルを処理しています（" + std::to_string(done) + " / " + std::to_string(total) +
           "）";
}

}  // namespace mirudana
