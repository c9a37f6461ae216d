#include "ttscript/stmt_code.h"

#include <array>
#include <cassert>
#include <cmath>
#include <span>
#include <utility>

#include "ttscript/builtin_functions.h"
#include "ttscript/builtins.h"
#include "ttscript/collection.h"
#include "ttscript/index_assign.h"
#include "ttscript/interpreter.h"
#include "ttscript/script_failure.h"
#include "ttscript/text_buffer.h"
#include "ttscript/text_search.h"

namespace ttscript {
namespace {

// A variable a statement assigns.
class Target {
  public:
    explicit Target(const VariableRef& ref)
        : name_(ref.name), slot_(static_cast<std::uint32_t>(ref.slot)), local_(ref.local) {}
    Value& of(Interpreter& run) const { return local_ ? run.local(slot_) : run.global(slot_); }
    // Its value, which must be assigned; a runtime error placed at (line, column) otherwise.
    Value& read(Interpreter& run, int line, int column) const {
        Value& v = of(run);
        if (v.isUnset()) [[unlikely]] {
            run.at(line, column);
            throwRuntimeError("変数 '" + shownText(name_) + "' にまだ値が入っていません");
        }
        return v;
    }

  private:
    std::string_view name_;  // kept in the program's name store
    std::uint32_t slot_;
    bool local_;
};

// The variable `e` reads, which must be assigned: when unset, e's own eval reports
// it, placed at e.
Value& assignedVariable(Interpreter& run, const ExprCode& e) {
    Value& v = e.leaf == ExprCode::Leaf::Local ? run.local(e.slot) : run.global(e.slot);
    if (v.isUnset()) [[unlikely]] {
        Value unused;
        e.eval(run, unused);
    }
    return v;
}

// Stores what `e` gives in `to`.
void store(Interpreter& run, const ExprCode& e, Value& to) {
    Value worked;
    put(to, valueOf(run, e, worked), worked);
}

class Assign final : public StmtCode {
  public:
    Assign(const Stmt& s, ExprCodePtr value)
        : StmtCode(s), target_(s.variable()), value_(std::move(value)) {}
    Flow exec(Interpreter& run) const override {
        store(run, *value_, target_.of(run));
        return Flow::Normal;
    }

  private:
    Target target_;
    ExprCodePtr value_;
};

// `x = a & b & c` where no piece reads x: the pieces are written over x's own
// buffer, so a row built anew on every pass takes no memory after the first.
class Rewrite final : public StmtCode {
  public:
    Rewrite(const Stmt& s, Pieces pieces)
        : StmtCode(s), target_(s.variable()), pieces_(std::move(pieces)) {}
    Flow exec(Interpreter& run) const override {
        TextBuffer& text = target_.of(run).emptyOwnText();
        pieces_.appendTo(run, text, line, column);
        target_.of(run).textGrew();
        return Flow::Normal;
    }

  private:
    Target target_;
    Pieces pieces_;
};

// `x = x & a & b`: the pieces go onto the end of x's own text. A piece that reads x
// must see it unchanged (`x = x & x & Len(x)`): then all are worked out first.
class Append final : public StmtCode {
  public:
    Append(const Stmt& s, Pieces pieces)
        : StmtCode(s),
          target_(s.variable()),
          pieces_(std::move(pieces)),
          piecesReadVariable_(s.piecesReadVariable),
          from_(s.lastReadOfPiece ? pieces_.onlyWorkedOut() : nullptr) {
        assert((!s.lastReadOfPiece || from_) && "a piece handed over is a variable");
    }

    Flow exec(Interpreter& run) const override {
        target_.read(run, line, column);
        if (from_ && handOver(run)) return Flow::Normal;
        if (piecesReadVariable_) {
            std::string tail;
            pieces_.appendTo(run, tail, line, column);
            TextBuffer& text = target_.of(run).ownText();
            reserveToAppend(text, text.size() + tail.size());
            text.append(tail);
        } else {
            TextBuffer& text = target_.of(run).ownText();
            pieces_.appendTo(run, text, line, column);
        }
        target_.of(run).textGrew();
        return Flow::Normal;
    }

  private:
    // `x = x & y` where y is assigned anew before anything reads it: when y's text is
    // the longer, x's goes in front of it in y's own buffer rather than y's being
    // copied after x's, and x takes the buffer over. Saves a copy of a whole page
    // built in parts, and holding it twice. False when the usual way is the better one.
    bool handOver(Interpreter& run) const {
        Value& from = assignedVariable(run, *from_);
        Value& to = target_.of(run);
        if (!from.isText() || !to.isText() || from.rawText().size() < to.rawText().size()) {
            return false;
        }
        TextBuffer& text = from.ownText();
        std::string_view head = to.rawText();
        run.at(*this);
        reserveToAppend(text, text.size() + head.size());
        text.prepend(head);
        from.textGrew();
        to = std::move(from);
        return true;
    }

    Target target_;
    Pieces pieces_;
    bool piecesReadVariable_;
    const ExprCode* from_;  // the piece handed over, a variable; else null
};

class SetData final : public StmtCode {
  public:
    SetData(const Stmt& s, ExprCodePtr value)
        : StmtCode(s), item_(s.item()), value_(std::move(value)) {}
    Flow exec(Interpreter& run) const override {
        Value worked;
        const Value& v = valueOf(run, *value_, worked);
        run.at(*this);
        run.host().setData(item_.key, v, item_.plain);
        return Flow::Normal;
    }

  private:
    HostItem item_;
    ExprCodePtr value_;
};

class Call final : public StmtCode {
  public:
    Call(const Stmt& s, ExprCodePtr call) : StmtCode(s), call_(std::move(call)) {}
    Flow exec(Interpreter& run) const override {
        Value worked;
        valueOf(run, *call_, worked);
        return Flow::Normal;
    }

  private:
    ExprCodePtr call_;
};

class If final : public StmtCode {
  public:
    If(const Stmt& s, std::vector<ExprCodePtr> conditions, std::vector<BlockCode> blocks)
        : StmtCode(s), conditions_(std::move(conditions)), blocks_(std::move(blocks)) {}
    Flow exec(Interpreter& run) const override {
        for (std::size_t i = 0; i < conditions_.size(); ++i) {
            if (conditionOf(run, *conditions_[i])) return run.execBlock(blocks_[i]);
        }
        if (blocks_.size() > conditions_.size()) return run.execBlock(blocks_.back());
        return Flow::Normal;
    }

  private:
    std::vector<ExprCodePtr> conditions_;
    std::vector<BlockCode> blocks_;
};

class While final : public StmtCode {
  public:
    While(const Stmt& s, ExprCodePtr condition, BlockCode body)
        : StmtCode(s), condition_(std::move(condition)), body_(std::move(body)) {}
    Flow exec(Interpreter& run) const override {
        while (conditionOf(run, *condition_)) {
            run.at(*this);
            run.checkpoint();
            Flow flow = run.execBlock(body_);
            if (flow == Flow::ExitWhile) break;
            if (flow != Flow::Normal) return flow;
        }
        return Flow::Normal;
    }

  private:
    ExprCodePtr condition_;
    BlockCode body_;
};

class For final : public StmtCode {
  public:
    For(const Stmt& s, std::vector<ExprCodePtr> bounds, BlockCode body)
        : StmtCode(s), target_(s.variable()), bounds_(std::move(bounds)), body_(std::move(body)) {}
    Flow exec(Interpreter& run) const override {
        double from = numberOf(run, *bounds_[0]);
        double to = numberOf(run, *bounds_[1]);
        double step = 1;
        if (bounds_.size() > 2) {
            step = numberOf(run, *bounds_[2]);
            if (step == 0) throwRuntimeError("'Step' に 0 は使えません");
        }
        Value& variable = target_.of(run);
        variable = Value::number(from);
        for (;;) {
            run.at(*this);
            double i = variable.requireNumber();
            if (step > 0 ? i > to : i < to) break;
            run.checkpoint();
            Flow flow = run.execBlock(body_);
            if (flow == Flow::ExitFor) break;
            if (flow != Flow::Normal) return flow;
            run.at(*this);
            double current = variable.requireNumber();
            double next = current + step;
            if (!std::isfinite(next)) throwRuntimeError("計算結果が大きすぎます");
            // A step lost in rounding would loop for ever without a host event to stop it.
            if (next == current) {
                throwRuntimeError("'Step' が小さすぎて 'For' の変数が変わりません");
            }
            variable = Value::number(next);
        }
        return Flow::Normal;
    }

  private:
    Target target_;
    std::vector<ExprCodePtr> bounds_;
    BlockCode body_;
};

// One round of a For Each: what `item` gives goes into the variable, then the body
// runs. False when the loop ends, with how it ends in `flow` (Exit For: normally).
template <class Item>
bool walkRound(Interpreter& run, const StmtCode& loop, Value& variable, const Item& item,
               const BlockCode& body, Flow& flow) {
    run.at(loop);
    run.checkpoint();
    variable = item();
    flow = run.execBlock(body);
    if (flow == Flow::Normal) return true;
    if (flow == Flow::ExitFor) flow = Flow::Normal;
    return false;
}

// For Each walks a list's elements or a dictionary's keys, in order. The walked
// collection keeps its shape meanwhile; its elements may be replaced.
class ForEach final : public StmtCode {
  public:
    ForEach(const Stmt& s, ExprCodePtr collection, BlockCode body)
        : StmtCode(s),
          target_(s.variable()),
          collection_(std::move(collection)),
          body_(std::move(body)) {}
    Flow exec(Interpreter& run) const override {
        // Held here: a body that drops every other share must not free it.
        Value held;
        Collection& c = collectionOf(run, *collection_, held, true, CollectionUse::Walk);
        WalkGuard walking(c);
        Value& variable = target_.of(run);
        std::size_t positions = c.isDict() ? c.entries().size() : c.items().size();
        Flow flow = Flow::Normal;
        for (std::size_t i = 0; i < positions; ++i) {
            if (c.isDict() && c.entries()[i].removed) continue;
            auto item = [&] {
                return c.isDict() ? Value::textOf(c.entries()[i].key) : c.items()[i];
            };
            if (!walkRound(run, *this, variable, item, body_, flow)) break;
        }
        return flow;
    }

  private:
    Target target_;
    ExprCodePtr collection_;
    BlockCode body_;
};

// `For Each x In Split(text, sep)` walks the items as it finds them: the list Split
// would make is never seen by anything else, so it is not made.
class ForEachItem final : public StmtCode {
  public:
    ForEachItem(const Stmt& s, const Expr& call, ExprCodePtr text, ExprCodePtr separator,
                BlockCode body)
        : StmtCode(s),
          target_(s.variable()),
          callLine_(call.line),
          callColumn_(call.column),
          text_(std::move(text)),
          separator_(std::move(separator)),
          body_(std::move(body)) {}

    Flow exec(Interpreter& run) const override {
        // Held here: the body may assign the variables they came from.
        Value text, separator;
        store(run, *text_, text);
        store(run, *separator_, separator);
        run.at(callLine_, callColumn_);
        TextOf textOf(text), separatorOf(separator);
        SplitItems items(textOf.str(), separatorOf.str());
        Value& variable = target_.of(run);
        Flow flow = Flow::Normal;
        for (std::string_view item; items.next(item);) {
            if (!walkRound(
                    run, *this, variable, [&] { return Value::textOf(item); }, body_, flow)) {
                break;
            }
        }
        return flow;
    }

  private:
    Target target_;
    int callLine_, callColumn_;
    ExprCodePtr text_, separator_;
    BlockCode body_;
};

// `For Each x In List(a, b)` walks what the arguments give, in order: the list List
// would make is never seen by anything else, so it is not made.
class ForEachListed final : public StmtCode {
  public:
    ForEachListed(const Stmt& s, std::vector<ExprCodePtr> items, BlockCode body)
        : StmtCode(s), target_(s.variable()), items_(std::move(items)), body_(std::move(body)) {}

    Flow exec(Interpreter& run) const override {
        // Held here: the body may assign the variables they came from. The few values
        // most such lists have need no heap.
        std::array<Value, kFew> few;
        std::vector<Value> many(items_.size() > kFew ? items_.size() : 0);
        std::span<Value> values(many.empty() ? few.data() : many.data(), items_.size());
        for (std::size_t i = 0; i < items_.size(); ++i) store(run, *items_[i], values[i]);
        Value& variable = target_.of(run);
        Flow flow = Flow::Normal;
        for (const Value& value : values) {
            if (!walkRound(
                    run, *this, variable, [&] { return value; }, body_, flow))
                break;
        }
        return flow;
    }

  private:
    static constexpr std::size_t kFew = 4;

    Target target_;
    std::vector<ExprCodePtr> items_;
    BlockCode body_;
};

// Exit For, Exit While, and Return without a value.
class Leave final : public StmtCode {
  public:
    Leave(const Stmt& s, Flow flow) : StmtCode(s), flow_(flow) {}
    Flow exec(Interpreter& run) const override {
        if (flow_ == Flow::Return) run.returnValue() = Value::emptyText();
        return flow_;
    }

  private:
    Flow flow_;
};

class Return final : public StmtCode {
  public:
    Return(const Stmt& s, ExprCodePtr value) : StmtCode(s), value_(std::move(value)) {}
    Flow exec(Interpreter& run) const override {
        store(run, *value_, run.returnValue());
        return Flow::Return;
    }

  private:
    ExprCodePtr value_;
};

std::unique_ptr<StmtCode> compileStatement(Stmt& s, const FunctionTable& functions) {
    auto expr = [&](std::size_t i) { return compileExpr(*s.exprs[i], functions); };
    auto block = [&](std::size_t i) { return compileBlock(s.blocks[i], functions); };
    switch (s.kind) {
        case StmtKind::Assign:
            if (s.exprs[0]->kind == ExprKind::Concat && !s.piecesReadVariable) {
                return std::make_unique<Rewrite>(s, compilePieces(s.exprs[0]->operands, functions));
            }
            return std::make_unique<Assign>(s, expr(0));
        case StmtKind::IndexAssign:
            return compileIndexAssign(s, functions);
        case StmtKind::Append:
            return std::make_unique<Append>(s, compilePieces(s.exprs, functions));
        case StmtKind::SetData:
            return std::make_unique<SetData>(s, expr(0));
        case StmtKind::Call:
            return std::make_unique<Call>(s, expr(0));
        case StmtKind::If: {
            std::vector<BlockCode> blocks;
            for (std::size_t i = 0; i < s.blocks.size(); ++i) blocks.push_back(block(i));
            return std::make_unique<If>(s, compileExprs(s.exprs, functions), std::move(blocks));
        }
        case StmtKind::While:
            return std::make_unique<While>(s, expr(0), block(0));
        case StmtKind::For:
            return std::make_unique<For>(s, compileExprs(s.exprs, functions), block(0));
        case StmtKind::ForEach: {
            const Expr& walked = *s.exprs[0];
            if (callsBuiltin(walked, builtin::split)) {
                return std::make_unique<ForEachItem>(
                    s, walked, compileExpr(*walked.operands[0], functions),
                    compileExpr(*walked.operands[1], functions), block(0));
            }
            if (callsBuiltin(walked, builtin::makeList)) {
                return std::make_unique<ForEachListed>(s, compileExprs(walked.operands, functions),
                                                       block(0));
            }
            return std::make_unique<ForEach>(s, expr(0), block(0));
        }
        case StmtKind::ExitFor:
            return std::make_unique<Leave>(s, Flow::ExitFor);
        case StmtKind::ExitWhile:
            return std::make_unique<Leave>(s, Flow::ExitWhile);
        case StmtKind::Return:
            if (s.exprs.empty()) return std::make_unique<Leave>(s, Flow::Return);
            return std::make_unique<Return>(s, expr(0));
    }
    assert(false && "every kind of statement compiles");
    return nullptr;
}

}  // namespace

BlockCode compileBlock(Block& block, const FunctionTable& functions) {
    BlockCode code;
    code.reserve(block.size());
    for (Stmt& s : block) {
        code.push_back(compileStatement(s, functions));
        s = Stmt{};
    }
    Block().swap(block);
    return code;
}

}  // namespace ttscript
