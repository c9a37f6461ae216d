// The checked form of a script: statements and expressions as the parser builds
// them, with names bound to variable slots, functions and built-ins by the resolver.
// Each node carries only what its kind needs: what few nodes have (calls, host
// keys and items) sits behind a pointer, and names are views of the program's
// name store, so a long script's nodes stay small.
#pragma once

#include <cassert>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "ttscript/engine.h"
#include "ttscript/name_store.h"
#include "ttscript/value.h"

namespace ttscript {

enum class ExprKind : unsigned char {
    Constant,  // constant(): literal, CrLf, Lf, Tab
    Variable,  // variable()
    HostKey,   // hostKey(): [key]
    Negate,
    Not,
    Binary,  // operands[0], then each of steps() with the next operand, left to
             // right: a chain of one precedence is one node. And and Or stop early
    Concat,  // n operands, joined as text
    Call,    // call(): a user function or a built-in, by name; or, when the name is
             // neither, an index written as a call, which the resolver turns into Index
    Index,   // operands[0](operands[1]): an element of a list or dictionary
};

enum class BinaryOp : unsigned char { Add, Sub, Mul, Div, Mod, Eq, Ne, Lt, Gt, Le, Ge, And, Or };

// One operator of a Binary chain, placed at its token.
struct OperatorStep {
    BinaryOp op;
    int line;
    int column;
};

// Where a variable lives once resolved.
struct VariableRef {
    std::string_view name;  // as written, for messages
    bool local = false;
    int slot = -1;
};

// How the host resolved a literal key, or the literal start of a key built at run
// time, when the script was loaded (resolveHostKeys).
struct ResolvedHostKey {
    HostKeyId id = kUnresolvedKey;
    // The literal's length in bytes: what follows it in the key asked is the rest.
    std::size_t literalLength = 0;
};

// `[key]`: the key as written, and how the host resolved it.
struct HostKeyRef {
    std::string key;
    ResolvedHostKey resolved;
};

// What a call calls, once resolved.
struct CallTarget {
    std::string_view name;  // as written
    int function = -1;      // index of a user function
    int builtin = -1;       // index in the built-in table
    // SetData(item, value) alone hands the host its value's source text; other
    // calls leave this null.
    std::unique_ptr<std::string> plain;
    // GetData(key) alone: how the host resolved its literal key or literal start.
    ResolvedHostKey hostKey;
};

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
    ExprKind kind = ExprKind::Constant;
    int line = 0;
    int column = 0;
    std::vector<ExprPtr> operands;
    std::variant<std::monostate, Value, VariableRef, std::unique_ptr<HostKeyRef>,
                 std::unique_ptr<CallTarget>, std::vector<OperatorStep>>
        payload;

    const Value& constant() const { return std::get<Value>(payload); }
    VariableRef& variable() { return std::get<VariableRef>(payload); }
    const VariableRef& variable() const { return std::get<VariableRef>(payload); }
    HostKeyRef& hostKey() { return *std::get<std::unique_ptr<HostKeyRef>>(payload); }
    const HostKeyRef& hostKey() const { return *std::get<std::unique_ptr<HostKeyRef>>(payload); }
    CallTarget& call() { return *std::get<std::unique_ptr<CallTarget>>(payload); }
    const CallTarget& call() const { return *std::get<std::unique_ptr<CallTarget>>(payload); }
    const std::vector<OperatorStep>& steps() const {
        return std::get<std::vector<OperatorStep>>(payload);
    }
};

enum class StmtKind : unsigned char {
    Assign,       // variable() = exprs[0]
    IndexAssign,  // exprs[0](exprs[1]) = exprs[2]
    Append,       // variable() = variable() & exprs...: appends in place
    SetData,      // [item().key] = exprs[0]
    Call,         // exprs[0] is the call
    If,           // exprs: conditions; blocks: one per condition, then an optional Else
    While,        // exprs[0]; blocks[0]
    For,          // variable(); exprs: from, to, optional step; blocks[0]
    ForEach,      // variable(); exprs[0]: the list or dictionary; blocks[0]
    ExitFor,
    ExitWhile,
    Return,  // optional exprs[0]; also Exit Function
};

// `[key] = value`: the item and the value's source text, for the host.
struct HostItem {
    std::string key;
    std::string plain;
};

struct Stmt;
using Block = std::vector<Stmt>;

struct Stmt {
    StmtKind kind = StmtKind::Call;
    // Append, or Assign of a join: a piece may read the variable.
    bool piecesReadVariable = false;
    // Append of one variable that is assigned anew before anything may read it.
    bool lastReadOfPiece = false;
    int line = 0;
    int column = 0;
    std::variant<std::monostate, VariableRef, std::unique_ptr<HostItem>> payload;
    std::vector<ExprPtr> exprs;
    std::vector<Block> blocks;

    VariableRef& variable() { return std::get<VariableRef>(payload); }
    const VariableRef& variable() const { return std::get<VariableRef>(payload); }
    HostItem& item() { return *std::get<std::unique_ptr<HostItem>>(payload); }
    const HostItem& item() const { return *std::get<std::unique_ptr<HostItem>>(payload); }
};

struct FunctionDef {
    std::string name;  // as written
    int line = 0;
    int column = 0;
    std::vector<std::string> parameters;
    Block body;
    int localCount = 0;  // set by the resolver: parameters first
    int file = 0;        // where it is written: an index in Program::files
};

// `Import "path"`, a line of the script's outermost level.
struct ImportLine {
    std::string path;  // as written
    int line = 0;
    int column = 0;
};

struct Program {
    NameStore names;     // what the names in the tree are views of
    std::string folder;  // the script's folder, which ReadText and Import read in
    // The script's file name, then each file it imports, as messages name them.
    std::vector<std::string> files;
    std::vector<std::string> importedPaths;  // each imported file, every link followed
    std::vector<ImportLine> imports;         // this file's own Import lines, in order
    Block main;
    std::vector<FunctionDef> functions;
    int globalCount = 0;  // set by the resolver
};

}  // namespace ttscript
