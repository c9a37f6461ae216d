// Runs a checked script: walks the syntax tree, keeps the variables and raises the
// host's events through HostLink.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "ttscript/host_link.h"
#include "ttscript/syntax_tree.h"

namespace ttscript {

// Deepest chain of user function calls a script may make.
inline constexpr int kMaxCallDepth = 200;

class Interpreter {
  public:
    Interpreter(const Program& program, EngineEvents* events,
                const std::atomic<bool>& stopRequested);

    // Runs the main block to its end. Throws ScriptFailure (a placed runtime error).
    void run();

  private:
    enum class Flow : unsigned char { Normal, ExitFor, ExitWhile, Return };

    Flow execBlock(const Block& block);
    Flow execStatement(const Stmt& s);
    Flow execIf(const Stmt& s);
    Flow execWhile(const Stmt& s);
    Flow execFor(const Stmt& s);
    void execAppend(const Stmt& s);

    Value eval(const Expr& e);
    Value evalBinary(const Expr& e);
    Value evalConcat(const Expr& e);
    void appendPieces(std::span<const ExprPtr> pieces, std::string& out, std::size_t base);
    Value callFunction(const Expr& e);
    Value callBuiltin(const Expr& e);

    Value& variable(const VariableRef& ref);
    const Value& readVariable(const VariableRef& ref, int line, int column);
    double number(const Value& v, int line, int column) const;
    void checkStop(int line, int column) const;

    const Program& program_;
    HostLink host_;
    const std::atomic<bool>& stopRequested_;
    std::vector<Value> globals_;
    std::vector<Value> stack_;   // the locals of every call under way
    std::size_t localBase_ = 0;  // where the running function's locals start
    Value returnValue_;
    int callDepth_ = 0;
    std::uintptr_t stackBase_ = 0;
    std::uintptr_t stackBudget_ = 0;
};

}  // namespace ttscript
