// The static check's view of a script: every host key, item and command it names
// literally, found without running it, so a front end can warn about typos first.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ttscript/engine.h"

namespace ttscript {

struct HostLiteral {
    enum class Kind { Query, SetItem, Command, BesideFile };
    Kind kind;
    std::string text;
    int line;
    int column;
    // SetItem: the literal text assigned, when the value is one (`[対象] = "client"`).
    std::optional<std::string> value;
    // Inside the body (or the condition) of a loop of the block it is written in.
    bool inLoop = false;
    // The imported file it is written in, as the Import names it; "" in the script.
    std::string file = {};
};

struct HostLiteralScan {
    std::optional<ScriptError> error;
    std::vector<HostLiteral> literals;
    // Whether some RunCmd names its verb by an expression, which the list cannot show.
    bool someVerbNotLiteral = false;
};

// Reads and parses the script like RunScript (giving the same ScriptError on a
// syntax error) and lists every literal key of [..] / GetData("..."), literal item of
// SetData / [item] = ..., literal verb of RunCmd and literal file name of ReadText,
// in source order: the script's own first, then each imported file's. Keys built
// from expressions are not listed.
HostLiteralScan scanHostLiterals(const std::string& path);

// The same for the script `engine` has loaded (TTSA::LoadScript), read only once.
HostLiteralScan scanHostLiterals(const TTSA& engine);

}  // namespace ttscript
