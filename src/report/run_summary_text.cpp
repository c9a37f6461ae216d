#include "report/run_summary_text.h"

#include <cstddef>

namespace mirudana {
namespace {

// The status line names this many script warnings, then counts the rest.
constexpr std::size_t kWarningsNamed = 3;

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

std::string warningsText(const std::vector<std::string>& warnings) {
    std::string text = "スクリプトの警告 " + std::to_string(warnings.size()) + " 件: ";
    for (std::size_t k = 0; k < warnings.size() && k < kWarningsNamed; ++k) {
        if (k > 0) text += "、";
        text += warnings[k];
    }
    if (warnings.size() > kWarningsNamed) {
        text += "、ほか " + std::to_string(warnings.size() - kWarningsNamed) + " 件";
    }
    return text + "。";
}

}  // namespace

std::string runSummaryText(RunResult result, const RunSummary& summary) {
    std::string text = outcomeText(result, summary);
    if (!summary.skippedFiles.empty()) {
        text += " 飛ばしたファイル " + std::to_string(summary.skippedFiles.size()) + " 件。";
    }
    if (!summary.scriptWarnings.empty()) text += " " + warningsText(summary.scriptWarnings);
    if (summary.reportHandedOver && result != RunResult::CompletedUnwritten) {
        text += " 出力先: " + summary.reportPath;
    } else if (result == RunResult::Completed || result == RunResult::CompletedUnwritten) {
        text += " レポートは書き込まれていません。";
    }
    return text;
}

}  // namespace mirudana
