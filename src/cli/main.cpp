// mirudana-cli: the conversion run for batch and headless use. See --help.
#include <iostream>
#include <string>
#include <variant>
#include <vector>

#include "app/paths.h"
#include "app/terminal.h"
#include "battle/file_list.h"
#include "battle/loaded_battle.h"
#include "cli/command_line.h"
#include "cli/console_user_interface.h"
#include "cli/exit_status.h"
#include "cli/progress_line.h"
#include "report/conversion_run.h"
#include "startup/startup.h"

namespace {

using namespace mirudana;

int run(const cli::CommandLine& line) {
    cli::ProgressLine progress(std::cerr, standardErrorIsTerminal());
    cli::ConsoleUserInterface ui(std::cerr, &progress);

    const std::string home = line.home.value_or(programFolder());
    Startup started = startUp(home, ui);
    if (started.endTool) ui.endTool();

    LoadedBattle battle;
    VectorFileList files(line.battleFiles);
    const std::string output = line.output.value_or(AddDirSep(home) + kDefaultReportName);
    RunSummary summary;
    RunContext context{battle,    files,   started.references, ui, [&output] { return output; },
                       &progress, &summary};
    RunResult result = runConversion(
        context, line.script.value_or(AddDirSep(home) + kDefaultScriptName), line.sort);
    progress.clear();
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
    return run(line);
}
