// Compiles a chain of binary operators of one precedence (`a + b - c`, `x = "1"`).
#pragma once

#include <memory>
#include <vector>

#include "ttscript/code.h"

namespace ttscript {

// `operands`: the chain's operands, compiled, in order.
std::unique_ptr<ExprCode> compileBinary(const Expr& e, std::vector<ExprCodePtr> operands);

// What `chain`, a node compileBinary made, gives with `first` in place of its first
// operand's value, for a statement that has that value at hand already.
const Value& chainFrom(Interpreter& run, const ExprCode& chain, const Value& first, Value& into);

}  // namespace ttscript
