#include "ttscript/binary_code.h"

#include <cassert>
#include <cmath>
#include <optional>
#include <string_view>

#include "ttscript/collection.h"
#include "ttscript/interpreter.h"
#include "ttscript/script_failure.h"

namespace ttscript {
namespace {

Value truth(bool b) { return Value::number(b ? 1 : 0); }

bool isArithmetic(BinaryOp op) { return op < BinaryOp::Eq; }
bool isComparison(BinaryOp op) { return op >= BinaryOp::Eq && op < BinaryOp::And; }

struct Step {
    BinaryOp op;
    int line;
    int column;
    ExprCodePtr operand;
    // Eq and Ne with a constant text that is not numeric on the right: the sides are
    // equal only as the same text, as a number never prints as such a text.
    bool plainText = false;
    std::string_view plain;  // that text, kept by the operand's code
    // A comparison with a constant number or numeric text on the right: its number.
    std::optional<double> number;
};

[[noreturn]] void failAt(Interpreter& run, const Step& step, const char* why) {
    run.at(step.line, step.column);
    throwRuntimeError(why);
}

// Errors are placed at the operator. Small enough to be worked out where it is
// used, as the failures are calls of their own.
inline double arithmetic(Interpreter& run, const Step& step, double a, double b) {
    double result;
    switch (step.op) {
        case BinaryOp::Add:
            result = a + b;
            break;
        case BinaryOp::Sub:
            result = a - b;
            break;
        case BinaryOp::Mul:
            result = a * b;
            break;
        case BinaryOp::Div:
            if (b == 0) [[unlikely]]
                failAt(run, step, "0 で割ることはできません");
            result = a / b;
            break;
        default:
            if (b == 0) [[unlikely]]
                failAt(run, step, "0 で割ることはできません");
            result = std::fmod(a, b);
    }
    if (!std::isfinite(result)) [[unlikely]]
        failAt(run, step, "計算結果が大きすぎます");
    return result;
}

bool compared(BinaryOp op, int order) {
    switch (op) {
        case BinaryOp::Eq:
            return order == 0;
        case BinaryOp::Ne:
            return order != 0;
        case BinaryOp::Lt:
            return order < 0;
        case BinaryOp::Gt:
            return order > 0;
        case BinaryOp::Le:
            return order <= 0;
        default:
            return order >= 0;
    }
}

bool ordered(BinaryOp op, double a, double b) { return compared(op, a < b ? -1 : (a > b)); }

// A chain folds from the left: each step takes the result so far (a number after
// the first step, so only the first operand can be of the wrong kind, and its errors
// are placed there) and the next operand. And and Or stop as soon as the left side
// decides.
class Chain final : public ExprCode {
  public:
    Chain(const Expr& e, ExprCodePtr first, std::vector<Step> steps)
        : ExprCode(e),
          first_(std::move(first)),
          steps_(std::move(steps)),
          singleComparison_(steps_.size() == 1 && isComparison(steps_[0].op)) {}

    const Value& eval(Interpreter& run, Value& into) const override {
        return from(run, valueOf(run, *first_, into), into);
    }

    // The steps, with `first` as the first operand's value.
    const Value& from(Interpreter& run, const Value& first, Value& into) const {
        const Value* left = &first;
        for (const Step& step : steps_) {
            // `n + 1`, the most common step, reads its constant without a room for it.
            if (isArithmetic(step.op) && left->isNumber() && step.operand->leaf == Leaf::Constant &&
                step.operand->constant->isNumber()) {
                into = Value::number(
                    arithmetic(run, step, left->rawNumber(), step.operand->constant->rawNumber()));
            } else if (step.op == BinaryOp::And || step.op == BinaryOp::Or) {
                run.at(*first_);
                bool decided = left->isTrue() == (step.op == BinaryOp::Or);
                into = truth(decided ? step.op == BinaryOp::Or : conditionOf(run, *step.operand));
            } else {
                Value worked;
                const Value& right = valueOf(run, *step.operand, worked);
                into = apply(run, step, *left, right);
            }
            left = &into;
        }
        return *left;
    }

    // A single comparison, the usual condition, answers without making its number.
    bool test(Interpreter& run) const override {
        if (!singleComparison_) return ExprCode::test(run);
        const Step& step = steps_[0];
        Value firstWorked;
        const Value& left = valueOf(run, *first_, firstWorked);
        if (step.plainText && left.isText()) return isPlain(step, left);
        Value worked;
        return compare(run, step, left, valueOf(run, *step.operand, worked));
    }

  private:
    Value apply(Interpreter& run, const Step& step, const Value& left, const Value& right) const {
        if (isArithmetic(step.op)) return Value::number(calculate(run, step, left, right));
        return truth(compare(run, step, left, right));
    }

    // The common case first, placing nothing unless it fails: two numbers.
    double calculate(Interpreter& run, const Step& step, const Value& left,
                     const Value& right) const {
        if (left.isNumber() && right.isNumber()) [[likely]] {
            return arithmetic(run, step, left.rawNumber(), right.rawNumber());
        }
        return calculateOther(run, step, left, right);
    }

    double calculateOther(Interpreter& run, const Step& step, const Value& left,
                          const Value& right) const {
        run.at(step.line, step.column);
        if (left.isCollection() || right.isCollection()) {
            collectionMisused(left.isCollection() ? left : right, "数値として");
        }
        run.at(*first_);
        double a = left.requireNumber();
        run.at(*step.operand);
        double b = right.requireNumber();
        return arithmetic(run, step, a, b);
    }

    // The common cases first, placing nothing unless they fail: a text against a
    // plain constant text, and a number against a constant number.
    bool compare(Interpreter& run, const Step& step, const Value& left, const Value& right) const {
        if (step.plainText && left.isText()) return isPlain(step, left);
        if (step.number && left.isNumber()) {
            return ordered(step.op, left.rawNumber(), *step.number);
        }
        return compareOther(run, step, left, right);
    }

    static bool isPlain(const Step& step, const Value& text) {
        return (text.rawText() == step.plain) == (step.op == BinaryOp::Eq);
    }

    bool compareOther(Interpreter& run, const Step& step, const Value& left,
                      const Value& right) const {
        if (step.number && !left.isCollection()) {
            if (std::optional<double> a = left.toNumber()) {
                return ordered(step.op, *a, *step.number);
            }
        }
        run.at(step.line, step.column);
        if (left.isCollection() || right.isCollection()) {
            collectionMisused(left.isCollection() ? left : right, "比較に");
        }
        // A number never equals a plain text.
        if (step.plainText) return step.op == BinaryOp::Ne;
        return compared(step.op, compareValues(left, right));
    }

    ExprCodePtr first_;
    std::vector<Step> steps_;
    bool singleComparison_;  // the usual condition, which test answers itself
};

}  // namespace

std::unique_ptr<ExprCode> compileBinary(const Expr& e, std::vector<ExprCodePtr> operands) {
    std::vector<Step> steps;
    const std::vector<OperatorStep>& ops = e.steps();
    steps.reserve(ops.size());
    for (std::size_t i = 0; i < ops.size(); ++i) {
        const Expr& right = *e.operands[i + 1];
        bool plainText = (ops[i].op == BinaryOp::Eq || ops[i].op == BinaryOp::Ne) &&
                         right.kind == ExprKind::Constant && right.constant().isText() &&
                         !right.constant().toNumber();
        std::optional<double> number;
        if (!isArithmetic(ops[i].op) && right.kind == ExprKind::Constant) {
            number = right.constant().toNumber();
        }
        std::string_view plain = plainText ? operands[i + 1]->constant->rawText() : "";
        steps.push_back({ops[i].op, ops[i].line, ops[i].column, std::move(operands[i + 1]),
                         plainText, plain, number});
    }
    return std::make_unique<Chain>(e, std::move(operands[0]), std::move(steps));
}

const Value& chainFrom(Interpreter& run, const ExprCode& chain, const Value& first, Value& into) {
    assert(dynamic_cast<const Chain*>(&chain) && "compileBinary made the node");
    return static_cast<const Chain&>(chain).from(run, first, into);
}

}  // namespace ttscript
