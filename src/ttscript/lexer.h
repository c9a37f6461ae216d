// Splits decoded script text into tokens: one statement per line, `'` comments,
// keywords and names in any letter case.
#pragma once

#include <string_view>
#include <vector>

#include "ttscript/token.h"

namespace ttscript {

// The tokens of `source`, ending with Newline then End. Throws ScriptFailure (a
// syntax error with line and column) on a character it cannot read.
std::vector<Token> tokenize(std::string_view source);

// ASCII letters folded to lower case: names and keywords ignore letter case.
std::string foldCase(std::string_view name);

}  // namespace ttscript
