// The built-in functions, one table row each: text, number and collection helpers,
// the three calls that reach the host, and ReadText, which reads beside the script.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "ttscript/arguments.h"
#include "ttscript/host_link.h"
#include "ttscript/syntax_tree.h"
#include "ttscript/value.h"

namespace ttscript {

// What a built-in reaches outside the script: a host event, or a file beside it.
enum class HostBridge : unsigned char { None, GetData, SetData, RunCmd, BesideFile };

// How a built-in's name meets the script's own names.
enum class Naming : unsigned char {
    Reserved,  // no user function may take the name
    Bare,      // reserved, and also called when written without parentheses (Now)
    Yielding,  // a user function of the same name takes its place, so a script
               // that defines its own function of that name keeps it
};

struct Builtin {
    std::string_view name;  // as documented; looked up ignoring letter case
    int minArguments;
    int maxArguments;  // kAnyNumberOfArguments: no upper limit
    Naming naming;
    // Exactly one of the two is set. Both throw ScriptFailure on bad arguments.
    Value (*call)(Arguments arguments);
    Value (*hostCall)(HostLink& host, Arguments arguments, const CallTarget& site);
    HostBridge bridge = HostBridge::None;  // which host event a hostCall raises
};

inline constexpr int kAnyNumberOfArguments = -1;

std::span<const Builtin> builtins();

// The index of the built-in called `foldedName` (lower case), or -1.
int findBuiltin(std::string_view foldedName);

// Whether `e` is a call the resolver bound to the built-in whose function is `call`,
// for the statements that run a common use of one their own way.
bool callsBuiltin(const Expr& e, Value (*call)(Arguments));

}  // namespace ttscript
