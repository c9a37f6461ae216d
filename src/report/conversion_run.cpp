#include "report/conversion_run.h"

#include "app/file_system.h"
#include "battle/list_sort.h"
#include "report/script_host.h"
#include "ttscript/engine.h"

namespace mirudana {
namespace {

constexpr const char* kEngineMissing = "エンジンが見つかりません。";
constexpr const char* kNoFiles = "ファイルが登録されていません。";
constexpr const char* kNoValidFiles = "有効なファイルがありませんでした。";
constexpr const char* kCancelled = "処理を中断しました。";

void dropMissingFiles(BattleFileList& files) {
    for (int index = 0; index < files.count();) {
        if (isOrdinaryFile(files.entryAt(index))) {
            ++index;
        } else {
            files.removeAt(index);
        }
    }
}

}  // namespace

RunResult runConversion(RunContext& context, const std::string& scriptPath, bool sortFirst) {
    if (!isOrdinaryFile(scriptPath)) {
        context.ui.showWarning(kEngineMissing);
        return RunResult::CheckFailed;
    }
    if (context.files.count() == 0) {
        context.ui.showWarning(kNoFiles);
        return RunResult::CheckFailed;
    }
    dropMissingFiles(context.files);
    if (context.files.count() == 0) {
        context.ui.showWarning(kNoValidFiles);
        return RunResult::CheckFailed;
    }
    if (context.files.count() > kMaxBattleFiles) {
        context.ui.showWarning("登録されているファイルが多すぎます。" +
                               std::to_string(kMaxBattleFiles) + " 個までにしてください。");
        return RunResult::CheckFailed;
    }
    if (sortFirst) ListSort(context.files, context.ui);

    ScriptHost host(context);
    ttscript::TTSA engine(&host);
    host.attach(engine);
    context.battle.CurrentIndex = 0;
    context.battle.LoadBattleFile(context.files.entryAt(0));
    std::int32_t reserved1 = 0;
    std::int32_t reserved2 = 0;
    ttscript::RunOutcome outcome = engine.RunScript(scriptPath, reserved1, reserved2);
    if (context.observer != nullptr) context.observer->onScriptEnded();

    if (!outcome.completed) {
        if (outcome.stopped) {
            context.ui.showWarning(kCancelled);
            return RunResult::Cancelled;
        }
        context.ui.showWarning(outcome.error ? outcome.error->describe()
                                             : "スクリプトが最後まで実行されませんでした。");
        return RunResult::ScriptFailed;
    }
    return host.reportUnwritten() ? RunResult::CompletedUnwritten : RunResult::Completed;
}

}  // namespace mirudana
