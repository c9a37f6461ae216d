#include "cli/exit_status.h"

namespace mirudana::cli {

int exitStatusOf(RunResult result, const RunSummary& summary, bool foldersPassedOver) {
    switch (result) {
        case RunResult::CheckFailed:
            return kExitStopped;
        case RunResult::ScriptFailed:
        case RunResult::Cancelled:
            return kExitScriptFailed;
        case RunResult::CompletedUnwritten:
            return kExitUnwritten;
        case RunResult::Completed:
            break;
    }
    if (!summary.reportHandedOver) return kExitNoReport;
    if (!summary.skippedFiles.empty() || foldersPassedOver) return kExitSkipped;
    return kExitDone;
}

const char* const kExitStatusHelp =
    "終了コード:\n"
    "  0  完了\n"
    "  1  起動時に終了した、または処理前の確認で中止した\n"
    "  2  引数の誤り\n"
    "  3  スクリプトのエラー (構文エラー、実行時エラー、中断)\n"
    "  4  スクリプトは終わったが出力ファイルに書き込めなかった\n"
    "  5  完了したが、読めない戦況ファイルや、戦況ファイルのないフォルダーを飛ばした\n"
    "  6  スクリプトが保存データを渡さずに終わった\n"
    "  7  --check が知らない名前を見つけた\n"
    "  重なったときは 3、4、6、5 の順に重いものを返します。\n";

}  // namespace mirudana::cli
