// Builds the syntax tree of a whole script from its tokens. Names stay unbound
// until the resolver runs.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "ttscript/syntax_tree.h"
#include "ttscript/token.h"

namespace ttscript {

// Deepest nesting of blocks, parentheses, calls and operators the parser accepts.
inline constexpr int kMaxNesting = 200;

// Told now and then how many of the tokens are parsed; may throw to cancel.
using ParseProgress = std::function<void(std::size_t parsed, std::size_t total)>;

// Throws ScriptFailure (a syntax error naming line and column) on the first error,
// and the runtime error "メモリが足りません" at the token it was at when memory ran
// out. `source` is the text the tokens came from, for the source text of values.
Program parseProgram(const std::vector<Token>& tokens, std::string_view source,
                     const ParseProgress& progress = {});

}  // namespace ttscript
