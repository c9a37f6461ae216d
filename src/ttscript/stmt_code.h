// Compiles statements into nodes (code.h).
#pragma once

#include "ttscript/expr_code.h"

namespace ttscript {

BlockCode compileBlock(const Block& block, const FunctionTable& functions);

}  // namespace ttscript
