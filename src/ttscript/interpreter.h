// Runs a compiled script: keeps the variables and the call frames, the place
// errors are reported at, and raises the host's events through HostLink. The
// compiled nodes (code.h) do the work and reach the run's state through here.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ttscript/code.h"
#include "ttscript/frame_stack.h"
#include "ttscript/host_link.h"
#include "ttscript/run_memory.h"
#include "ttscript/script_failure.h"

namespace ttscript {

// Deepest chain of user function calls a script may make.
inline constexpr int kMaxCallDepth = 200;

class Interpreter {
  public:
    // The script's texts and collections may take up to `memoryBudget` bytes.
    Interpreter(const ProgramCode& code, const Program& program, EngineEvents* events,
                const std::atomic<bool>& stopRequested, std::size_t memoryBudget);

    // Runs the main block to its end. Throws ScriptFailure, placed at the statement
    // or expression that was being worked out.
    void run();

    // For the compiled nodes.
    Flow execBlock(const BlockCode& block) {
        for (const auto& s : block) {
            at(s->line, s->column);
            checkpoint();
            Flow flow = s->exec(*this);
            if (flow != Flow::Normal) return flow;
        }
        return Flow::Normal;
    }
    // Calls `fn` at `call` with the arguments `arguments` give, into `into`.
    void callFunction(const FunctionCode& fn, const ExprCode& call,
                      const std::vector<ExprCodePtr>& arguments, Value& into);
    Value& global(std::size_t slot) { return globals_[slot]; }
    Value& local(std::size_t slot) { return frame_[slot]; }
    HostLink& host() { return host_; }
    Value& returnValue() { return returnValue_; }
    // A stop check and a count toward the next clock check, at each statement and at
    // each turn of a loop, so that a loop with an empty body still reaches the host.
    void checkpoint() {
        if (stopRequested_.load(std::memory_order_relaxed)) throwStopped();
        if (--statementsToClockCheck_ == 0) tickNow();
    }
    // Marks where the script is, for the runtime errors raised from here on.
    void at(int line, int column) { position_.line = line, position_.column = column; }
    void at(const ExprCode& e) { at(e.line, e.column); }
    void at(const StmtCode& s) { at(s.line, s.column); }

  private:
    // Raises the host's Tick when enough script time has passed since the last.
    void tickNow();

    RunMemory memory_;  // first in, last out: every value below refers into it
    const ProgramCode& code_;
    HostLink host_;
    const std::atomic<bool>& stopRequested_;
    std::vector<Value> globals_;
    FrameStack frames_;
    Value* frame_ = nullptr;  // the running function's locals
    Value returnValue_;
    int callDepth_ = 0;
    std::uintptr_t stackBase_ = 0;
    SourcePosition position_;
    int statementsToClockCheck_;
    std::chrono::steady_clock::time_point lastTick_;
    std::uintptr_t stackBudget_ = 0;
};

// What `e.eval` gives.
inline const Value& valueOf(Interpreter& run, const ExprCode& e, Value& into) {
    if (e.leaf == ExprCode::Leaf::Constant) return *e.constant;
    if (e.leaf != ExprCode::Leaf::None) {
        const Value& v = e.leaf == ExprCode::Leaf::Local ? run.local(e.slot) : run.global(e.slot);
        if (!v.isUnset()) return v;
    }
    return e.eval(run, into);
}

// Puts `v`, which valueOf gave with `worked` as its room, into `to`: a value worked
// out is moved, not copied.
inline void put(Value& to, const Value& v, Value& worked) {
    if (&v == &worked) {
        to = std::move(worked);
    } else {
        to = v;
    }
}

// The number or truth `e` gives; anything else is a runtime error placed at `e`.
double numberOf(Interpreter& run, const ExprCode& e);
inline bool conditionOf(Interpreter& run, const ExprCode& e) {
    if (e.leaf == ExprCode::Leaf::None) return e.test(run);
    Value worked;
    const Value& v = valueOf(run, e, worked);
    run.at(e);
    return v.isTrue();
}

// What a list or dictionary is needed for, which the error for anything else names.
enum class CollectionUse : unsigned char { Index, Walk };

// The runtime error for `v`, which `e` gave, where a list or dictionary is needed.
[[noreturn]] void notACollection(Interpreter& run, const ExprCode& e, const Value& v,
                                 CollectionUse use);

// The list or dictionary `e` gives; anything else is a runtime error placed at `e`.
// `held` takes a share of it when `keepShare`: when what runs while it is in use may
// drop every other share, as a loop's body may.
inline Collection& collectionOf(Interpreter& run, const ExprCode& e, Value& held, bool keepShare,
                                CollectionUse use = CollectionUse::Index) {
    const Value& v = valueOf(run, e, held);
    if (!v.isCollection()) [[unlikely]]
        notACollection(run, e, v, use);
    if (keepShare && &v != &held) held = v;
    return *v.collection();
}

}  // namespace ttscript
