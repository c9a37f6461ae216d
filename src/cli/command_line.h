// The arguments of mirudana-cli and their usage texts.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace mirudana::cli {

struct CommandLine {
    std::optional<std::string> home;    // the program folder; default: the executable's
    std::optional<std::string> script;  // default: engine.tts in the program folder
    // Default: 出力データ.html in the program folder; "-" is standard output.
    std::optional<std::string> output;
    std::optional<std::string> filesFrom;  // one battle file a line; "-" is standard input
    std::optional<std::string> check;      // the script to check instead of running
    std::size_t memoryBudget = 0;          // --memory-limit in bytes; 0: the engine's default
    bool sort = false;
    bool recursive = false;  // folders add the battle files of their sub-folders too
    bool watch = false;      // follow the folders, running again as battles are saved
    std::chrono::milliseconds settle{1000};  // --settle: how long a new file must stand still
    bool help = false;
    bool version = false;
    std::vector<std::string> battleFiles;  // files and folders, in the order given
};

struct UsageError {
    std::string problem;
};

// Options may stand anywhere before "--"; "--name=value" and "--name value" both
// work. Everything after "--" is a battle file.
std::variant<CommandLine, UsageError> parseCommandLine(const std::vector<std::string>& args);

// The whole help, for "--help" on standard output.
std::string helpText();

// The synopsis and where to read more, after a usage error or a run without files.
std::string shortUsage();

// What a usage error prints on standard error.
std::string shortUsage(const std::string& problem);

}  // namespace mirudana::cli
