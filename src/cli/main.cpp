// mirudana-cli: the conversion run for batch and headless use. See --help.
#include <cerrno>
#include <fstream>
#include <iostream>
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
#include "cli/follow_run.h"
#include "cli/path_list.h"
#include "cli/progress_line.h"
#include "platform/failure.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/paths.h"
#include "platform/terminal.h"
#include "refdata/program_data.h"
#include "report/conversion_run.h"
#include "report/report_writer.h"
#include "report/run_summary_text.h"
#include "report/script_check.h"
#include "ttscript/engine.h"

namespace {

using namespace mirudana;

// Where the summary says a piped report went.
constexpr const char* kStandardOutput = "標準出力";

// The paths of --files-from, standard input for "-". One more than the run may
// hold is enough for it to refuse the list.
cli::PathList listedFiles(const std::string& listFile) {
    const std::size_t limit = static_cast<std::size_t>(kMaxBattleFiles) + 1;
    if (listFile == "-") return cli::readPathList(std::cin, limit);
    if (isFolder(listFile)) return {{}, "フォルダーです。"};
    std::ifstream in(nativePath(listFile), std::ios::binary);
    if (!in) return {{}, "開けません。"};
    return cli::readPathList(in, limit);
}

// The run's list: the arguments, then the paths of --files-from, folders opened up.
std::vector<std::string> battleList(const cli::CommandLine& line,
                                    const std::vector<std::string>& listed,
                                    cli::FolderNotes& notes) {
    const std::size_t limit = static_cast<std::size_t>(kMaxBattleFiles) + 1;
    std::vector<std::string> entries;
    for (const auto* arguments : {&line.battleFiles, &listed}) {
        for (const std::string& argument : *arguments) {
            cli::addBattleArgument(argument, line.recursive, limit, entries, notes);
        }
    }
    return entries;
}

// Writes the held report to standard output. One that refuses it (closed, or a full
// disk behind a redirection) leaves the report unwritten, which is said.
bool writeToStandardOutput(const std::string& report, UserInterface& ui) {
    errno = 0;
    std::cout << report << std::flush;
    if (std::cout) return true;
    const int err = standardOutputWriteErrno(errno != 0 ? errno : EIO);
    ui.showWarning(std::string(kReportUnwritten) + "\r\n" + kStandardOutput + "\r\n" +
                   errnoDescription(err, FileAccess::Writing));
    return false;
}

int checkOnly(const std::string& script) {
    if (isFolder(script)) {
        std::cerr << "mirudana-cli: --check にはスクリプトのファイルを指定してください。"
                     "フォルダーです。\n"
                  << script << '\n';
        return cli::kExitUsage;
    }
    ScriptCheck check = checkScript(script);
    if (check.error) {
        std::cerr << check.error->describe() << '\n';
        return cli::kExitScriptFailed;
    }
    for (const std::string& warning : check.warnings) {
        std::cout << warningLine(script, warning) << '\n';
    }
    return check.warnings.empty() ? cli::kExitDone : cli::kExitUnknownNames;
}

int follow(const cli::CommandLine& line, const std::string& home, const ReferenceData& references,
           cli::ConsoleUserInterface& ui, cli::ProgressLine& progress) {
    for (const std::string& folder : line.battleFiles) {
        if (!isFolder(folder)) {
            std::cerr << cli::shortUsage("--watch で見張れるのはフォルダーだけです: " + folder);
            return cli::kExitUsage;
        }
    }
    cli::FollowSetup setup;
    setup.folders = line.battleFiles;
    setup.recursive = line.recursive;
    setup.times.settle = line.settle;
    setup.script = line.script.value_or(AddDirSep(home) + kDefaultScriptName);
    setup.output = line.output.value_or(AddDirSep(home) + kDefaultReportName);
    setup.sort = line.sort;
    setup.memoryBudget = line.memoryBudget;
    return cli::followFolders(setup, references, ui, progress, std::cout);
}

int run(const cli::CommandLine& line) {
    cli::PathList listed;
    if (line.filesFrom) {
        listed = listedFiles(*line.filesFrom);
        if (!listed.problem.empty()) {
            std::cerr << "mirudana-cli: 一覧ファイルを読めません。" << listed.problem << '\n'
                      << *line.filesFrom << '\n';
            return cli::kExitUsage;
        }
    }
    const bool terminal = standardErrorIsTerminal();
    cli::ProgressLine progress(std::cerr, terminal);
    cli::ConsoleUserInterface ui(std::cerr, &progress);

    const std::string home = line.home.value_or(programFolder());
    ProgramData started = loadProgramData(home, ui);
    if (started.endTool) ui.endTool();

    if (line.watch) return follow(line, home, started.references, ui, progress);

    LoadedBattle battle;
    cli::FolderNotes notes;
    VectorFileList files(battleList(line, listed.paths, notes));
    listed = {};
    const bool noFiles = files.count() == 0;
    // A report for standard output is held until the script has ended: the script
    // may hand over several, and only the last one, complete, is wanted.
    const bool piped = line.output == "-";
    std::string pipedReport;
    const std::string output = piped ? std::string(kStandardOutput)
                                     : line.output.value_or(AddDirSep(home) + kDefaultReportName);
    const std::string script = line.script.value_or(AddDirSep(home) + kDefaultScriptName);
    RunSummary summary;
    RunContext context{battle,
                       files,
                       started.references,
                       ui,
                       [&output] { return output; },
                       &progress,
                       &summary,
                       piped ? &pipedReport : nullptr,
                       line.memoryBudget,
                       line.filesFrom == "-" ? std::string() : line.filesFrom.value_or("")};
    RunResult result = runConversion(context, script, line.sort);
    progress.clear();
    if (piped && summary.reportHandedOver && result != RunResult::CompletedUnwritten &&
        !writeToStandardOutput(pipedReport, ui)) {
        result = RunResult::CompletedUnwritten;
    }
    const std::string folders = cli::folderWarning(notes);
    if (!folders.empty()) ui.showWarning(folders);
    if (noFiles) std::cerr << cli::shortUsage();
    if (result != RunResult::CheckFailed) {
        for (const std::string& warning : summary.scriptWarnings) {
            std::cerr << warningLine(script, warning) << '\n';
        }
        if (terminal) std::cerr << runSummaryText(result, summary) << '\n';
    }
    return cli::exitStatusOf(result, summary, !folders.empty());
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
