#include "ttscript/interpreter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "app/thread_stack.h"
#include "ttscript/builtins.h"
#include "ttscript/script_failure.h"

namespace ttscript {
namespace {

std::uintptr_t stackPosition() {
    char marker = 0;
    // Kept in a variable: returning the address directly draws clang's warning.
    auto position = reinterpret_cast<std::uintptr_t>(&marker);
    return position;
}

[[noreturn]] void callsTooDeep(const std::string& why, const Expr& call) {
    throwRuntimeError("関数の呼び出しが深すぎます（" + why + "）", call.line, call.column);
}

std::uintptr_t distance(std::uintptr_t a, std::uintptr_t b) { return a > b ? a - b : b - a; }

Value truth(bool b) { return Value::number(b ? 1 : 0); }

}  // namespace

Interpreter::Interpreter(const Program& program, EngineEvents* events,
                         const std::atomic<bool>& stopRequested)
    : program_(program),
      host_(events, stopRequested),
      stopRequested_(stopRequested),
      globals_(program.globalNames.size()) {}

void Interpreter::run() {
    // Call depth and parser nesting are each limited, but together (deep expressions
    // in every frame of a deep recursion) they could still exhaust the stack, so calls
    // also stop at three quarters of what the running thread has left; the rest is
    // for the host's answers and the frames between two calls.
    stackBase_ = stackPosition();
    std::uintptr_t room = mirudana::stackRoomBelow(stackBase_);
    stackBudget_ = room - room / 4;
    execBlock(program_.main);
}

void Interpreter::checkStop(int line, int column) const {
    if (stopRequested_.load(std::memory_order_relaxed)) {
        throwStopped(line, column);
    }
}

Interpreter::Flow Interpreter::execBlock(const Block& block) {
    for (const Stmt& s : block) {
        Flow flow = execStatement(s);
        if (flow != Flow::Normal) return flow;
    }
    return Flow::Normal;
}

Interpreter::Flow Interpreter::execStatement(const Stmt& s) {
    checkStop(s.line, s.column);
    try {
        switch (s.kind) {
            case StmtKind::Assign:
                variable(s.variable) = eval(*s.exprs[0]);
                break;
            case StmtKind::Append:
                execAppend(s);
                break;
            case StmtKind::SetData:
                host_.setData(s.key, eval(*s.exprs[0]), s.plain);
                break;
            case StmtKind::Call:
                eval(*s.exprs[0]);
                break;
            case StmtKind::If:
                return execIf(s);
            case StmtKind::While:
                return execWhile(s);
            case StmtKind::For:
                return execFor(s);
            case StmtKind::ExitFor:
                return Flow::ExitFor;
            case StmtKind::ExitWhile:
                return Flow::ExitWhile;
            case StmtKind::Return:
                returnValue_ = s.exprs.empty() ? Value::text("") : eval(*s.exprs[0]);
                return Flow::Return;
        }
    } catch (ScriptFailure& failure) {
        failure.placeIfUnplaced(s.line, s.column);
        throw;
    }
    return Flow::Normal;
}

// `x = x & a & b`: the pieces go onto the end of x's own text. A piece that reads x
// must see it unchanged (`x = x & x & Len(x)`): then all are worked out first.
void Interpreter::execAppend(const Stmt& s) {
    readVariable(s.variable, s.line, s.column);
    if (s.piecesReadTarget) {
        std::string tail;
        appendPieces(s.exprs, tail, 0);
        std::string& text = variable(s.variable).ownText();
        checkTextLength(text.size() + tail.size());
        reserveToAppend(text, text.size() + tail.size());
        text += tail;
        return;
    }
    std::string& text = variable(s.variable).ownText();
    appendPieces(s.exprs, text, text.size());
    checkTextLength(text.size());
}

// Pieces are worked out a few at a time so that `out` grows once for each batch. A
// text piece taking what was added past kMaxTextBytes is an error as soon as it is
// worked out; numbers, at most a few bytes, are not checked.
void Interpreter::appendPieces(std::span<const ExprPtr> pieces, std::string& out,
                               std::size_t base) {
    constexpr std::size_t kBatch = 8;
    for (std::size_t first = 0; first < pieces.size(); first += kBatch) {
        std::array<Value, kBatch> values;
        std::size_t count = std::min(kBatch, pieces.size() - first);
        std::size_t total = out.size();
        for (std::size_t i = 0; i < count; ++i) {
            Value& v = values[i];
            v = eval(*pieces[first + i]);
            if (v.isNumber()) {
                v = Value::text(v.toText());
            } else {
                checkTextLength(total - base + v.rawText().size());
            }
            total += v.rawText().size();
        }
        reserveToAppend(out, total);
        for (std::size_t i = 0; i < count; ++i) out += values[i].rawText();
    }
}

Interpreter::Flow Interpreter::execIf(const Stmt& s) {
    for (std::size_t i = 0; i < s.exprs.size(); ++i) {
        if (eval(*s.exprs[i]).isTrue()) return execBlock(s.blocks[i]);
    }
    if (s.blocks.size() > s.exprs.size()) return execBlock(s.blocks.back());
    return Flow::Normal;
}

Interpreter::Flow Interpreter::execWhile(const Stmt& s) {
    while (eval(*s.exprs[0]).isTrue()) {
        checkStop(s.line, s.column);
        Flow flow = execBlock(s.blocks[0]);
        if (flow == Flow::ExitWhile) break;
        if (flow != Flow::Normal) return flow;
    }
    return Flow::Normal;
}

Interpreter::Flow Interpreter::execFor(const Stmt& s) {
    double from = number(eval(*s.exprs[0]), s.exprs[0]->line, s.exprs[0]->column);
    double to = number(eval(*s.exprs[1]), s.exprs[1]->line, s.exprs[1]->column);
    double step = 1;
    if (s.exprs.size() > 2) {
        step = number(eval(*s.exprs[2]), s.exprs[2]->line, s.exprs[2]->column);
        if (step == 0)
            throwRuntimeError("'Step' に 0 は使えません", s.exprs[2]->line, s.exprs[2]->column);
    }
    variable(s.variable) = Value::number(from);
    for (;;) {
        double i = number(variable(s.variable), s.line, s.column);
        if (step > 0 ? i > to : i < to) break;
        checkStop(s.line, s.column);
        Flow flow = execBlock(s.blocks[0]);
        if (flow == Flow::ExitFor) break;
        if (flow != Flow::Normal) return flow;
        double current = number(variable(s.variable), s.line, s.column);
        double next = current + step;
        if (!std::isfinite(next)) throwRuntimeError("計算結果が大きすぎます", s.line, s.column);
        // A step lost in rounding would loop for ever without a host event to stop it.
        if (next == current) {
            throwRuntimeError("'Step' が小さすぎて 'For' の変数が変わりません", s.line, s.column);
        }
        variable(s.variable) = Value::number(next);
    }
    return Flow::Normal;
}

Value& Interpreter::variable(const VariableRef& ref) {
    auto slot = static_cast<std::size_t>(ref.slot);
    return ref.local ? stack_[localBase_ + slot] : globals_[slot];
}

const Value& Interpreter::readVariable(const VariableRef& ref, int line, int column) {
    const Value& v = variable(ref);
    if (v.isUnset()) {
        throwRuntimeError("変数 '" + ref.name + "' にまだ値が入っていません", line, column);
    }
    return v;
}

double Interpreter::number(const Value& v, int line, int column) const {
    try {
        return v.requireNumber();
    } catch (ScriptFailure& failure) {
        failure.placeIfUnplaced(line, column);
        throw;
    }
}

Value Interpreter::eval(const Expr& e) {
    switch (e.kind) {
        case ExprKind::Constant:
            return e.constant;
        case ExprKind::Variable:
            return readVariable(e.variable, e.line, e.column);
        case ExprKind::HostKey:
            try {
                return Value::text(host_.getData(e.text));
            } catch (ScriptFailure& failure) {
                failure.placeIfUnplaced(e.line, e.column);
                throw;
            }
        case ExprKind::Negate:
            return Value::number(-number(eval(*e.operands[0]), e.line, e.column));
        case ExprKind::Not:
            return truth(!eval(*e.operands[0]).isTrue());
        case ExprKind::And:
            return truth(eval(*e.operands[0]).isTrue() && eval(*e.operands[1]).isTrue());
        case ExprKind::Or:
            return truth(eval(*e.operands[0]).isTrue() || eval(*e.operands[1]).isTrue());
        case ExprKind::Binary:
            return evalBinary(e);
        case ExprKind::Concat:
            return evalConcat(e);
        case ExprKind::Call:
            return e.function >= 0 ? callFunction(e) : callBuiltin(e);
    }
    return Value();
}

Value Interpreter::evalBinary(const Expr& e) {
    Value left = eval(*e.operands[0]);
    Value right = eval(*e.operands[1]);
    auto arithmetic = [&](auto operation) {
        double a = number(left, e.operands[0]->line, e.operands[0]->column);
        double b = number(right, e.operands[1]->line, e.operands[1]->column);
        double result = operation(a, b);
        if (!std::isfinite(result)) throwRuntimeError("計算結果が大きすぎます", e.line, e.column);
        return Value::number(result);
    };
    auto divisor = [&](double b) {
        if (b == 0) throwRuntimeError("0 で割ることはできません", e.line, e.column);
        return b;
    };
    switch (e.op) {
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
    }
    return Value();
}

Value Interpreter::evalConcat(const Expr& e) {
    std::string out;
    try {
        appendPieces(e.operands, out, 0);
    } catch (ScriptFailure& failure) {
        failure.placeIfUnplaced(e.line, e.column);
        throw;
    }
    return Value::text(std::move(out));
}

Value Interpreter::callFunction(const Expr& e) {
    const FunctionDef& fn = program_.functions[static_cast<std::size_t>(e.function)];
    if (callDepth_ >= kMaxCallDepth) {
        callsTooDeep("上限 " + std::to_string(kMaxCallDepth) + " 段", e);
    }
    if (distance(stackBase_, stackPosition()) > stackBudget_) {
        callsTooDeep(std::to_string(callDepth_ + 1) + " 段目でスタックが足りません", e);
    }
    // The frame sits on top of the stack: the arguments, then the other locals.
    struct Restore {
        Interpreter& self;
        std::size_t base, callerBase;
        int depth;
        ~Restore() {
            self.stack_.resize(base);
            self.localBase_ = callerBase, self.callDepth_ = depth;
        }
    } restore{*this, stack_.size(), localBase_, callDepth_};
    for (const ExprPtr& argument : e.operands) {
        Value v = eval(*argument);
        stack_.push_back(std::move(v));
    }
    stack_.resize(restore.base + static_cast<std::size_t>(fn.localCount));
    localBase_ = restore.base;
    ++callDepth_;
    // A body that ends without Return gives "", whatever a call inside it returned.
    if (execBlock(fn.body) != Flow::Return) return Value::text("");
    return std::exchange(returnValue_, Value());
}

Value Interpreter::callBuiltin(const Expr& e) {
    const Builtin& b = builtins()[static_cast<std::size_t>(e.builtin)];
    // The resolver has checked the count against the table: no heap vector needed.
    std::array<Value, kMostBuiltinArguments> arguments;
    for (std::size_t i = 0; i < e.operands.size(); ++i) arguments[i] = eval(*e.operands[i]);
    try {
        switch (b.bridge) {
            case HostBridge::GetData:
                return Value::text(host_.getData(TextOf(arguments[0]).string()));
            case HostBridge::SetData:
                host_.setData(TextOf(arguments[0]).string(), arguments[1], e.argumentSources[1]);
                return Value::text("");
            case HostBridge::RunCmd:
                host_.runCmd(TextOf(arguments[0]).string(), TextOf(arguments[1]).string());
                return Value::text("");
            case HostBridge::None:
                break;
        }
        return b.call(std::span(arguments).first(e.operands.size()));
    } catch (ScriptFailure& failure) {
        failure.placeIfUnplaced(e.line, e.column);
        throw;
    }
}

}  // namespace ttscript
