// The tokens of a script, as the lexer hands them to the parser.
#pragma once

#include <cstddef>
#include <string>

namespace ttscript {

enum class TokenKind : unsigned char {
    Name,     // an identifier that is not a keyword
    Number,   // 12, 4.5
    String,   // "text", with "" for a quote inside
    HostKey,  // [key]: the text between the brackets
    Newline,
    End,
    LParen,
    RParen,
    Comma,
    Ampersand,
    Plus,
    Minus,
    Star,
    Slash,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    // Keywords
    If,
    Then,
    ElseIf,
    Else,
    EndKw,
    While,
    Wend,
    For,
    To,
    Step,
    Next,
    Exit,
    Function,
    Return,
    And,
    Or,
    Not,
    Mod,
    CrLf,
    Lf,
    Tab,
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;  // names as written; the value of strings and host keys
    double number = 0;
    int line = 0;
    int column = 0;         // 1-based, counted in characters
    std::size_t begin = 0;  // byte offsets in the decoded source
    std::size_t end = 0;
};

// How a token is shown in a message: 'Then', '(' or "行末".
std::string describeToken(const Token& token);

}  // namespace ttscript
