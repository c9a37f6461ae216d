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
    int maxArguments;  // kAnyNumberOfArguments: no upper limit
    HostBridge bridge;
    // The first edition's names, which no user function may take. A user function
    // named like a later built-in wins over it, so scripts written before it still run.
    bool reserved;
    // Null for host bridges. Throws ScriptFailure (unplaced) on bad arguments.
    Value (*call)(std::span<const Value> arguments);
};

inline constexpr int kAnyNumberOfArguments = -1;

std::span<const Builtin> builtins();

// The index of the built-in called `foldedName` (lower case), or -1.
int findBuiltin(std::string_view foldedName);

}  // namespace ttscript
