#include "ttscript/hand_over.h"

#include <algorithm>
#include <vector>

namespace ttscript {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// A statement of one body, in source order: each statement before those it holds,
// so a block's statements and all they hold take one run of positions. What it
// reads is walked again when asked rather than kept: a long script has many.
struct Placed {
    Stmt* stmt;
    std::size_t blockStart;  // where the run of its block starts
    std::size_t end;         // one past the last statement it holds
    std::size_t loop;        // the innermost loop it is in, or kNone
};

// Tells `read` each variable working out `e` reads by name; true when it calls a
// user function, which may read any global.
template <typename Read>
bool visitReads(const Expr& e, const Read& read) {
    if (e.kind == ExprKind::Variable) read(e.variable());
    bool calls = e.kind == ExprKind::Call && e.call().function >= 0;
    for (const ExprPtr& operand : e.operands) calls = visitReads(*operand, read) || calls;
    return calls;
}

template <typename Read>
bool visitReads(const Stmt& s, const Read& read) {
    bool calls = false;
    for (const ExprPtr& e : s.exprs) calls = visitReads(*e, read) || calls;
    return calls;
}

std::size_t countStatements(const Block& block) {
    std::size_t count = block.size();
    for (const Stmt& s : block) {
        for (const Block& inner : s.blocks) count += countStatements(inner);
    }
    return count;
}

void place(Block& block, std::size_t loop, std::vector<Placed>& out) {
    std::size_t blockStart = out.size();
    for (Stmt& s : block) {
        std::size_t at = out.size();
        out.push_back({&s, blockStart, 0, loop});
        bool isLoop =
            s.kind == StmtKind::While || s.kind == StmtKind::For || s.kind == StmtKind::ForEach;
        for (Block& inner : s.blocks) place(inner, isLoop ? at : loop, out);
        out[at].end = out.size();
    }
}

bool isExit(StmtKind kind) {
    return kind == StmtKind::ExitFor || kind == StmtKind::ExitWhile || kind == StmtKind::Return;
}

bool assigns(const Stmt& s) {
    return s.kind == StmtKind::Assign || s.kind == StmtKind::Append || s.kind == StmtKind::For ||
           s.kind == StmtKind::ForEach;
}

bool same(const VariableRef& a, const VariableRef& b) {
    return a.local == b.local && a.slot == b.slot;
}

class Body {
  public:
    Body(Block& body, std::size_t globals, std::size_t locals, bool isMain)
        : nextGlobal_(globals, kNone), nextLocal_(locals, kNone), isMain_(isMain) {
        placed_.reserve(countStatements(body));
        place(body, kNone, placed_);
    }

    void mark() {
        for (std::size_t i = placed_.size(); i-- > 0;) {
            Stmt& s = *placed_[i].stmt;
            if (s.kind == StmtKind::Append && !s.piecesReadVariable && s.exprs.size() == 1 &&
                s.exprs[0]->kind == ExprKind::Variable) {
                s.lastReadOfPiece = assignedBeforeRead(i, s.exprs[0]->variable());
            }
            record(i);
        }
    }

  private:
    std::size_t& next(const VariableRef& v) {
        auto slot = static_cast<std::size_t>(v.slot);
        return v.local ? nextLocal_[slot] : nextGlobal_[slot];
    }

    // What the statement at `i` does that a later question cares about.
    void record(std::size_t i) {
        const Stmt& s = *placed_[i].stmt;
        if (visitReads(s, [&](const VariableRef& v) { next(v) = i; })) nextCall_ = i;
        if (assigns(s)) next(s.variable()) = i;
        if (isExit(s.kind)) nextExit_ = i;
    }

    // Whether, after the append at `at`, `v` is surely assigned anew before anything
    // may read it: the first statement after it that touches v, calls a function
    // (for a global) or leaves a block must assign v without reading it, in a block
    // the run goes on to from the append, before the round of a loop ends.
    bool assignedBeforeRead(std::size_t at, const VariableRef& v) {
        std::size_t first = std::min(next(v), nextExit_);
        if (!v.local) first = std::min(first, nextCall_);
        std::size_t loop = placed_[at].loop;
        std::size_t limit = loop == kNone ? placed_.size() : placed_[loop].end;
        if (first >= limit) return loop == kNone && (isMain_ || v.local);
        const Placed& p = placed_[first];
        const Stmt& s = *p.stmt;
        if (p.blockStart > at || s.kind != StmtKind::Assign || !same(s.variable(), v)) return false;
        bool readsItself = false;
        bool calls =
            visitReads(s, [&](const VariableRef& r) { readsItself = readsItself || same(r, v); });
        return !readsItself && !(calls && !v.local);
    }

    std::vector<Placed> placed_;
    std::vector<std::size_t> nextGlobal_, nextLocal_;
    std::size_t nextCall_ = kNone, nextExit_ = kNone;
    bool isMain_;
};

}  // namespace

void markLastReadsOfPieces(Program& program) {
    auto globals = static_cast<std::size_t>(program.globalCount);
    Body(program.main, globals, 0, true).mark();
    for (FunctionDef& fn : program.functions) {
        Body(fn.body, globals, static_cast<std::size_t>(fn.localCount), false).mark();
    }
}

}  // namespace ttscript
