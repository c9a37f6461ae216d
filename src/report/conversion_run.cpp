#include "report/conversion_run.h"

#include <optional>

#include "battle/list_sort.h"
#include "platform/file_identity.h"
#include "platform/file_system.h"
#include "report/script_check.h"
#include "report/script_host.h"
#include "ttscript/engine.h"

namespace mirudana {
namespace {

constexpr const char* kEngineMissing = "エンジンが見つかりません。";
constexpr const char* kNoFiles = "ファイルが登録されていません。";
constexpr const char* kNoValidFiles = "有効なファイルがありませんでした。";
constexpr const char* kCancelled = "処理を中断しました。";
constexpr const char* kOutputIsAnInput =
    "出力先が入力ファイルと同じファイルです。入力ファイルを壊さないよう、処理を中止しました。";
constexpr const char* kNoReport =
    "スクリプトが保存データを渡さずに終わったため、レポートは書き込まれていません。"
    "出力ファイルは元のままです。";
// The skipped-files warning names this many paths, then counts the rest.
constexpr std::size_t kSkippedNamed = 20;
// The list's check tells the observer after this many files, so a window stays
// responsive (and may cancel) while thousands of files are looked at.
constexpr int kFilesBetweenReports = 256;

// The file the report would replace, when there is one: its identity, and its size,
// which tells most inputs apart from it at no cost.
struct ExistingOutput {
    FileIdentity identity;
    std::uint64_t size;
};

std::optional<ExistingOutput> existingOutput(const RunContext& context) {
    // A report held for standard output replaces no file, so it is no input either.
    if (context.heldReport != nullptr) return std::nullopt;
    const std::string path = context.outputPath();
    std::optional<FileStamp> stamp = fileStamp(path);
    std::optional<FileIdentity> identity = fileIdentity(path);
    if (!stamp || !identity) return std::nullopt;
    return ExistingOutput{*identity, stamp->size};
}

// Removes the entries whose files have gone; returns their paths. Each file is
// looked at once, and a file of the output's size once more: `atOutput` gets the
// first listed file that is the very file the report would replace. Asking every
// file for its identity would cost more than the rest of the check on Windows.
// An observer that answers false stops the check: `cancelled` is set.
std::vector<std::string> dropMissingFiles(BattleFileList& files,
                                          const std::optional<ExistingOutput>& output,
                                          std::optional<std::string>& atOutput,
                                          RunObserver* observer, bool& cancelled) {
    std::vector<std::string> dropped;
    for (int index = 0, looked = 1; index < files.count(); ++looked) {
        if (observer != nullptr && looked % kFilesBetweenReports == 0 &&
            !observer->onProgress(0, files.count())) {
            cancelled = true;
            break;
        }
        const std::string& path = files.entryAt(index);
        if (std::optional<FileStamp> stamp = ordinaryFileStamp(path)) {
            if (output && !atOutput && stamp->size == output->size &&
                fileIdentity(path) == output->identity) {
                atOutput = path;
            }
            ++index;
        } else {
            dropped.push_back(path);
            files.removeAt(index);
        }
    }
    return dropped;
}

// The input that is the very file the report would replace, if any: the script, a
// listed battle file (`listed`, found while dropping), the list or a reference file.
std::optional<std::string> inputAtOutput(const RunContext& context, const std::string& script,
                                         const std::optional<ExistingOutput>& output,
                                         const std::optional<std::string>& listed) {
    if (!output) return std::nullopt;  // a new file cannot be an input
    if (fileIdentity(script) == output->identity) return script;
    if (listed) return listed;
    if (!context.listFile.empty() && fileIdentity(context.listFile) == output->identity) {
        return context.listFile;
    }
    return context.references.SourceFiles.fileAt(output->identity);
}

// The first `kSkippedNamed` paths, a line each, then how many more there are.
std::string namedPaths(const std::vector<std::string>& paths) {
    std::string text;
    for (std::size_t k = 0; k < paths.size() && k < kSkippedNamed; ++k) {
        text += "\r\n" + paths[k];
    }
    if (paths.size() > kSkippedNamed) {
        text += "\r\nほか " + std::to_string(paths.size() - kSkippedNamed) + " 件";
    }
    return text;
}

std::string skippedWarning(const std::vector<std::string>& skipped) {
    return "読めなかった戦況ファイル " + std::to_string(skipped.size()) + " 件を飛ばしました。" +
           namedPaths(skipped);
}

// The engine's message; a runtime error also names the battle file loaded then.
std::string scriptErrorText(const ttscript::ScriptError& error, const RunContext& context,
                            bool scriptRan) {
    std::string text = error.describe();
    if (scriptRan && context.battle.FileLoaded) {
        text +=
            "\r\n読み込み中の戦況ファイル: " + context.files.entryAt(context.battle.CurrentIndex);
    }
    return text;
}

}  // namespace

RunResult runConversion(RunContext& context, const std::string& scriptPath, bool sortFirst) {
    if (!isOrdinaryFile(scriptPath)) {
        context.ui.showWarning(scriptPath.empty() ? std::string(kEngineMissing)
                                                  : kEngineMissing + ("\r\n" + scriptPath));
        return RunResult::CheckFailed;
    }
    if (context.files.count() == 0) {
        context.ui.showWarning(kNoFiles);
        return RunResult::CheckFailed;
    }
    std::optional<ExistingOutput> output = existingOutput(context);
    std::optional<std::string> listedAtOutput;
    bool cancelled = false;
    std::vector<std::string> dropped =
        dropMissingFiles(context.files, output, listedAtOutput, context.observer, cancelled);
    if (cancelled) {
        context.observer->onScriptEnded();
        context.ui.showWarning(kCancelled);
        return RunResult::Cancelled;
    }
    if (context.files.count() == 0) {
        context.ui.showWarning(kNoValidFiles + namedPaths(dropped));
        return RunResult::CheckFailed;
    }
    if (context.files.count() > kMaxBattleFiles) {
        context.ui.showWarning("登録されているファイルが多すぎます。" +
                               std::to_string(kMaxBattleFiles) + " 個までにしてください。");
        return RunResult::CheckFailed;
    }
    if (std::optional<std::string> input =
            inputAtOutput(context, scriptPath, output, listedAtOutput)) {
        context.ui.showWarning(std::string(kOutputIsAnInput) +
                               "\r\n出力先: " + context.outputPath() + "\r\n入力: " + *input);
        return RunResult::CheckFailed;
    }
    if (sortFirst) ListSort(context.files, context.ui);
    std::vector<std::string> scriptWarnings;
    ScriptHost host(context);
    ttscript::TTSA engine(&host);
    if (context.memoryBudget != 0) engine.SetMemoryBudget(context.memoryBudget);
    host.attach(engine);
    for (const std::string& path : dropped) host.noteSkipped(path);
    host.loadFirstReadable(0);
    // Read and checked once: the check's warnings come from the script that runs.
    ttscript::RunOutcome outcome = engine.LoadScript(scriptPath);
    if (outcome.completed) {
        if (context.summary != nullptr) scriptWarnings = checkLoadedScript(engine).warnings;
        outcome = engine.RunLoaded();
    }
    if (context.observer != nullptr) context.observer->onScriptEnded();

    RunResult result =
        host.reportUnwritten() ? RunResult::CompletedUnwritten : RunResult::Completed;
    if (!outcome.completed && outcome.stopped) {
        context.ui.showWarning(kCancelled);
        result = RunResult::Cancelled;
    } else if (!outcome.completed) {
        context.ui.showWarning(outcome.error
                                   ? scriptErrorText(*outcome.error, context, host.scriptRan())
                                   : "スクリプトが最後まで実行されませんでした。");
        result = RunResult::ScriptFailed;
    } else if (!host.summary().reportHandedOver) {
        context.ui.showWarning(std::string(kNoReport) + "\r\n" + context.outputPath());
    }
    const RunSummary& done = host.summary();
    if (!done.skippedFiles.empty()) context.ui.showWarning(skippedWarning(done.skippedFiles));
    if (context.summary != nullptr) {
        *context.summary = done;
        context.summary->scriptWarnings = std::move(scriptWarnings);
    }
    return result;
}

}  // namespace mirudana
