// The executable form of a checked script, compiled once from its syntax tree:
// each expression and statement becomes a node that runs itself, with variables
// bound to slots and built-ins to their functions, so a run looks nothing up. Each
// node keeps the line and column of the tree node it came from, for its errors.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ttscript/syntax_tree.h"
#include "ttscript/value.h"

namespace ttscript {

class Interpreter;

class ExprCode {
  public:
    explicit ExprCode(const Expr& source) : line(source.line), column(source.column) {}
    virtual ~ExprCode() = default;
    ExprCode(const ExprCode&) = delete;
    ExprCode& operator=(const ExprCode&) = delete;

    // The value: a variable or constant where it stands, or `into` holding a value
    // worked out. A variable's value stays as it is while the rest of the statement
    // is worked out: expressions assign nothing, and a user function assigns only
    // its own locals. Throws ScriptFailure.
    virtual const Value& eval(Interpreter& run, Value& into) const = 0;
    // Whether the value is true, for a condition: a comparison answers without
    // making the number it would give. Errors are placed as eval's, and at this
    // node for a value that cannot be a condition. Throws ScriptFailure.
    virtual bool test(Interpreter& run) const;

    int line;
    int column;
    // A constant, or a variable read as it stands: most operands are one, and
    // valueOf (interpreter.h) reads them without a call.
    enum class Leaf : unsigned char { None, Constant, Local, Global };
    Leaf leaf = Leaf::None;
    std::uint32_t slot = 0;           // of a Local or Global; next to `leaf`, to pack
    const Value* constant = nullptr;  // of a Constant
};

using ExprCodePtr = std::unique_ptr<const ExprCode>;

// How a statement ends: on to the next, or out of a loop or function.
enum class Flow : unsigned char { Normal, ExitFor, ExitWhile, Return };

class StmtCode {
  public:
    explicit StmtCode(const Stmt& source) : line(source.line), column(source.column) {}
    virtual ~StmtCode() = default;
    StmtCode(const StmtCode&) = delete;
    StmtCode& operator=(const StmtCode&) = delete;

    virtual Flow exec(Interpreter& run) const = 0;

    int line;
    int column;
};

using BlockCode = std::vector<std::unique_ptr<const StmtCode>>;

struct FunctionCode {
    BlockCode body;
    std::size_t localCount = 0;
    const std::string* file = nullptr;  // the imported file it is written in, or null
};

struct ProgramCode {
    BlockCode main;
    std::vector<FunctionCode> functions;
    std::size_t globalCount = 0;
};

// Compiles the resolved `program`, letting its syntax tree go as it goes, so the two
// forms are not held whole at once. What is left of `program` must outlive what
// this returns: the code names variables by views of its name store, and imported
// functions by its file names.
ProgramCode compileProgram(Program& program);

}  // namespace ttscript
