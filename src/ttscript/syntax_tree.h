// The checked form of a script: statements and expressions as the parser builds
// them, with names bound to variable slots, functions and built-ins by the resolver.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ttscript/value.h"

namespace ttscript {

enum class ExprKind : unsigned char {
    Constant,  // literal, CrLf, Lf, Tab
    Variable,
    HostKey,  // [key]
    Negate,
    Not,
    Binary,  // op, two operands
    And,     // short-circuit, two operands
    Or,
    Concat,  // n operands, joined as text
    Call,    // a user function or a built-in, by name; or, when the name is neither, an
             // index written as a call, which the resolver turns into Index
    Index,   // operands[0](operands[1]): an element of a list or dictionary
};

enum class BinaryOp : unsigned char { Add, Sub, Mul, Div, Mod, Eq, Ne, Lt, Gt, Le, Ge };

// Where a variable lives once resolved.
struct VariableRef {
    std::string name;  // as written, for messages
    bool local = false;
    int slot = -1;
};

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
    ExprKind kind = ExprKind::Constant;
    BinaryOp op = BinaryOp::Add;
    int line = 0;
    int column = 0;
    Value constant;
    VariableRef variable;
    std::string text;  // the host key; the callee's name as written
    std::vector<ExprPtr> operands;
    std::vector<std::string> argumentSources;  // the source text of each call argument
    int function = -1;                         // resolved: index of a user function
    int builtin = -1;                          // resolved: index in the built-in table
};

enum class StmtKind : unsigned char {
    Assign,       // variable = exprs[0]
    IndexAssign,  // exprs[0](exprs[1]) = exprs[2]
    Append,       // variable = variable & exprs...: appends in place
    SetData,      // [key] = exprs[0]
    Call,         // exprs[0] is the call
    If,           // exprs: conditions; blocks: one per condition, then an optional Else
    While,        // exprs[0]; blocks[0]
    For,          // variable; exprs: from, to, optional step; blocks[0]
    ForEach,      // variable; exprs[0]: the list or dictionary; blocks[0]
    ExitFor,
    ExitWhile,
    Return,  // optional exprs[0]; also Exit Function
};

struct Stmt;
using Block = std::vector<Stmt>;

struct Stmt {
    StmtKind kind = StmtKind::Call;
    int line = 0;
    int column = 0;
    VariableRef variable;
    std::string key;                // SetData: the item
    std::string plain;              // SetData: the source text of the value
    bool piecesReadTarget = false;  // Append: a piece may read the variable
    std::vector<ExprPtr> exprs;
    std::vector<Block> blocks;
};

struct FunctionDef {
    std::string name;  // as written
    int line = 0;
    int column = 0;
    std::vector<std::string> parameters;
    Block body;
    int localCount = 0;  // set by the resolver: parameters first
};

struct Program {
    Block main;
    std::vector<FunctionDef> functions;
    std::vector<std::string> globalNames;  // set by the resolver, by slot
};

}  // namespace ttscript
