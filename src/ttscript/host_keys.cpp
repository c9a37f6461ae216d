#include "ttscript/host_keys.h"

#include "ttscript/builtins.h"

namespace ttscript {
namespace {

bool isText(const Expr& e) { return e.kind == ExprKind::Constant && e.constant().isText(); }

class Resolver {
  public:
    explicit Resolver(EngineEvents& events) : events_(events) {}

    void block(Block& b) {
        for (Stmt& s : b) {
            for (ExprPtr& e : s.exprs) expr(*e);
            for (Block& inner : s.blocks) block(inner);
        }
    }

  private:
    void expr(Expr& e) {
        if (e.kind == ExprKind::HostKey) resolve(e.hostKey().resolved, e.hostKey().key, false);
        if (e.kind == ExprKind::Call && isGetData(e)) getData(e.call().hostKey, *e.operands[0]);
        for (ExprPtr& operand : e.operands) expr(*operand);
    }

    static bool isGetData(const Expr& e) {
        int builtin = e.call().builtin;
        return builtin >= 0 &&
               builtins()[static_cast<std::size_t>(builtin)].bridge == HostBridge::GetData;
    }

    // A key written whole, or one joined from a literal start and what the run gives:
    // the text asked always begins with that start.
    void getData(ResolvedHostKey& resolved, const Expr& key) {
        if (isText(key)) {
            resolve(resolved, key.constant().rawText(), false);
        } else if (key.kind == ExprKind::Concat && isText(*key.operands[0])) {
            resolve(resolved, key.operands[0]->constant().rawText(), true);
        }
    }

    void resolve(ResolvedHostKey& resolved, std::string_view literal, bool prefix) {
        resolved.id = events_.ResolveKey(literal, prefix);
        resolved.literalLength = literal.size();
    }

    EngineEvents& events_;
};

}  // namespace

void resolveHostKeys(Program& program, EngineEvents& events) {
    Resolver resolver(events);
    resolver.block(program.main);
    for (FunctionDef& fn : program.functions) resolver.block(fn.body);
}

}  // namespace ttscript
