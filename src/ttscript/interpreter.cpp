#include "ttscript/interpreter.h"

#include <new>
#include <utility>

#include "platform/thread_stack.h"
#include "ttscript/script_failure.h"

namespace ttscript {
namespace {

std::uintptr_t stackPosition() {
    char marker = 0;
    // Kept in a variable: returning the address directly draws clang's warning.
    auto position = reinterpret_cast<std::uintptr_t>(&marker);
    return position;
}

[[noreturn]] void callsTooDeep(const std::string& why) {
    throwRuntimeError("関数の呼び出しが深すぎます（" + why + "）");
}

// A host's Tick comes about this often while a script runs. The clock is read only
// every kStatementsPerClockCheck statements, far fewer than run in that time.
constexpr auto kTickInterval = std::chrono::milliseconds(50);
constexpr int kStatementsPerClockCheck = 4096;

std::uintptr_t distance(std::uintptr_t a, std::uintptr_t b) { return a > b ? a - b : b - a; }

}  // namespace

Interpreter::Interpreter(const ProgramCode& code, const Program& program, EngineEvents* events,
                         const std::atomic<bool>& stopRequested, std::size_t memoryBudget)
    : memory_(memoryBudget),
      code_(code),
      host_(events, stopRequested, program.folder),
      stopRequested_(stopRequested),
      globals_(code.globalCount),
      statementsToClockCheck_(kStatementsPerClockCheck),
      lastTick_(std::chrono::steady_clock::now()) {}

void Interpreter::run() {
    RunPositionScope placing(position_);
    // Call depth and parser nesting are each limited, but together (deep expressions
    // in every frame of a deep recursion) they could still exhaust the stack, so calls
    // also stop at three quarters of what the running thread has left; the rest is
    // for the host's answers and the frames between two calls.
    stackBase_ = stackPosition();
    std::uintptr_t room = mirudana::stackRoomBelow(stackBase_);
    stackBudget_ = room - room / 4;
    try {
        execBlock(code_.main);
    } catch (const std::bad_alloc&) {
        // What the script holds goes first, so that the error itself has room.
        globals_.clear();
        frames_.clear();
        returnValue_ = Value();
        throwRuntimeError("メモリが足りません");
    }
}

void Interpreter::tickNow() {
    statementsToClockCheck_ = kStatementsPerClockCheck;
    auto now = std::chrono::steady_clock::now();
    if (now - lastTick_ < kTickInterval) return;
    lastTick_ = now;
    host_.tick();
}

void Interpreter::callFunction(const FunctionCode& fn, const ExprCode& call,
                               const std::vector<ExprCodePtr>& arguments, Value& into) {
    at(call);
    if (callDepth_ >= kMaxCallDepth) {
        callsTooDeep("上限 " + std::to_string(kMaxCallDepth) + " 段");
    }
    if (distance(stackBase_, stackPosition()) > stackBudget_) {
        callsTooDeep(std::to_string(callDepth_ + 1) + " 段目でスタックが足りません");
    }
    // The frame sits on top of the stack: the arguments, then the other locals.
    // Its locals count against the budget for as long as the call lasts.
    struct Restore {
        Interpreter& self;
        Value* frame;
        std::size_t count;
        Value* callerFrame;
        int depth;
        std::size_t frameBytes;
        const ExprCode& call;
        const std::string* callerFile;
        // Back at the call: read from the call rather than saved from position_,
        // whose words were just stored apart and would be read back as one.
        ~Restore() {
            if (frame) self.frames_.pop(frame, count);
            self.memory_.give(frameBytes);
            self.frame_ = callerFrame, self.callDepth_ = depth;
            self.position_ = {call.line, call.column, callerFile};
        }
    } restore{*this,  nullptr,       fn.localCount,
              frame_, callDepth_,    fn.localCount * sizeof(Value),
              call,   position_.file};
    memory_.take(restore.frameBytes);
    restore.frame = frames_.push(fn.localCount);
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        Value& slot = restore.frame[i];
        const Value& v = valueOf(*this, *arguments[i], slot);
        if (&v != &slot) slot = v;
    }
    // The body's errors name the file it was imported from.
    position_.file = fn.file;
    frame_ = restore.frame;
    ++callDepth_;
    // A body that ends without Return gives "", whatever a call inside it returned.
    if (execBlock(fn.body) != Flow::Return) {
        into = Value::emptyText();
    } else {
        into = std::exchange(returnValue_, Value());
    }
}

double numberOf(Interpreter& run, const ExprCode& e) {
    Value worked;
    const Value& v = valueOf(run, e, worked);
    run.at(e);
    return v.requireNumber();
}

bool ExprCode::test(Interpreter& run) const {
    Value worked;
    const Value& v = eval(run, worked);
    run.at(*this);
    return v.isTrue();
}

void notACollection(Interpreter& run, const ExprCode& e, const Value& v, CollectionUse use) {
    run.at(e);
    std::string kind = v.isNumber() ? "数値" : "文字列";
    if (use == CollectionUse::Walk) {
        throwRuntimeError("For Each で回せるのはリストか辞書です（" + kind + "は回せません）");
    }
    throwRuntimeError(kind + "には位置やキーで要素を指定できません（リストか辞書ではありません）");
}

}  // namespace ttscript
