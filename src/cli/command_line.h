// The arguments of mirudana-cli and their usage texts.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace mirudana::cli {

struct CommandLine {
    std::optional<std::string> home;    // the program folder; default: the executable's
    std::optional<std::string> script;  // default: engine.tts in the program folder
    std::optional<std::string> output;  // default: 出力データ.html in the program folder
    bool sort = false;
    bool help = false;
    std::vector<std::string> battleFiles;  // in the order given
};

struct UsageError {
    std::string problem;
};

// Options may stand anywhere before "--"; "--name=value" and "--name value" both
// work. Everything after "--" is a battle file.
std::variant<CommandLine, UsageError> parseCommandLine(const std::vector<std::string>& args);

// The whole help, for "--help" on standard output.
std::string helpText();

// What a usage error prints on standard error.
std::string shortUsage(const std::string& problem);

}  // namespace mirudana::cli
