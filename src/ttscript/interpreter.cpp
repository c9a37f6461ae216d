#include "ttscript/interpreter.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <new>
#include <utility>

#include "platform/thread_stack.h"
#include "ttscript/builtins.h"
#include "ttscript/collection.h"
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

Value truth(bool b) { return Value::number(b ? 1 : 0); }

}  // namespace

Interpreter::Interpreter(const Program& program, EngineEvents* events,
                         const std::atomic<bool>& stopRequested, std::size_t memoryBudget)
    : memory_(memoryBudget),
      program_(program),
      host_(events, stopRequested, program.folder),
      stopRequested_(stopRequested),
      globals_(program.globalNames.size()),
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
        execBlock(program_.main);
    } catch (const std::bad_alloc&) {
        // What the script holds goes first, so that the error itself has room.
        globals_.clear();
        stack_.clear();
        returnValue_ = Value();
        throwRuntimeError("メモリが足りません");
    }
}

void Interpreter::checkStop() const {
    if (stopRequested_.load(std::memory_order_relaxed)) throwStopped();
}

void Interpreter::tickNow() {
    statementsToClockCheck_ = kStatementsPerClockCheck;
    auto now = std::chrono::steady_clock::now();
    if (now - lastTick_ < kTickInterval) return;
    lastTick_ = now;
    host_.tick();
}

void Interpreter::checkpoint() {
    checkStop();
    if (--statementsToClockCheck_ == 0) tickNow();
}

Interpreter::Flow Interpreter::execBlock(const Block& block) {
    for (const Stmt& s : block) {
        Flow flow = execStatement(s);
        if (flow != Flow::Normal) return flow;
    }
    return Flow::Normal;
}

Interpreter::Flow Interpreter::execStatement(const Stmt& s) {
    at(s);
    checkpoint();
    switch (s.kind) {
        case StmtKind::Assign:
            variable(s.variable()) = eval(*s.exprs[0]);
            break;
        case StmtKind::IndexAssign:
            execIndexAssign(s);
            break;
        case StmtKind::Append:
            execAppend(s);
            break;
        case StmtKind::SetData: {
            Value v = eval(*s.exprs[0]);
            at(s);
            host_.setData(s.item().key, v, s.item().plain);
            break;
        }
        case StmtKind::Call:
            eval(*s.exprs[0]);
            break;
        case StmtKind::If:
            return execIf(s);
        case StmtKind::While:
            return execWhile(s);
        case StmtKind::For:
            return execFor(s);
        case StmtKind::ForEach:
            return execForEach(s);
        case StmtKind::ExitFor:
            return Flow::ExitFor;
        case StmtKind::ExitWhile:
            return Flow::ExitWhile;
        case StmtKind::Return:
            returnValue_ = s.exprs.empty() ? Value::text("") : eval(*s.exprs[0]);
            return Flow::Return;
    }
    return Flow::Normal;
}

// `x = x & a & b`: the pieces go onto the end of x's own text. A piece that reads x
// must see it unchanged (`x = x & x & Len(x)`): then all are worked out first.
void Interpreter::execAppend(const Stmt& s) {
    readVariable(s.variable(), s.line, s.column);
    if (s.lastReadOfPiece && handOver(s)) return;
    if (s.piecesReadVariable) {
        std::string tail;
        appendPieces(s.exprs, tail, s.line, s.column);
        std::string& text = variable(s.variable()).ownText();
        reserveToAppend(text, text.size() + tail.size());
        text += tail;
    } else {
        std::string& text = variable(s.variable()).ownText();
        appendPieces(s.exprs, text, s.line, s.column);
    }
    variable(s.variable()).textGrew();
}

// `x = x & y` where y is assigned anew before anything reads it: when y's text is
// the longer, x's goes in front of it in y's own buffer rather than y's being copied
// after x's, and x takes the buffer over. Saves a copy of a whole page built in
// parts, and holding it twice. False when the usual way is the better one.
bool Interpreter::handOver(const Stmt& s) {
    const Expr& piece = *s.exprs[0];
    readVariable(piece.variable(), piece.line, piece.column);
    Value& from = variable(piece.variable());
    Value& to = variable(s.variable());
    if (!from.isText() || !to.isText() || from.rawText().size() < to.rawText().size()) {
        return false;
    }
    std::string& text = from.ownText();
    std::string_view head = to.rawText();
    at(s);
    reserveToAppend(text, text.size() + head.size());
    text.insert(0, head);
    from.textGrew();
    to = std::move(from);
    return true;
}

// Pieces are worked out a few at a time so that `out` grows once for each batch.
// Running out of memory is placed at (line, column), the statement or the `&`.
void Interpreter::appendPieces(std::span<const ExprPtr> pieces, std::string& out, int line,
                               int column) {
    constexpr std::size_t kBatch = 8;
    for (std::size_t first = 0; first < pieces.size(); first += kBatch) {
        // Texts of constants and variables are read in place: no later piece can
        // change them, as expressions assign nothing, and the stack of locals grows
        // without moving the ones it holds.
        std::array<const Value*, kBatch> texts;
        std::array<Value, kBatch> worked;
        std::size_t count = std::min(kBatch, pieces.size() - first);
        std::size_t total = out.size();
        for (std::size_t i = 0; i < count; ++i) {
            const Expr& piece = *pieces[first + i];
            if (piece.kind == ExprKind::Constant) {
                texts[i] = &piece.constant();
            } else if (piece.kind == ExprKind::Variable) {
                texts[i] = &readVariable(piece.variable(), piece.line, piece.column);
            } else {
                worked[i] = eval(piece);
                texts[i] = &worked[i];
            }
            if (texts[i]->isNumber()) {
                worked[i] = Value::text(texts[i]->toText());
                texts[i] = &worked[i];
            } else if (texts[i]->isCollection()) {
                at(piece);
                collectionMisused(*texts[i], "文字列として");
            }
            total += texts[i]->rawText().size();
        }
        at(line, column);
        reserveToAppend(out, total);
        for (std::size_t i = 0; i < count; ++i) out += texts[i]->rawText();
    }
}

Interpreter::Flow Interpreter::execIf(const Stmt& s) {
    for (std::size_t i = 0; i < s.exprs.size(); ++i) {
        if (condition(*s.exprs[i])) return execBlock(s.blocks[i]);
    }
    if (s.blocks.size() > s.exprs.size()) return execBlock(s.blocks.back());
    return Flow::Normal;
}

Interpreter::Flow Interpreter::execWhile(const Stmt& s) {
    while (condition(*s.exprs[0])) {
        at(s);
        checkpoint();
        Flow flow = execBlock(s.blocks[0]);
        if (flow == Flow::ExitWhile) break;
        if (flow != Flow::Normal) return flow;
    }
    return Flow::Normal;
}

Interpreter::Flow Interpreter::execFor(const Stmt& s) {
    double from = number(*s.exprs[0]);
    double to = number(*s.exprs[1]);
    double step = 1;
    if (s.exprs.size() > 2) {
        step = number(*s.exprs[2]);
        if (step == 0) throwRuntimeError("'Step' に 0 は使えません");
    }
    variable(s.variable()) = Value::number(from);
    for (;;) {
        at(s);
        double i = variable(s.variable()).requireNumber();
        if (step > 0 ? i > to : i < to) break;
        checkpoint();
        Flow flow = execBlock(s.blocks[0]);
        if (flow == Flow::ExitFor) break;
        if (flow != Flow::Normal) return flow;
        at(s);
        double current = variable(s.variable()).requireNumber();
        double next = current + step;
        if (!std::isfinite(next)) throwRuntimeError("計算結果が大きすぎます");
        // A step lost in rounding would loop for ever without a host event to stop it.
        if (next == current) throwRuntimeError("'Step' が小さすぎて 'For' の変数が変わりません");
        variable(s.variable()) = Value::number(next);
    }
    return Flow::Normal;
}

// For Each walks a list's elements or a dictionary's keys, in order. The walked
// collection keeps its shape meanwhile; its elements may be replaced.
Interpreter::Flow Interpreter::execForEach(const Stmt& s) {
    // Held here: a body that drops every other share must not free it.
    Value held = collectionAt(*s.exprs[0]);
    Collection& c = *held.collection();
    WalkGuard walking(c);
    std::size_t positions = c.isDict() ? c.entries().size() : c.items().size();
    for (std::size_t i = 0; i < positions; ++i) {
        if (c.isDict() && c.entries()[i].removed) continue;
        at(s);
        checkpoint();
        variable(s.variable()) = c.isDict() ? Value::text(c.entries()[i].key) : c.items()[i];
        Flow flow = execBlock(s.blocks[0]);
        if (flow == Flow::ExitFor) break;
        if (flow != Flow::Normal) return flow;
    }
    return Flow::Normal;
}

// `x(key) = v`: the collection and the key are worked out before the value.
void Interpreter::execIndexAssign(const Stmt& s) {
    Value held = collectionAt(*s.exprs[0]);
    Collection& c = *held.collection();
    Value key = eval(*s.exprs[1]);
    Value v = eval(*s.exprs[2]);
    at(*s.exprs[1]);
    elementToAssign(c, key) = std::move(v);
}

// The list or dictionary `e` gives; anything else is a runtime error.
Value Interpreter::collectionAt(const Expr& e) {
    Value v = eval(e);
    if (!v.isCollection()) {
        at(e);
        throwRuntimeError(std::string(v.isNumber() ? "数値" : "文字列") +
                          "には位置やキーで要素を指定できません（リストか辞書ではありません）");
    }
    return v;
}

Value Interpreter::evalIndex(const Expr& e) {
    Value held = collectionAt(*e.operands[0]);
    Collection& c = *held.collection();
    Value key = eval(*e.operands[1]);
    at(*e.operands[1]);
    return element(c, key);
}

Value& Interpreter::variable(const VariableRef& ref) {
    assert(ref.slot >= 0 && "the resolver binds every variable");
    auto slot = static_cast<std::size_t>(ref.slot);
    return ref.local ? stack_[localBase_ + slot] : globals_[slot];
}

const Value& Interpreter::readVariable(const VariableRef& ref, int line, int column) {
    const Value& v = variable(ref);
    if (v.isUnset()) {
        at(line, column);
        throwRuntimeError("変数 '" + ref.name + "' にまだ値が入っていません");
    }
    return v;
}

// The number `e` gives; anything else is a runtime error placed at `e`.
double Interpreter::number(const Expr& e) {
    Value v = eval(e);
    at(e);
    return v.requireNumber();
}

bool Interpreter::condition(const Expr& e) {
    Value v = eval(e);
    at(e);
    return v.isTrue();
}

Value Interpreter::eval(const Expr& e) {
    switch (e.kind) {
        case ExprKind::Constant:
            return e.constant();
        case ExprKind::Variable:
            return readVariable(e.variable(), e.line, e.column);
        case ExprKind::HostKey:
            at(e);
            return Value::text(host_.getData(e.hostKey().key, e.hostKey().resolved));
        case ExprKind::Negate: {
            Value v = eval(*e.operands[0]);
            at(e);
            return Value::number(-v.requireNumber());
        }
        case ExprKind::Not:
            return truth(!condition(*e.operands[0]));
        case ExprKind::Binary:
            return evalBinary(e);
        case ExprKind::Concat:
            return evalConcat(e);
        case ExprKind::Call:
            return e.call().function >= 0 ? callFunction(e) : callBuiltin(e);
        case ExprKind::Index:
            return evalIndex(e);
    }
    return Value();
}

// A chain folds from the left: each step takes the result so far (a number after
// the first step, so only the first operand can be of the wrong kind) and the next
// operand.
Value Interpreter::evalBinary(const Expr& e) {
    Value left = eval(*e.operands[0]);
    const std::vector<OperatorStep>& steps = e.steps();
    for (std::size_t i = 0; i < steps.size(); ++i) {
        left = applyOperator(steps[i], std::move(left), *e.operands[0], *e.operands[i + 1]);
    }
    return left;
}

Value Interpreter::applyOperator(const OperatorStep& step, Value left, const Expr& leftExpr,
                                 const Expr& rightExpr) {
    // And and Or stop as soon as the left side decides.
    if (step.op == BinaryOp::And || step.op == BinaryOp::Or) {
        at(leftExpr);
        bool decided = left.isTrue() == (step.op == BinaryOp::Or);
        return truth(decided ? step.op == BinaryOp::Or : condition(rightExpr));
    }
    Value right = eval(rightExpr);
    at(step.line, step.column);
    if (left.isCollection() || right.isCollection()) {
        collectionMisused(left.isCollection() ? left : right,
                          step.op < BinaryOp::Eq ? "数値として" : "比較に");
    }
    auto arithmetic = [&](auto operation) {
        at(leftExpr);
        double a = left.requireNumber();
        at(rightExpr);
        double b = right.requireNumber();
        at(step.line, step.column);
        double result = operation(a, b);
        if (!std::isfinite(result)) throwRuntimeError("計算結果が大きすぎます");
        return Value::number(result);
    };
    auto divisor = [&](double b) {
        if (b == 0) throwRuntimeError("0 で割ることはできません");
        return b;
    };
    switch (step.op) {
        case BinaryOp::Add:
            return arithmetic([](double a, double b) { return a + b; });
        case BinaryOp::Sub:
            return arithmetic([](double a, double b) { return a - b; });
        case BinaryOp::Mul:
            return arithmetic([](double a, double b) { return a * b; });
        case BinaryOp::Div:
            return arithmetic([&](double a, double b) { return a / divisor(b); });
        case BinaryOp::Mod:
            return arithmetic([&](double a, double b) { return std::fmod(a, divisor(b)); });
        case BinaryOp::Eq:
            return truth(compareValues(left, right) == 0);
        case BinaryOp::Ne:
            return truth(compareValues(left, right) != 0);
        case BinaryOp::Lt:
            return truth(compareValues(left, right) < 0);
        case BinaryOp::Gt:
            return truth(compareValues(left, right) > 0);
        case BinaryOp::Le:
            return truth(compareValues(left, right) <= 0);
        case BinaryOp::Ge:
            return truth(compareValues(left, right) >= 0);
        case BinaryOp::And:
        case BinaryOp::Or:
            break;
    }
    return Value();
}

Value Interpreter::evalConcat(const Expr& e) {
    std::string out;
    appendPieces(e.operands, out, e.line, e.column);
    at(e);
    return Value::text(std::move(out));
}

Value Interpreter::callFunction(const Expr& e) {
    const FunctionDef& fn = program_.functions[static_cast<std::size_t>(e.call().function)];
    at(e);
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
        std::size_t base, callerBase;
        int depth;
        std::size_t frameBytes;
        SourcePosition call;
        ~Restore() {
            self.stack_.resize(base);
            self.memory_.give(frameBytes);
            self.localBase_ = callerBase, self.callDepth_ = depth;
            self.position_ = call;
        }
    } restore{*this,
              stack_.size(),
              localBase_,
              callDepth_,
              static_cast<std::size_t>(fn.localCount) * sizeof(Value),
              position_};
    memory_.take(restore.frameBytes);
    for (const ExprPtr& argument : e.operands) {
        Value v = eval(*argument);
        stack_.push_back(std::move(v));
    }
    // The body's errors name the file it was imported from.
    position_.file = fn.file > 0 ? &program_.files[static_cast<std::size_t>(fn.file)] : nullptr;
    stack_.resize(restore.base + static_cast<std::size_t>(fn.localCount));
    localBase_ = restore.base;
    ++callDepth_;
    // A body that ends without Return gives "", whatever a call inside it returned.
    if (execBlock(fn.body) != Flow::Return) return Value::text("");
    return std::exchange(returnValue_, Value());
}

Value Interpreter::callBuiltin(const Expr& e) {
    const CallTarget& target = e.call();
    assert(target.builtin >= 0 && static_cast<std::size_t>(target.builtin) < builtins().size());
    const Builtin& b = builtins()[static_cast<std::size_t>(target.builtin)];
    assert(static_cast<int>(e.operands.size()) >= b.minArguments &&
           (b.maxArguments == kAnyNumberOfArguments ||
            static_cast<int>(e.operands.size()) <= b.maxArguments));
    // Most calls take few arguments: those need no heap vector.
    constexpr std::size_t kFew = 3;
    std::array<Value, kFew> few;
    std::vector<Value> many(e.operands.size() > kFew ? e.operands.size() : 0);
    std::span<Value> arguments = many.empty() ? std::span(few).first(e.operands.size()) : many;
    for (std::size_t i = 0; i < e.operands.size(); ++i) arguments[i] = eval(*e.operands[i]);
    at(e);
    return b.hostCall ? b.hostCall(host_, arguments, target) : b.call(arguments);
}

}  // namespace ttscript
