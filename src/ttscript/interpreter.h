// Runs a checked script: walks the syntax tree, keeps the variables and raises the
// host's events through HostLink.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

#include "ttscript/host_link.h"
#include "ttscript/run_memory.h"
#include "ttscript/script_failure.h"
#include "ttscript/syntax_tree.h"

namespace ttscript {

// Deepest chain of user function calls a script may make.
inline constexpr int kMaxCallDepth = 200;

class Interpreter {
  public:
    // The script's texts and collections may take up to `memoryBudget` bytes.
    Interpreter(const Program& program, EngineEvents* events,
                const std::atomic<bool>& stopRequested, std::size_t memoryBudget);

    // Runs the main block to its end. Throws ScriptFailure, placed at the statement
    // or expression that was being worked out.
    void run();

  private:
    enum class Flow : unsigned char { Normal, ExitFor, ExitWhile, Return };

    Flow execBlock(const Block& block);
    Flow execStatement(const Stmt& s);
    Flow execIf(const Stmt& s);
    Flow execWhile(const Stmt& s);
    Flow execFor(const Stmt& s);
    Flow execForEach(const Stmt& s);
    void execIndexAssign(const Stmt& s);
    void execAppend(const Stmt& s);
    bool handOver(const Stmt& s);

    Value eval(const Expr& e);
    Value evalBinary(const Expr& e);
    // One step of a chain; `leftExpr` places an error in the value so far.
    Value applyOperator(const OperatorStep& step, Value left, const Expr& leftExpr,
                        const Expr& rightExpr);
    Value evalConcat(const Expr& e);
    void appendPieces(std::span<const ExprPtr> pieces, std::string& out, int line, int column);
    Value callFunction(const Expr& e);
    Value callBuiltin(const Expr& e);
    Value evalIndex(const Expr& e);
    Value collectionAt(const Expr& e);

    Value& variable(const VariableRef& ref);
    const Value& readVariable(const VariableRef& ref, int line, int column);
    double number(const Expr& e);
    bool condition(const Expr& e);
    void checkStop() const;
    // Raises the host's Tick when enough script time has passed since the last.
    void tickNow();
    // A stop check and a count toward the next clock check, at each statement and at
    // each turn of a loop, so that a loop with an empty body still reaches the host.
    void checkpoint();

    // Marks where the script is, for the runtime errors raised from here on.
    void at(int line, int column) { position_.line = line, position_.column = column; }
    void at(const Expr& e) { at(e.line, e.column); }
    void at(const Stmt& s) { at(s.line, s.column); }

    RunMemory memory_;  // first in, last out: every value below refers into it
    const Program& program_;
    HostLink host_;
    const std::atomic<bool>& stopRequested_;
    std::vector<Value> globals_;
    // The locals of every call under way. A deque grows on demand and never moves
    // what it holds, so a reference to a local stays valid while callees run.
    std::deque<Value> stack_;
    std::size_t localBase_ = 0;  // where the running function's locals start
    Value returnValue_;
    int callDepth_ = 0;
    std::uintptr_t stackBase_ = 0;
    SourcePosition position_;
    int statementsToClockCheck_;
    std::chrono::steady_clock::time_point lastTick_;
    std::uintptr_t stackBudget_ = 0;
};

}  // namespace ttscript
