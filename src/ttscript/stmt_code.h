// Compiles statements into nodes (code.h).
#pragma once

#include "ttscript/expr_code.h"

namespace ttscript {

// Lets each statement of `block` go once it is compiled: the code keeps all it needs
// but the names, which are views of the program's name store.
BlockCode compileBlock(Block& block, const FunctionTable& functions);

}  // namespace ttscript
