#include "ttscript/index_assign.h"

#include <algorithm>
#include <optional>

#include "ttscript/binary_code.h"
#include "ttscript/builtin_functions.h"
#include "ttscript/builtins.h"
#include "ttscript/collection.h"
#include "ttscript/interpreter.h"

namespace ttscript {
namespace {

// Works out the collection `base` gives, then the key, and hands both to `assign`.
template <class Assign>
void withElement(Interpreter& run, const ExprCode& base, const ExprCode& key,
                 const Assign& assign) {
    Value held;
    Collection& c = collectionOf(run, base, held, false);
    Value keyWorked;
    assign(c, valueOf(run, key, keyWorked));
}

// `x(key) = v`: the collection and the key are worked out before the value.
class IndexAssign : public StmtCode {
  public:
    IndexAssign(const Stmt& s, ExprCodePtr base, ExprCodePtr key, ExprCodePtr value)
        : StmtCode(s), base_(std::move(base)), key_(std::move(key)), value_(std::move(value)) {}
    Flow exec(Interpreter& run) const override {
        withElement(run, *base_, *key_,
                    [&](Collection& c, const Value& key) { assign(run, c, key); });
        return Flow::Normal;
    }

  protected:
    // Works out the value and puts it in the element of `c` at `key`.
    void assign(Interpreter& run, Collection& c, const Value& key) const {
        Value worked;
        const Value& v = valueOf(run, *value_, worked);
        run.at(*key_);
        put(elementToAssign(c, key), v, worked);
    }

    ExprCodePtr base_, key_, value_;
};

// `counts(name) = Lookup(counts, name, 0) + 1`: the element the Lookup finds is the
// one assigned, so a dictionary's is found once, read where it stands and replaced
// there. Only constants and variables follow in the chain, so nothing can add to or
// remove from the dictionary in between. A list, or a key that is a list or a
// dictionary, goes the usual way, which gives their errors.
class ElementUpdate final : public IndexAssign {
  public:
    ElementUpdate(const Stmt& s, ExprCodePtr base, ExprCodePtr key, ExprCodePtr value,
                  ExprCodePtr fallback)
        : IndexAssign(s, std::move(base), std::move(key), std::move(value)),
          fallback_(std::move(fallback)) {}

    Flow exec(Interpreter& run) const override {
        withElement(run, *base_, *key_,
                    [&](Collection& c, const Value& key) { update(run, c, key); });
        return Flow::Normal;
    }

  private:
    void update(Interpreter& run, Collection& c, const Value& key) const {
        if (!c.isDict() || key.isCollection()) {
            assign(run, c, key);
            return;
        }
        Value fallbackWorked;
        const Value& fallback = valueOf(run, *fallback_, fallbackWorked);
        std::optional<TextOf> printed;  // a number key's text
        std::string_view text = key.isText() ? key.rawText() : printed.emplace(key).str();
        Value* element = c.find(text);
        Value worked;
        const Value& v = chainFrom(run, *value_, element ? *element : fallback, worked);
        run.at(*key_);
        put(element ? *element : c.findOrAdd(text), v, worked);
    }

    ExprCodePtr fallback_;  // the Lookup's default, a constant or a variable
};

bool isLeaf(const Expr& e) { return e.kind == ExprKind::Constant || e.kind == ExprKind::Variable; }

bool sameVariable(const Expr& a, const Expr& b) {
    return a.kind == ExprKind::Variable && b.kind == ExprKind::Variable &&
           a.variable().local == b.variable().local && a.variable().slot == b.variable().slot;
}

// Whether `value` is `Lookup(base, key, default) op operand ...` with a constant or a
// variable for the default and for each operand after the Lookup.
bool updatesFromLookup(const Expr& base, const Expr& key, const Expr& value) {
    if (value.kind != ExprKind::Binary || !callsBuiltin(*value.operands[0], builtin::lookup)) {
        return false;
    }
    const std::vector<ExprPtr>& arguments = value.operands[0]->operands;
    return arguments.size() == 3 && sameVariable(*arguments[0], base) &&
           sameVariable(*arguments[1], key) && isLeaf(*arguments[2]) &&
           std::all_of(value.operands.begin() + 1, value.operands.end(),
                       [](const ExprPtr& e) { return isLeaf(*e); });
}

}  // namespace

std::unique_ptr<StmtCode> compileIndexAssign(const Stmt& s, const FunctionTable& functions) {
    const Expr &base = *s.exprs[0], &key = *s.exprs[1], &value = *s.exprs[2];
    auto code = [&](const Expr& e) { return compileExpr(e, functions); };
    if (updatesFromLookup(base, key, value)) {
        return std::make_unique<ElementUpdate>(s, code(base), code(key), code(value),
                                               code(*value.operands[0]->operands[2]));
    }
    return std::make_unique<IndexAssign>(s, code(base), code(key), code(value));
}

}  // namespace ttscript
