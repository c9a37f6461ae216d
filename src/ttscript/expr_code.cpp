#include "ttscript/expr_code.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <new>

#include "ttscript/binary_code.h"
#include "ttscript/builtins.h"
#include "ttscript/collection.h"
#include "ttscript/interpreter.h"
#include "ttscript/script_failure.h"
#include "ttscript/text_buffer.h"

namespace ttscript {
namespace {

class Constant final : public ExprCode {
  public:
    explicit Constant(const Expr& e) : ExprCode(e), value_(e.constant()) {
        leaf = Leaf::Constant;
        constant = &value_;
    }
    const Value& eval(Interpreter&, Value&) const override { return value_; }

  private:
    Value value_;
};

[[noreturn]] void unassigned(Interpreter& run, const ExprCode& at, std::string_view name) {
    run.at(at);
    throwRuntimeError("変数 '" + shownText(name) + "' にまだ値が入っていません");
}

template <bool Local>
class Variable final : public ExprCode {
  public:
    explicit Variable(const Expr& e) : ExprCode(e), name_(e.variable().name) {
        leaf = Local ? Leaf::Local : Leaf::Global;
        slot = static_cast<std::uint32_t>(e.variable().slot);
    }
    // Reached when valueOf finds the variable unassigned.
    const Value& eval(Interpreter& run, Value&) const override {
        const Value& v = Local ? run.local(slot) : run.global(slot);
        if (v.isUnset()) [[unlikely]]
            unassigned(run, *this, name_);
        return v;
    }

  private:
    std::string_view name_;  // kept in the program's name store
};

// `[key]`, with the handle the host gave for the key when the script was loaded.
class HostKey final : public ExprCode {
  public:
    explicit HostKey(const Expr& e)
        : ExprCode(e), key_(e.hostKey().key), resolved_(e.hostKey().resolved) {}
    const Value& eval(Interpreter& run, Value& into) const override {
        run.at(*this);
        into = Value::textOf(run.host().getData(key_, resolved_));
        return into;
    }

  private:
    std::string key_;
    ResolvedHostKey resolved_;
};

class Negate final : public ExprCode {
  public:
    Negate(const Expr& e, ExprCodePtr operand) : ExprCode(e), operand_(std::move(operand)) {}
    const Value& eval(Interpreter& run, Value& into) const override {
        const Value& v = valueOf(run, *operand_, into);
        run.at(*this);
        into = Value::number(-v.requireNumber());
        return into;
    }

  private:
    ExprCodePtr operand_;
};

class Not final : public ExprCode {
  public:
    Not(const Expr& e, ExprCodePtr operand) : ExprCode(e), operand_(std::move(operand)) {}
    const Value& eval(Interpreter& run, Value& into) const override {
        into = Value::number(conditionOf(run, *operand_) ? 0 : 1);
        return into;
    }

  private:
    ExprCodePtr operand_;
};

using Operands = std::vector<ExprCodePtr>;

class Concat final : public ExprCode {
  public:
    Concat(const Expr& e, Pieces pieces) : ExprCode(e), pieces_(std::move(pieces)) {}
    const Value& eval(Interpreter& run, Value& into) const override {
        std::string out;
        pieces_.appendTo(run, out, line, column);
        run.at(*this);
        into = Value::text(std::move(out));
        return into;
    }

  private:
    Pieces pieces_;
};

class CallFunction final : public ExprCode {
  public:
    CallFunction(const Expr& e, const FunctionCode& function, Operands arguments)
        : ExprCode(e), function_(function), arguments_(std::move(arguments)) {}
    const Value& eval(Interpreter& run, Value& into) const override {
        run.callFunction(function_, *this, arguments_, into);
        return into;
    }

  private:
    const FunctionCode& function_;
    Operands arguments_;
};

// A call of a built-in bound at compile time, with `N` arguments (kAny: any other
// number), read where they stand.
constexpr std::size_t kAny = static_cast<std::size_t>(-1);

// The code outlives the tree, so a built-in that hands the host its call site keeps
// its own copy.
std::unique_ptr<const CallTarget> copyOf(const CallTarget& site) {
    auto plain = site.plain ? std::make_unique<std::string>(*site.plain) : nullptr;
    return std::make_unique<const CallTarget>(
        CallTarget{site.name, site.function, site.builtin, std::move(plain), site.hostKey});
}

template <std::size_t N>
class CallBuiltin final : public ExprCode {
  public:
    CallBuiltin(const Expr& e, const Builtin& builtin, Operands arguments)
        : ExprCode(e),
          call_(builtin.call),
          hostCall_(builtin.hostCall),
          site_(builtin.hostCall ? copyOf(e.call()) : nullptr),
          arguments_(std::move(arguments)) {}

    const Value& eval(Interpreter& run, Value& into) const override {
        if constexpr (N == kAny) {
            std::vector<Value> worked(arguments_.size());
            std::vector<const Value*> at(arguments_.size());
            fill(run, worked.data(), at.data());
            return finish(run, at.data(), into);
        } else {
            std::array<Value, N> worked;
            std::array<const Value*, N> at;
            fill(run, worked.data(), at.data());
            return finish(run, at.data(), into);
        }
    }

  private:
    void fill(Interpreter& run, Value* worked, const Value** at) const {
        std::size_t count = N == kAny ? arguments_.size() : N;
        for (std::size_t i = 0; i < count; ++i) {
            at[i] = &valueOf(run, *arguments_[i], worked[i]);
        }
    }

    const Value& finish(Interpreter& run, const Value* const* at, Value& into) const {
        run.at(*this);
        Arguments arguments(at, arguments_.size());
        into = call_ ? call_(arguments) : hostCall_(run.host(), arguments, *site_);
        return into;
    }

    Value (*call_)(Arguments);
    Value (*hostCall_)(HostLink&, Arguments, const CallTarget&);
    std::unique_ptr<const CallTarget> site_;  // for the host's built-ins alone
    Operands arguments_;
};

// Most calls take few arguments: those need no heap.
std::unique_ptr<ExprCode> callBuiltin(const Expr& e, const Builtin& builtin, Operands arguments) {
    switch (arguments.size()) {
        case 0:
            return std::make_unique<CallBuiltin<0>>(e, builtin, std::move(arguments));
        case 1:
            return std::make_unique<CallBuiltin<1>>(e, builtin, std::move(arguments));
        case 2:
            return std::make_unique<CallBuiltin<2>>(e, builtin, std::move(arguments));
        case 3:
            return std::make_unique<CallBuiltin<3>>(e, builtin, std::move(arguments));
        default:
            return std::make_unique<CallBuiltin<kAny>>(e, builtin, std::move(arguments));
    }
}

class Index final : public ExprCode {
  public:
    Index(const Expr& e, ExprCodePtr base, ExprCodePtr key)
        : ExprCode(e), base_(std::move(base)), key_(std::move(key)) {}
    const Value& eval(Interpreter& run, Value& into) const override {
        Value held;
        Collection& c = collectionOf(run, *base_, held, false);
        Value worked;
        const Value& key = valueOf(run, *key_, worked);
        run.at(*key_);
        Value found = element(c, key);
        into = std::move(found);
        return into;
    }

  private:
    ExprCodePtr base_, key_;
};

std::unique_ptr<ExprCode> compileNode(const Expr& e, Operands operands,
                                      const FunctionTable& functions) {
    switch (e.kind) {
        case ExprKind::Constant:
            return std::make_unique<Constant>(e);
        case ExprKind::Variable:
            if (e.variable().local) return std::make_unique<Variable<true>>(e);
            return std::make_unique<Variable<false>>(e);
        case ExprKind::HostKey:
            return std::make_unique<HostKey>(e);
        case ExprKind::Negate:
            return std::make_unique<Negate>(e, std::move(operands[0]));
        case ExprKind::Not:
            return std::make_unique<Not>(e, std::move(operands[0]));
        case ExprKind::Binary:
            return compileBinary(e, std::move(operands));
        case ExprKind::Concat:
            return std::make_unique<Concat>(e, Pieces(std::move(operands)));
        case ExprKind::Call: {
            const CallTarget& target = e.call();
            if (target.function >= 0) {
                return std::make_unique<CallFunction>(
                    e, functions[static_cast<std::size_t>(target.function)], std::move(operands));
            }
            assert(target.builtin >= 0 && "the resolver binds every call");
            return callBuiltin(e, builtins()[static_cast<std::size_t>(target.builtin)],
                               std::move(operands));
        }
        case ExprKind::Index:
            return std::make_unique<Index>(e, std::move(operands[0]), std::move(operands[1]));
    }
    assert(false && "every kind of expression compiles");
    return nullptr;
}

}  // namespace

std::vector<ExprCodePtr> compileExprs(const std::vector<ExprPtr>& operands,
                                      const FunctionTable& functions) {
    std::vector<ExprCodePtr> code;
    code.reserve(operands.size());
    for (const ExprPtr& e : operands) code.push_back(compileExpr(*e, functions));
    return code;
}

ExprCodePtr compileExpr(const Expr& e, const FunctionTable& functions) {
    return compileNode(e, compileExprs(e.operands, functions), functions);
}

Pieces compilePieces(const std::vector<ExprPtr>& pieces, const FunctionTable& functions) {
    return Pieces(compileExprs(pieces, functions));
}

namespace {

constexpr std::size_t kBatch = 8;

// Room for the values a batch of pieces works out, each made only when its piece
// needs it: most pieces are constants and variables read where they stand.
class WorkedValues {
  public:
    WorkedValues() = default;
    WorkedValues(const WorkedValues&) = delete;
    WorkedValues& operator=(const WorkedValues&) = delete;
    ~WorkedValues() {
        for (std::size_t i = 0; i < made_; ++i) {
            std::launder(reinterpret_cast<Value*>(room_ + i * sizeof(Value)))->~Value();
        }
    }

    Value& make() { return *::new (room_ + made_++ * sizeof(Value)) Value(); }

  private:
    alignas(Value) unsigned char room_[kBatch * sizeof(Value)];
    std::size_t made_ = 0;
};

}  // namespace

Pieces::Pieces(std::vector<ExprCodePtr> code) {
    for (ExprCodePtr& piece : code) {
        if (piece->leaf == ExprCode::Leaf::Constant) {
            std::string text = piece->constant->toText();
            if (order_.empty() || order_.back().code)
                order_.push_back({nullptr, constants_.size()});
            order_.back().size += text.size();
            constants_ += text;
        } else {
            order_.push_back({std::move(piece)});
        }
    }
    order_.shrink_to_fit();
}

// Pieces are worked out a few at a time so that `out` grows once for each batch.
template <class Out>
void Pieces::appendTo(Interpreter& run, Out& out, int line, int column) const {
    for (std::size_t first = 0; first < order_.size(); first += kBatch) {
        // Left unset: each is set before it is read, and clearing them costs more
        // than a short batch of pieces.
        struct Text {
            const char* data;
            std::size_t size;
        } texts[kBatch];
        WorkedValues worked;
        std::size_t count = std::min(kBatch, order_.size() - first);
        std::size_t total = out.size();
        for (std::size_t i = 0; i < count; ++i) {
            const Piece& piece = order_[first + i];
            if (!piece.code) {
                texts[i] = {constants_.data() + piece.at, piece.size};
            } else {
                Value& room = worked.make();
                const Value* v = &valueOf(run, *piece.code, room);
                if (v->isNumber()) {
                    v = &(room = Value::text(v->toText()));
                } else if (v->isCollection()) {
                    run.at(*piece.code);
                    collectionMisused(*v, "文字列として");
                }
                std::string_view text = v->rawText();
                texts[i] = {text.data(), text.size()};
            }
            total += texts[i].size;
        }
        run.at(line, column);
        reserveToAppend(out, total);
        for (std::size_t i = 0; i < count; ++i) out.append(texts[i].data, texts[i].size);
    }
}

template void Pieces::appendTo(Interpreter&, std::string&, int, int) const;
template void Pieces::appendTo(Interpreter&, TextBuffer&, int, int) const;

}  // namespace ttscript
