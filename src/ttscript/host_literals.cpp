#include "ttscript/host_literals.h"

#include <algorithm>
#include <exception>
#include <tuple>

#include "ttscript/builtins.h"
#include "ttscript/script_failure.h"
#include "ttscript/script_file.h"

namespace ttscript {
namespace {

std::optional<std::string> literalText(const Expr& e) {
    if (e.kind != ExprKind::Constant || !e.constant.isText()) return std::nullopt;
    return std::string(e.constant.rawText());
}

class Scanner {
  public:
    std::vector<HostLiteral> literals;

    void block(const Block& statements) {
        for (const Stmt& s : statements) statement(s);
    }

  private:
    void add(HostLiteral::Kind kind, const Expr* key, int line, int column,
             std::optional<std::string> text, const Expr* value = nullptr) {
        if (key != nullptr) text = literalText(*key);
        if (!text) return;
        std::optional<std::string> assigned = value ? literalText(*value) : std::nullopt;
        literals.push_back(HostLiteral{kind, std::move(*text), line, column, std::move(assigned)});
    }

    void statement(const Stmt& s) {
        if (s.kind == StmtKind::SetData && !s.exprs.empty()) {
            add(HostLiteral::Kind::SetItem, nullptr, s.line, s.column, s.key, s.exprs[0].get());
        }
        for (const ExprPtr& e : s.exprs) expression(*e);
        for (const Block& b : s.blocks) block(b);
    }

    void expression(const Expr& e) {
        if (e.kind == ExprKind::HostKey) {
            add(HostLiteral::Kind::Query, nullptr, e.line, e.column, e.text);
        } else if (e.kind == ExprKind::Call && e.builtin >= 0 && !e.operands.empty()) {
            const Expr& first = *e.operands[0];
            switch (builtins()[static_cast<std::size_t>(e.builtin)].bridge) {
                case HostBridge::GetData:
                    add(HostLiteral::Kind::Query, &first, first.line, first.column, {});
                    break;
                case HostBridge::SetData:
                    add(HostLiteral::Kind::SetItem, &first, first.line, first.column, {},
                        e.operands.size() > 1 ? e.operands[1].get() : nullptr);
                    break;
                case HostBridge::RunCmd:
                    add(HostLiteral::Kind::Command, &first, first.line, first.column, {});
                    break;
                case HostBridge::None:
                    break;
            }
        }
        for (const ExprPtr& operand : e.operands) expression(*operand);
    }
};

}  // namespace

HostLiteralScan scanHostLiterals(const std::string& path) {
    HostLiteralScan scan;
    try {
        Program program = loadProgram(path);
        Scanner scanner;
        scanner.block(program.main);
        for (const FunctionDef& f : program.functions) scanner.block(f.body);
        // Functions are kept apart from the main block; the list follows the source.
        std::stable_sort(scanner.literals.begin(), scanner.literals.end(),
                         [](const HostLiteral& a, const HostLiteral& b) {
                             return std::tie(a.line, a.column) < std::tie(b.line, b.column);
                         });
        scan.literals = std::move(scanner.literals);
    } catch (const ScriptFailure& failure) {
        scan.error =
            ScriptError{fileNameOf(path), failure.line(), failure.column(), failure.message()};
    } catch (const std::exception& e) {
        scan.error = ScriptError{fileNameOf(path), 0, 0, e.what()};
    }
    return scan;
}

}  // namespace ttscript
