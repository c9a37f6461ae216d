// Splits decoded script text into tokens, one at a time as the parser asks, so a
// long script never has all its tokens in memory at once: one statement per line,
// `'` comments, keywords and names in any letter case.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "ttscript/token.h"

namespace ttscript {

class Lexer {
  public:
    explicit Lexer(std::string_view source) : src_(source) {}

    // The next token; after the text's last, a Newline and then End for as long as
    // it is asked. Throws ScriptFailure (a syntax error with line and column) on a
    // character it cannot read.
    Token next();

  private:
    char peek(std::size_t ahead = 0) const {
        return pos_ + ahead < src_.size() ? src_[pos_ + ahead] : '\0';
    }
    bool atLineEnd() const;
    bool atIdeographicSpace() const;
    // Moves one byte on; columns count characters, so continuation bytes do not count.
    void advance();
    void advanceCharacter();
    bool startsName() const;
    Token& push(TokenKind kind, std::size_t begin);

    void lexOne();
    void lexString(std::size_t begin);
    void lexHostKey(std::size_t begin);
    void lexNumber(std::size_t begin);
    void lexName(std::size_t begin);
    void lexSymbol(std::size_t begin);

    std::string_view src_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int column_ = 1;
    int startColumn_ = 1;
    std::optional<Token> pending_;  // what the last lexOne found, if anything
    bool endGiven_ = false;         // the closing Newline is out
};

// ASCII letters folded to lower case: names and keywords ignore letter case.
std::string foldCase(std::string_view name);

// Hash and equality of names as foldCase gives them, without making folded copies.
struct FoldedNameHash {
    std::size_t operator()(std::string_view name) const;
};
struct FoldedNameEqual {
    bool operator()(std::string_view a, std::string_view b) const;
};

}  // namespace ttscript
