// Compiles expressions into nodes (code.h), and works out the pieces of a text
// joined with `&`, which the statement that appends in place shares.
#pragma once

#include <string>
#include <vector>

#include "ttscript/code.h"

namespace ttscript {

// The user functions of the program being compiled, by index; their bodies may
// still be empty while calls to them are compiled.
using FunctionTable = std::vector<FunctionCode>;

ExprCodePtr compileExpr(const Expr& e, const FunctionTable& functions);
std::vector<ExprCodePtr> compileExprs(const std::vector<ExprPtr>& exprs,
                                      const FunctionTable& functions);

// The pieces of `a & b & c`: the texts of constants, those next to each other
// joined into one when compiled, and the pieces worked out as the script runs.
class Pieces {
  public:
    explicit Pieces(std::vector<ExprCodePtr> code);

    // Appends the pieces' texts to `out`, a std::string or a TextBuffer. Running out
    // of memory is placed at (line, column), the statement or the `&`.
    template <class Text>
    void appendTo(Interpreter& run, Text& out, int line, int column) const;
    // The code of the one piece, when there is one and it is worked out as the
    // script runs; else null.
    const ExprCode* onlyWorkedOut() const {
        return order_.size() == 1 ? order_[0].code.get() : nullptr;
    }

  private:
    // A constant's code is let go once its text is in constants_.
    struct Piece {
        ExprCodePtr code;  // null: constant text, `size` bytes from `at` in constants_
        std::size_t at = 0;
        std::size_t size = 0;
    };

    std::vector<Piece> order_;
    std::string constants_;
};

Pieces compilePieces(const std::vector<ExprPtr>& pieces, const FunctionTable& functions);

}  // namespace ttscript
