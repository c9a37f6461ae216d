#include "ttscript/host_literals.h"

#include <algorithm>
#include <cassert>
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
    HostLiteralScan scan;

    // The imported file the statements block() is given next are in; "" in the script.
    std::string file;

    void block(const Block& b) {
        for (const Stmt& s : b) {
            bool loop =
                s.kind == StmtKind::While || s.kind == StmtKind::For || s.kind == StmtKind::ForEach;
            if (s.kind == StmtKind::SetData) {
                add({HostLiteral::Kind::SetItem, s.item().key, s.line, s.column,
                     literalText(*s.exprs[0])});
            }
            // A While's condition is worked out at every round, as its body is.
            loops_ += s.kind == StmtKind::While;
            for (const ExprPtr& e : s.exprs) expr(*e);
            loops_ += loop && s.kind != StmtKind::While;
            for (const Block& inner : s.blocks) block(inner);
            loops_ -= loop;
        }
    }

  private:
    void add(HostLiteral literal) {
        literal.inLoop = loops_ > 0;
        literal.file = file;
        scan.literals.push_back(std::move(literal));
    }

    void expr(const Expr& e) {
        if (e.kind == ExprKind::HostKey) {
            add({HostLiteral::Kind::Query, e.hostKey().key, e.line, e.column, {}});
        }
        // Only the host bridges matter, and each takes at least one argument.
        if (e.kind == ExprKind::Call && e.call().builtin >= 0 && !e.operands.empty()) call(e);
        for (const ExprPtr& operand : e.operands) expr(*operand);
    }

    void call(const Expr& e) {
        HostBridge bridge = builtins()[static_cast<std::size_t>(e.call().builtin)].bridge;
        if (bridge == HostBridge::None) return;
        std::optional<std::string> first = literalText(*e.operands[0]);
        if (!first) {
            scan.someVerbNotLiteral = scan.someVerbNotLiteral || bridge == HostBridge::RunCmd;
            return;
        }
        HostLiteral literal{HostLiteral::Kind::Query, *first, e.line, e.column, {}};
        if (bridge == HostBridge::SetData) {
            literal.kind = HostLiteral::Kind::SetItem;
            literal.value = literalText(*e.operands[1]);
        }
        if (bridge == HostBridge::RunCmd) literal.kind = HostLiteral::Kind::Command;
        if (bridge == HostBridge::BesideFile) literal.kind = HostLiteral::Kind::BesideFile;
        add(std::move(literal));
    }

    int loops_ = 0;
};

// Functions are kept apart from the main block: puts the literals of one file, from
// `first` on, back in source order.
void sortFrom(std::vector<HostLiteral>& literals, std::size_t first) {
    std::stable_sort(literals.begin() + static_cast<std::ptrdiff_t>(first), literals.end(),
                     [](const HostLiteral& a, const HostLiteral& b) {
                         return a.line != b.line ? a.line < b.line : a.column < b.column;
                     });
}

HostLiteralScan scanProgram(const Program& program) {
    Scanner scanner;
    std::vector<HostLiteral>& literals = scanner.scan.literals;
    scanner.block(program.main);
    // The script's own functions come first, then each imported file's together.
    std::size_t fileStart = 0;
    int file = 0;
    for (const FunctionDef& fn : program.functions) {
        if (fn.file != file) {
            sortFrom(literals, fileStart);
            fileStart = literals.size();
            file = fn.file;
            scanner.file = program.files[static_cast<std::size_t>(file)];
        }
        scanner.block(fn.body);
    }
    sortFrom(literals, fileStart);
    return std::move(scanner.scan);
}

// The scan of the program `load` gives; a failure to load it is the scan's error.
template <class Load>
HostLiteralScan scanned(const std::string& path, const Load& load) {
    try {
        return scanProgram(load());
    } catch (const ScriptFailure& failure) {
        return {scriptError(path, failure), {}, false};
    } catch (const std::bad_alloc&) {
        return {
            scriptError(path, std::string(kRuntimeErrorPrefix) + "メモリが足りません"), {}, false};
    }
}

}  // namespace

HostLiteralScan scanHostLiterals(const std::string& path) {
    return scanned(path, [&] { return loadProgram(path); });
}

HostLiteralScan scanHostLiterals(const TTSA& engine) {
    assert(engine.LoadedProgram() && "scanned after a load that succeeded");
    return scanned(engine.LoadedPath(),
                   [&]() -> const Program& { return *engine.LoadedProgram(); });
}

}  // namespace ttscript
