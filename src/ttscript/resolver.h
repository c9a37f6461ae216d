// Binds the names of a parsed script: variables to global or local slots, calls to
// user functions or built-ins, checking argument counts before anything runs.
#pragma once

#include "ttscript/syntax_tree.h"

namespace ttscript {

// Inside a function, its parameters and every name it assigns are local; other
// names read the script's globals. A name assigned nowhere, an unknown function or
// a wrong argument count is a syntax error (ScriptFailure).
void resolveProgram(Program& program);

}  // namespace ttscript
