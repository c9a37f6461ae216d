// Builds the syntax tree of a whole script from its tokens. Names stay unbound
// until the resolver runs.
#pragma once

#include <string_view>
#include <vector>

#include "ttscript/syntax_tree.h"
#include "ttscript/token.h"

namespace ttscript {

// Deepest nesting of blocks, parentheses, calls and operators the parser accepts.
inline constexpr int kMaxNesting = 200;

// Throws ScriptFailure (a syntax error naming line and column) on the first error.
// `source` is the text the tokens came from, for the source text of values.
Program parseProgram(const std::vector<Token>& tokens, std::string_view source);

}  // namespace ttscript
