// Compiles `x(key) = v`, the statement that sets an element of a list or dictionary.
#pragma once

#include "ttscript/expr_code.h"

namespace ttscript {

std::unique_ptr<StmtCode> compileIndexAssign(const Stmt& s, const FunctionTable& functions);

}  // namespace ttscript
