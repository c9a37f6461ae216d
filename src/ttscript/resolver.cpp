#include "ttscript/resolver.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "ttscript/builtins.h"
#include "ttscript/hand_over.h"
#include "ttscript/lexer.h"
#include "ttscript/script_failure.h"

namespace ttscript {
namespace {

// Name as written -> slot, ignoring letter case. The names are views of the
// program's name store and its functions' names, which outlive the table.
using Slots = std::unordered_map<std::string_view, int, FoldedNameHash, FoldedNameEqual>;

// Gives each name assigned in `block` a slot, in order of first assignment.
void collectAssigned(const Block& block, Slots& slots) {
    for (const Stmt& s : block) {
        bool assigns = s.kind == StmtKind::Assign || s.kind == StmtKind::Append ||
                       s.kind == StmtKind::For || s.kind == StmtKind::ForEach;
        if (assigns) slots.try_emplace(s.variable().name, static_cast<int>(slots.size()));
        for (const Block& inner : s.blocks) collectAssigned(inner, slots);
    }
}

// Whether working out `e` may read `target`: by name, or, for a variable of the main
// block, in a user function it calls.
bool mayRead(const Expr& e, const VariableRef& target) {
    if (e.kind == ExprKind::Variable && e.variable().local == target.local &&
        e.variable().slot == target.slot) {
        return true;
    }
    if (e.kind == ExprKind::Call && e.call().function >= 0 && !target.local) return true;
    return std::ranges::any_of(e.operands, [&](const ExprPtr& o) { return mayRead(*o, target); });
}

[[noreturn]] void wrongArgumentCount(std::string_view name, const std::string& expected, int given,
                                     const Expr& call) {
    std::string message = "'";
    message.append(name).append("' の引数は ").append(expected).append("です（");
    message.append(std::to_string(given)).append(" 個あります）");
    throwSyntaxError(message, call.line, call.column);
}

class Resolver {
  public:
    explicit Resolver(Program& program) : program_(program) {}

    void run() {
        for (std::size_t i = 0; i < program_.functions.size(); ++i) {
            inFileOf(program_.functions[i], [&] { addFunction(i); });
        }
        collectAssigned(program_.main, globals_);
        program_.globalCount = static_cast<int>(globals_.size());
        resolveBlock(program_.main);
        for (FunctionDef& fn : program_.functions) inFileOf(fn, [&] { resolveFunction(fn); });
    }

  private:
    // Runs `step`, placing its syntax errors in the file `fn` was imported from.
    template <typename Step>
    void inFileOf(const FunctionDef& fn, Step&& step) const {
        if (fn.file == 0) return step();
        try {
            step();
        } catch (const ScriptFailure& failure) {
            throw ScriptFailure(failure.message(), {failure.line(), failure.column(), &fileOf(fn)});
        }
    }

    const std::string& fileOf(const FunctionDef& fn) const {
        return program_.files[static_cast<std::size_t>(fn.file)];
    }

    void addFunction(std::size_t index) {
        const FunctionDef& fn = program_.functions[index];
        std::string folded = foldCase(fn.name);
        if (int b = findBuiltin(folded);
            b >= 0 && builtins()[static_cast<std::size_t>(b)].naming != Naming::Yielding) {
            throwSyntaxError("'" + fn.name + "' は組み込み関数の名前です", fn.line, fn.column);
        }
        auto [it, added] = functions_.try_emplace(fn.name, static_cast<int>(index));
        if (!added) {
            const FunctionDef& first = program_.functions[static_cast<std::size_t>(it->second)];
            std::string place = std::to_string(first.line) + " 行目";
            if (first.file != fn.file) {
                place = fileOf(first) + ":" + std::to_string(first.line) + ":" +
                        std::to_string(first.column) + " ";
            }
            throwSyntaxError("関数 '" + fn.name + "' は " + place + "ですでに定義されています",
                             fn.line, fn.column);
        }
    }

    void resolveFunction(FunctionDef& fn) {
        Slots locals;
        for (const std::string& p : fn.parameters) {
            // Such a name calls the built-in wherever it is read, never the argument.
            if (isBareBuiltin(p)) {
                throwSyntaxError("'" + p + "' は組み込み関数なので引数の名前にはできません",
                                 fn.line, fn.column);
            }
            if (!locals.try_emplace(p, static_cast<int>(locals.size())).second) {
                throwSyntaxError("引数 '" + p + "' が二度あります", fn.line, fn.column);
            }
        }
        collectAssigned(fn.body, locals);
        fn.localCount = static_cast<int>(locals.size());
        locals_ = &locals;
        resolveBlock(fn.body);
        locals_ = nullptr;
    }

    // Binds `ref` to its slot; false when no statement assigns the name.
    bool tryBind(VariableRef& ref) const {
        if (locals_) {
            if (auto it = locals_->find(ref.name); it != locals_->end()) {
                ref.local = true, ref.slot = it->second;
                return true;
            }
        }
        auto it = globals_.find(ref.name);
        if (it == globals_.end()) return false;
        ref.local = false, ref.slot = it->second;
        return true;
    }

    void bind(VariableRef& ref, int line, int column) const {
        if (tryBind(ref)) return;
        // Written as in Visual Basic, a call without parentheses reads a variable here.
        if (std::string callee = calleeName(ref.name); !callee.empty()) {
            throwSyntaxError("'" + callee + "' は変数ではなく関数です（呼び出すには '" + callee +
                                 "()' と書きます）",
                             line, column);
        }
        throwSyntaxError("変数 '" + shownText(ref.name) + "' に値を代入する文がありません", line,
                         column);
    }

    // The name of the user function or built-in `name(…)` calls, or "" for none.
    std::string calleeName(std::string_view name) const {
        if (auto it = functions_.find(name); it != functions_.end()) {
            return program_.functions[static_cast<std::size_t>(it->second)].name;
        }
        int b = findBuiltin(foldCase(name));
        return b >= 0 ? std::string(builtins()[static_cast<std::size_t>(b)].name) : "";
    }

    // Whether `name` calls a built-in even without parentheses, such as Now.
    static bool isBareBuiltin(std::string_view name) {
        int b = findBuiltin(foldCase(name));
        return b >= 0 && builtins()[static_cast<std::size_t>(b)].naming == Naming::Bare;
    }

    // A variable named like a function cannot be indexed: `name(…)` always calls.
    [[noreturn]] static void nameClash(std::string_view variable, const std::string& function,
                                       int line, int column) {
        throwSyntaxError(
            "変数 '" + std::string(variable) + "' は関数 '" + function +
                "' と同じ名前なので、添字を付けられません（変数の名前を変えてください）",
            line, column);
    }

    void resolveBlock(Block& block) {
        for (Stmt& s : block) {
            if (s.kind == StmtKind::Assign || s.kind == StmtKind::Append ||
                s.kind == StmtKind::For || s.kind == StmtKind::ForEach) {
                if (isBareBuiltin(s.variable().name)) {
                    throwSyntaxError("'" + std::string(s.variable().name) +
                                         "' は組み込み関数なので代入できません",
                                     s.line, s.column);
                }
                bind(s.variable(), s.line, s.column);
            }
            if (s.kind == StmtKind::IndexAssign && s.exprs[0]->kind == ExprKind::Variable) {
                const Expr& target = *s.exprs[0];
                if (std::string callee = calleeName(target.variable().name); !callee.empty()) {
                    nameClash(target.variable().name, callee, target.line, target.column);
                }
            }
            for (ExprPtr& e : s.exprs) resolveExpr(*e);
            if (s.kind == StmtKind::Call && s.exprs[0]->kind != ExprKind::Call) {
                const Expr& e = *s.exprs[0];
                throwSyntaxError("'=' がありません（要素を読むだけの文は書けません）", e.line,
                                 e.column);
            }
            if (s.kind == StmtKind::Append) {
                s.piecesReadVariable = std::ranges::any_of(
                    s.exprs, [&](const ExprPtr& e) { return mayRead(*e, s.variable()); });
            }
            if (s.kind == StmtKind::Assign && s.exprs[0]->kind == ExprKind::Concat) {
                s.piecesReadVariable = mayRead(*s.exprs[0], s.variable());
            }
            for (Block& inner : s.blocks) resolveBlock(inner);
        }
    }

    void resolveExpr(Expr& e) {
        if (e.kind == ExprKind::Variable && isBareBuiltin(e.variable().name)) {
            e.kind = ExprKind::Call;
            e.payload = std::make_unique<CallTarget>(CallTarget{e.variable().name, -1, -1, {}, {}});
        }
        if (e.kind == ExprKind::Variable) bind(e.variable(), e.line, e.column);
        if (e.kind == ExprKind::Call) resolveCall(e);
        for (ExprPtr& operand : e.operands) resolveExpr(*operand);
    }

    // `name(key)` where name is a variable and no function: an element of it.
    bool resolveAsIndex(Expr& e) {
        VariableRef ref{e.call().name};
        if (!tryBind(ref)) return false;
        if (e.operands.size() != 1) {
            throwSyntaxError("'" + std::string(ref.name) + "(…)' に書ける位置かキーは一つだけです",
                             e.line, e.column);
        }
        auto base = std::make_unique<Expr>();
        base->kind = ExprKind::Variable, base->line = e.line, base->column = e.column;
        base->payload = std::move(ref);
        e.kind = ExprKind::Index;
        e.operands.insert(e.operands.begin(), std::move(base));
        return true;
    }

    void resolveCall(Expr& e) {
        CallTarget& target = e.call();
        std::string folded = foldCase(target.name);
        auto arguments = static_cast<int>(e.operands.size());
        // A call with the wrong count may have meant to index a variable of the same name.
        auto wrongCount = [&](std::string_view name, const std::string& expected) {
            VariableRef variable{target.name};
            if (tryBind(variable)) nameClash(target.name, std::string(name), e.line, e.column);
            wrongArgumentCount(name, expected, arguments, e);
        };
        if (auto it = functions_.find(folded); it != functions_.end()) {
            target.function = it->second;
            const FunctionDef& fn = program_.functions[static_cast<std::size_t>(it->second)];
            auto expected = static_cast<int>(fn.parameters.size());
            if (arguments != expected) wrongCount(fn.name, std::to_string(expected) + " 個");
            return;
        }
        target.builtin = findBuiltin(folded);
        if (target.builtin < 0) {
            std::string_view name = target.name;
            if (resolveAsIndex(e)) return;
            throwSyntaxError("不明な関数です: " + shownText(name), e.line, e.column);
        }
        const Builtin& b = builtins()[static_cast<std::size_t>(target.builtin)];
        bool unbounded = b.maxArguments == kAnyNumberOfArguments;
        if (arguments < b.minArguments || (!unbounded && arguments > b.maxArguments)) {
            std::string expected = std::to_string(b.minArguments);
            if (unbounded) {
                expected.append(" 個以上");
            } else if (b.maxArguments != b.minArguments) {
                expected.append("～").append(std::to_string(b.maxArguments)).append(" 個");
            } else {
                expected.append(" 個");
            }
            wrongCount(b.name, expected);
        }
    }

    Program& program_;
    Slots functions_;
    Slots globals_;
    const Slots* locals_ = nullptr;
};

}  // namespace

void resolveProgram(Program& program) {
    // The name tables go before the hand-over pass, which needs only the slots.
    Resolver(program).run();
    markLastReadsOfPieces(program);
}

}  // namespace ttscript
