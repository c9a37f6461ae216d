// Builds the syntax tree of a whole script, reading its tokens as it goes. Names
// stay unbound until the resolver runs.
#pragma once

#include <functional>
#include <string_view>

#include "ttscript/syntax_tree.h"

namespace ttscript {

// Deepest nesting of blocks, parentheses, calls and operators the parser accepts.
inline constexpr int kMaxNesting = 200;

// Told now and then how many bytes of the source are parsed; may throw to cancel.
using ParseProgress = std::function<void(std::size_t parsed, std::size_t total)>;

// Throws ScriptFailure (a syntax error naming line and column) on the first error,
// and the runtime error "メモリが足りません" at the token it was at when memory ran
// out. `source` must outlive the call only.
Program parseProgram(std::string_view source, const ParseProgress& progress = {});

}  // namespace ttscript
