// The names a script hands the host as literal text, listed without running it, so
// a front end can point out keys, items and commands the host does not know.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ttscript/engine.h"

namespace ttscript {

struct HostLiteral {
    enum class Kind { Query, SetItem, Command };
    Kind kind;
    std::string text;
    int line;
    int column;
    // SetItem: the text assigned, when the right side is a literal text.
    std::optional<std::string> value;
};

// Reads and parses the script like RunScript (giving the same ScriptError on a syntax
// error) and lists every literal key of [..] / GetData("..."), literal item of
// SetData / [item] = ..., and literal verb of RunCmd, in source order. Keys built from
// expressions are not listed.
struct HostLiteralScan {
    std::optional<ScriptError> error;
    std::vector<HostLiteral> literals;
};
HostLiteralScan scanHostLiterals(const std::string& path);

}  // namespace ttscript
