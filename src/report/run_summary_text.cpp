#include "report/run_summary_text.h"

namespace mirudana {
namespace {

std::string outcomeText(RunResult result, const RunSummary& summary) {
    switch (result) {
        case RunResult::CheckFailed:
            return "処理を始められませんでした。";
        case RunResult::ScriptFailed:
            return "スクリプトのエラーで止まりました。";
        case RunResult::Cancelled:
            return "処理を中断しました。";
        case RunResult::CompletedUnwritten:
        case RunResult::Completed:
            break;
    }
    return "戦況 " + std::to_string(summary.battlesReported) + " 件を処理しました。";
}

}  // namespace

std::string runSummaryText(RunResult result, const RunSummary& summary) {
    std::string text = outcomeText(result, summary);
    if (!summary.skippedFiles.empty()) {
        text += " 飛ばしたファイル " + std::to_string(summary.skippedFiles.size()) + " 件。";
    }
    if (!summary.scriptWarnings.empty()) {
        text += " スクリプトの警告 " + std::to_string(summary.scriptWarnings.size()) + " 件。";
    }
    if (summary.reportHandedOver && result != RunResult::CompletedUnwritten) {
        text += " 出力先: " + summary.reportPath;
    } else if (result == RunResult::Completed || result == RunResult::CompletedUnwritten) {
        text += " レポートは書き込まれていません。";
    }
    return text;
}

}  // namespace mirudana
