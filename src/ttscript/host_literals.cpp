#include "ttscript/host_literals.h"

#include <algorithm>
#include <new>

#include "ttscript/builtins.h"
#include "ttscript/script_failure.h"
#include "ttscript/script_loader.h"

namespace ttscript {
namespace {

std::optional<std::string> literalText(const Expr& e) {
    if (e.kind != ExprKind::Constant || !e.constant().isText()) return std::nullopt;
    return std::string(e.constant().rawText());
}

class Scanner {
  public:
    std::vector<HostLiteral> literals;

    void block(const Block& b) {
        for (const Stmt& s : b) {
            if (s.kind == StmtKind::SetData) {
                literals.push_back({HostLiteral::Kind::SetItem, s.item().key, s.line, s.column,
                                    literalText(*s.exprs[0])});
            }
            for (const ExprPtr& e : s.exprs) expr(*e);
            for (const Block& inner : s.blocks) block(inner);
        }
    }

  private:
    void expr(const Expr& e) {
        if (e.kind == ExprKind::HostKey) {
            literals.push_back({HostLiteral::Kind::Query, e.hostKey(), e.line, e.column, {}});
        }
        // Only the host bridges matter, and each takes at least one argument.
        if (e.kind == ExprKind::Call && e.call().builtin >= 0 && !e.operands.empty()) call(e);
        for (const ExprPtr& operand : e.operands) expr(*operand);
    }

    void call(const Expr& e) {
        HostBridge bridge = builtins()[static_cast<std::size_t>(e.call().builtin)].bridge;
        if (bridge == HostBridge::None) return;
        std::optional<std::string> first = literalText(*e.operands[0]);
        if (!first) return;
        HostLiteral literal{HostLiteral::Kind::Query, *first, e.line, e.column, {}};
        if (bridge == HostBridge::SetData) {
            literal.kind = HostLiteral::Kind::SetItem;
            literal.value = literalText(*e.operands[1]);
        }
        if (bridge == HostBridge::RunCmd) literal.kind = HostLiteral::Kind::Command;
        literals.push_back(std::move(literal));
    }
};

}  // namespace

HostLiteralScan scanHostLiterals(const std::string& path) {
    HostLiteralScan scan;
    try {
        Program program = loadProgram(path);
        Scanner scanner;
        scanner.block(program.main);
        for (const FunctionDef& fn : program.functions) scanner.block(fn.body);
        scan.literals = std::move(scanner.literals);
    } catch (const ScriptFailure& failure) {
        scan.error = scriptError(path, failure.message(), failure.line(), failure.column());
    } catch (const std::bad_alloc&) {
        scan.literals.clear();
        scan.error = scriptError(path, std::string(kRuntimeErrorPrefix) + "メモリが足りません");
    }
    // Functions are kept apart from the main block: put everything back in source order.
    std::ranges::stable_sort(scan.literals, [](const HostLiteral& a, const HostLiteral& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    return scan;
}

}  // namespace ttscript
