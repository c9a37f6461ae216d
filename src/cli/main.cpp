// mirudana-cli: the conversion run for batch and headless use. See --help.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include "app/folders.h"
#include "battle/file_list.h"
#include "battle/loaded_battle.h"
#include "cli/battle_arguments.h"
#include "cli/command_line.h"
#include "cli/console_user_interface.h"
#include "cli/exit_status.h"
#include "cli/progress_line.h"
#include "platform/native_path.h"
#include "platform/paths.h"
#include "platform/terminal.h"
#include "refdata/program_data.h"
#include "report/conversion_run.h"
#include "report/run_summary_text.h"
#include "report/script_check.h"
#include "ttscript/engine.h"

namespace {

using namespace mirudana;

// Reads the paths of --files-from, standard input for "-".
bool readListedFiles(const std::string& listFile, std::vector<std::string>& listed) {
    const std::size_t limit = static_cast<std::size_t>(kMaxBattleFiles) + 1;
    if (listFile == "-") return cli::readPathList(std::cin, limit, listed);
    std::ifstream in(nativePath(listFile), std::ios::binary);
    return in && cli::readPathList(in, limit, listed);
}

// The run's list: the arguments, then the paths of --files-from, folders opened up.
// One more than the list may hold is enough for the run to refuse it.
std::vector<std::string> battleList(const cli::CommandLine& line,
                                    const std::vector<std::string>& listed) {
    const std::size_t limit = static_cast<std::size_t>(kMaxBattleFiles) + 1;
    std::vector<std::string> entries;
    for (const auto* arguments : {&line.battleFiles, &listed}) {
        for (const std::string& argument : *arguments) {
            cli::addBattleArgument(argument, line.recursive, limit, entries);
        }
    }
    return entries;
}

// A report for standard output goes to a file of its own first: the script may hand
// over several, and only the last one, complete, is wanted.
std::string pipedReportPath() {
    std::random_device random;
    return pathText(std::filesystem::temp_directory_path() /
                    ("mirudana-" + std::to_string(random()) + ".html"));
}

void sendToStandardOutput(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(nativePath(path), ec)) return;
    {
        std::ifstream report(nativePath(path), std::ios::binary);
        std::cout << report.rdbuf() << std::flush;
    }
    std::filesystem::remove(nativePath(path), ec);
}

int checkOnly(const std::string& script) {
    ScriptCheck check = checkScript(script);
    if (check.error) {
        std::cerr << check.error->describe() << '\n';
        return cli::kExitScriptFailed;
    }
    for (const std::string& warning : check.warnings) std::cout << script << ':' << warning << '\n';
    return check.warnings.empty() ? cli::kExitDone : cli::kExitUnknownNames;
}

int run(const cli::CommandLine& line) {
    std::vector<std::string> listed;
    if (line.filesFrom && !readListedFiles(*line.filesFrom, listed)) {
        std::cerr << "mirudana-cli: 一覧ファイルを読めません。\n" << *line.filesFrom << '\n';
        return cli::kExitUsage;
    }
    const bool terminal = standardErrorIsTerminal();
    cli::ProgressLine progress(std::cerr, terminal);
    cli::ConsoleUserInterface ui(std::cerr, &progress);

    const std::string home = line.home.value_or(programFolder());
    ProgramData started = loadProgramData(home, ui);
    if (started.endTool) ui.endTool();

    LoadedBattle battle;
    VectorFileList files(battleList(line, listed));
    const bool noFiles = files.count() == 0;
    const bool piped = line.output == "-";
    const std::string output =
        piped ? pipedReportPath() : line.output.value_or(AddDirSep(home) + kDefaultReportName);
    const std::string script = line.script.value_or(AddDirSep(home) + kDefaultScriptName);
    RunSummary summary;
    RunContext context{battle,    files,    started.references, ui, [&output] { return output; },
                       &progress, &summary, line.memoryBudget};
    RunResult result = runConversion(context, script, line.sort);
    progress.clear();
    if (piped) {
        sendToStandardOutput(output);
        summary.reportPath = "標準出力";
    }
    if (noFiles) std::cerr << cli::shortUsage();
    if (terminal && result != RunResult::CheckFailed) {
        for (const std::string& warning : summary.scriptWarnings) {
            std::cerr << script << ':' << warning << '\n';
        }
        std::cerr << runSummaryText(result, summary) << '\n';
    }
    return cli::exitStatusOf(result, summary);
}

}  // namespace

int main(int argc, char** argv) {
    prepareStandardStreams();
    auto parsed = cli::parseCommandLine(programArguments(argc, argv));
    if (auto* error = std::get_if<cli::UsageError>(&parsed)) {
        std::cerr << cli::shortUsage(error->problem);
        return cli::kExitUsage;
    }
    const auto& line = std::get<cli::CommandLine>(parsed);
    if (line.help) {
        std::cout << cli::helpText();
        return cli::kExitDone;
    }
    if (line.version) {
        std::cout << "mirudana-cli " << MIRUDANA_VERSION << "\nスクリプトエンジン "
                  << ttscript::TTSA().GetInfo("バージョン", "0") << '\n';
        return cli::kExitDone;
    }
    if (line.check) return checkOnly(*line.check);
    return run(line);
}
