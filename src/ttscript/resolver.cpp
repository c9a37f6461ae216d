#include "ttscript/resolver.h"

#include <algorithm>
#include <map>
#include <string>

#include "ttscript/builtins.h"
#include "ttscript/lexer.h"
#include "ttscript/script_failure.h"

namespace ttscript {
namespace {

using Slots = std::map<std::string, int>;  // folded name -> slot

// Gives each name assigned in `block` a slot, in order of first assignment.
void collectAssigned(const Block& block, Slots& slots, std::vector<std::string>* names) {
    for (const Stmt& s : block) {
        bool assigns =
            s.kind == StmtKind::Assign || s.kind == StmtKind::Append || s.kind == StmtKind::For;
        if (assigns &&
            slots.emplace(foldCase(s.variable.name), static_cast<int>(slots.size())).second &&
            names) {
            names->push_back(s.variable.name);
        }
        for (const Block& inner : s.blocks) collectAssigned(inner, slots, names);
    }
}

// Whether working out `e` may read `target`: by name, or, for a variable of the main
// block, in a user function it calls.
bool mayRead(const Expr& e, const VariableRef& target) {
    if (e.kind == ExprKind::Variable && e.variable.local == target.local &&
        e.variable.slot == target.slot) {
        return true;
    }
    if (e.kind == ExprKind::Call && e.function >= 0 && !target.local) return true;
    return std::ranges::any_of(e.operands, [&](const ExprPtr& o) { return mayRead(*o, target); });
}

[[noreturn]] void wrongArgumentCount(std::string_view name, const std::string& expected, int given,
                                     const Expr& call) {
    std::string message = "'";
    message.append(name).append("' の引数は ").append(expected).append(" 個です（");
    message.append(std::to_string(given)).append(" 個あります）");
    throwSyntaxError(message, call.line, call.column);
}

class Resolver {
  public:
    explicit Resolver(Program& program) : program_(program) {}

    void run() {
        for (std::size_t i = 0; i < program_.functions.size(); ++i) addFunction(i);
        collectAssigned(program_.main, globals_, &program_.globalNames);
        resolveBlock(program_.main);
        for (FunctionDef& fn : program_.functions) resolveFunction(fn);
    }

  private:
    void addFunction(std::size_t index) {
        const FunctionDef& fn = program_.functions[index];
        std::string folded = foldCase(fn.name);
        if (findBuiltin(folded) >= 0) {
            throwSyntaxError("'" + fn.name + "' は組み込み関数の名前です", fn.line, fn.column);
        }
        auto [it, added] = functions_.emplace(folded, static_cast<int>(index));
        if (!added) {
            const FunctionDef& first = program_.functions[static_cast<std::size_t>(it->second)];
            throwSyntaxError("関数 '" + fn.name + "' は " + std::to_string(first.line) +
                                 " 行目ですでに定義されています",
                             fn.line, fn.column);
        }
    }

    void resolveFunction(FunctionDef& fn) {
        Slots locals;
        for (const std::string& p : fn.parameters) {
            if (!locals.emplace(foldCase(p), static_cast<int>(locals.size())).second) {
                throwSyntaxError("引数 '" + p + "' が二度あります", fn.line, fn.column);
            }
        }
        collectAssigned(fn.body, locals, nullptr);
        fn.localCount = static_cast<int>(locals.size());
        locals_ = &locals;
        resolveBlock(fn.body);
        locals_ = nullptr;
    }

    void bind(VariableRef& ref, int line, int column) {
        std::string folded = foldCase(ref.name);
        if (locals_) {
            if (auto it = locals_->find(folded); it != locals_->end()) {
                ref.local = true, ref.slot = it->second;
                return;
            }
        }
        auto it = globals_.find(folded);
        if (it == globals_.end()) {
            throwSyntaxError("変数 '" + ref.name + "' に値を代入する文がありません", line, column);
        }
        ref.local = false, ref.slot = it->second;
    }

    void resolveBlock(Block& block) {
        for (Stmt& s : block) {
            if (s.kind == StmtKind::Assign || s.kind == StmtKind::Append ||
                s.kind == StmtKind::For) {
                bind(s.variable, s.line, s.column);
            }
            for (ExprPtr& e : s.exprs) resolveExpr(*e);
            if (s.kind == StmtKind::Append) {
                s.piecesReadTarget = std::ranges::any_of(
                    s.exprs, [&](const ExprPtr& e) { return mayRead(*e, s.variable); });
            }
            for (Block& inner : s.blocks) resolveBlock(inner);
        }
    }

    void resolveExpr(Expr& e) {
        if (e.kind == ExprKind::Variable) bind(e.variable, e.line, e.column);
        if (e.kind == ExprKind::Call) resolveCall(e);
        for (ExprPtr& operand : e.operands) resolveExpr(*operand);
    }

    void resolveCall(Expr& e) {
        std::string folded = foldCase(e.text);
        auto arguments = static_cast<int>(e.operands.size());
        if (auto it = functions_.find(folded); it != functions_.end()) {
            e.function = it->second;
            const FunctionDef& fn = program_.functions[static_cast<std::size_t>(it->second)];
            auto expected = static_cast<int>(fn.parameters.size());
            if (arguments != expected) {
                wrongArgumentCount(fn.name, std::to_string(expected), arguments, e);
            }
            return;
        }
        e.builtin = findBuiltin(folded);
        if (e.builtin < 0) throwSyntaxError("不明な関数です: " + e.text, e.line, e.column);
        const Builtin& b = builtins()[static_cast<std::size_t>(e.builtin)];
        if (arguments < b.minArguments || arguments > b.maxArguments) {
            std::string expected = std::to_string(b.minArguments);
            if (b.maxArguments != b.minArguments) {
                expected.append("～").append(std::to_string(b.maxArguments));
            }
            wrongArgumentCount(b.name, expected, arguments, e);
        }
    }

    Program& program_;
    Slots functions_;
    Slots globals_;
    const Slots* locals_ = nullptr;
};

}  // namespace

void resolveProgram(Program& program) { Resolver(program).run(); }

}  // namespace ttscript
