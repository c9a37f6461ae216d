// The built-in functions: text and number helpers, and the three host bridge calls
// that the interpreter answers itself.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "ttscript/value.h"

namespace ttscript {

enum class HostBridge : unsigned char { None, GetData, SetData, RunCmd };

struct Builtin {
    std::string_view name;  // as documented; looked up ignoring letter case
    int minArguments;
    int maxArguments;
    HostBridge bridge;
    // Null for host bridges. Throws ScriptFailure (unplaced) on bad arguments.
    Value (*call)(std::span<const Value> arguments);
};

// No built-in takes more arguments than this.
inline constexpr std::size_t kMostBuiltinArguments = 3;

std::span<const Builtin> builtins();

// The index of the built-in called `foldedName` (lower case), or -1.
int findBuiltin(std::string_view foldedName);

}  // namespace ttscript
