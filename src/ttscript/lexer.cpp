#include "ttscript/lexer.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <utility>

#include "ttscript/script_failure.h"

namespace ttscript {
namespace {

struct Keyword {
    std::string_view spelling;
    TokenKind kind;
};

constexpr Keyword kKeywords[] = {
    {"If", TokenKind::If},
    {"Then", TokenKind::Then},
    {"ElseIf", TokenKind::ElseIf},
    {"Else", TokenKind::Else},
    {"End", TokenKind::EndKw},
    {"While", TokenKind::While},
    {"Wend", TokenKind::Wend},
    {"For", TokenKind::For},
    {"To", TokenKind::To},
    {"Step", TokenKind::Step},
    {"Next", TokenKind::Next},
    {"Exit", TokenKind::Exit},
    {"Function", TokenKind::Function},
    {"Return", TokenKind::Return},
    {"And", TokenKind::And},
    {"Or", TokenKind::Or},
    {"Not", TokenKind::Not},
    {"Mod", TokenKind::Mod},
    {"CrLf", TokenKind::CrLf},
    {"Lf", TokenKind::Lf},
    {"Tab", TokenKind::Tab},
};

constexpr std::pair<TokenKind, std::string_view> kSymbols[] = {
    {TokenKind::LParen, "("},     {TokenKind::RParen, ")"},        {TokenKind::Comma, ","},
    {TokenKind::Ampersand, "&"},  {TokenKind::Plus, "+"},          {TokenKind::Minus, "-"},
    {TokenKind::Star, "*"},       {TokenKind::Slash, "/"},         {TokenKind::Equal, "="},
    {TokenKind::NotEqual, "<>"},  {TokenKind::Less, "<"},          {TokenKind::Greater, ">"},
    {TokenKind::LessEqual, "<="}, {TokenKind::GreaterEqual, ">="},
};

constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";

// The code point of an invisible character that pasted or joined text brings (a
// no-break space, a zero-width space, a direction mark, a byte order mark) at the
// start of `text`, or 0. Within a name it would make another name that looks the same.
char32_t invisibleAt(std::string_view text) {
    auto byte = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
    };
    if (byte(0) == 0xC2 && byte(1) == 0xA0) return 0xA0;
    if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) return 0xFEFF;
    if (byte(0) != 0xE2 || (byte(1) != 0x80 && byte(1) != 0x81)) return 0;
    char32_t cp = 0x2000 + ((byte(1) & 0x3Fu) << 6) + (byte(2) & 0x3Fu);
    bool invisible =
        cp <= 0x200F || (cp >= 0x2028 && cp <= 0x202F) || (cp >= 0x205F && cp <= 0x206F);
    return invisible ? cp : 0;
}

std::string codePointText(char32_t cp) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string digits;
    for (int shift = 12; shift >= 0; shift -= 4) digits += kHex[(cp >> shift) & 0xF];
    return "U+" + digits;
}

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

}  // namespace

Token Lexer::next() {
    while (!pending_ && pos_ < src_.size()) lexOne();
    if (!pending_) {
        // Past the text: one last line end, then End for as long as it is asked.
        startColumn_ = column_;
        push(endGiven_ ? TokenKind::End : TokenKind::Newline, pos_);
        endGiven_ = true;
    }
    Token token = std::move(*pending_);
    pending_.reset();
    return token;
}

void Lexer::lexOne() {
    char c = peek();
    startColumn_ = column_;
    std::size_t begin = pos_;
    if (atLineEnd()) {
        push(TokenKind::Newline, begin);
        ++pos_, ++line_, column_ = 1;
    } else if (c == ' ' || c == '\t' || c == '\r') {
        advance();
    } else if (atIdeographicSpace()) {
        advanceCharacter();
    } else if (c == '\'') {
        while (pos_ < src_.size() && !atLineEnd()) ++pos_;
    } else if (c == '"') {
        lexString(begin);
    } else if (c == '[') {
        lexHostKey(begin);
    } else if (char32_t invisible = invisibleAt(src_.substr(pos_))) {
        throwSyntaxError("見えない文字 " + codePointText(invisible) +
                             " は使えません（半角スペースに直すか、消してください）",
                         line_, startColumn_);
    } else if (isDigit(c) || (c == '.' && isDigit(peek(1)))) {
        lexNumber(begin);
    } else if (startsName()) {
        lexName(begin);
    } else {
        lexSymbol(begin);
    }
}

void Lexer::lexString(std::size_t begin) {
    std::string value;
    advance();
    for (;;) {
        if (pos_ >= src_.size() || atLineEnd()) {
            throwSyntaxError("文字列の終わりの '\"' がありません", line_, startColumn_);
        }
        if (peek() == '"') {
            if (peek(1) != '"') break;
            advance();
        }
        value += peek();
        advance();
    }
    advance();
    push(TokenKind::String, begin).text = std::move(value);
}

void Lexer::lexHostKey(std::size_t begin) {
    advance();
    std::size_t keyBegin = pos_;
    while (pos_ < src_.size() && peek() != ']' && !atLineEnd()) advance();
    if (peek() != ']') throwSyntaxError("']' がありません（'[' に対応）", line_, startColumn_);
    std::string key(src_.substr(keyBegin, pos_ - keyBegin));
    advance();
    push(TokenKind::HostKey, begin).text = std::move(key);
}

void Lexer::lexNumber(std::size_t begin) {
    while (isDigit(peek())) advance();
    if (peek() == '.' && isDigit(peek(1))) {
        advance();
        while (isDigit(peek())) advance();
    }
    if (startsName()) throwSyntaxError("数値の書き方が正しくありません", line_, startColumn_);
    double value = 0;
    auto result = std::from_chars(src_.data() + begin, src_.data() + pos_, value);
    if (result.ec != std::errc()) throwSyntaxError("数値が大きすぎます", line_, startColumn_);
    push(TokenKind::Number, begin).number = value;
}

void Lexer::lexName(std::size_t begin) {
    while (pos_ < src_.size() && (startsName() || isDigit(peek()))) advanceCharacter();
    std::string_view written = src_.substr(begin, pos_ - begin);
    TokenKind kind = TokenKind::Name;
    for (const Keyword& k : kKeywords) {
        if (sameIgnoringCase(written, k.spelling)) kind = k.kind;
    }
    push(kind, begin).text = std::string(written);
}

void Lexer::lexSymbol(std::size_t begin) {
    for (int length : {2, 1}) {
        std::string_view here = src_.substr(pos_, static_cast<std::size_t>(length));
        for (const auto& [kind, spelling] : kSymbols) {
            if (spelling == here) {
                for (int i = 0; i < length; ++i) advance();
                push(kind, begin);
                return;
            }
        }
    }
    std::string shown = static_cast<unsigned char>(peek()) < 0x20
                            ? "文字コード " + std::to_string(static_cast<int>(peek()))
                            : std::string("'").append(1, peek()).append("'");
    throwSyntaxError("使えない文字です: " + shown, line_, startColumn_);
}

// LF, or a CR on its own as old Mac editors end lines; the CR of CR LF is a blank.
bool Lexer::atLineEnd() const { return peek() == '\n' || (peek() == '\r' && peek(1) != '\n'); }

bool Lexer::atIdeographicSpace() const { return src_.substr(pos_).starts_with(kIdeographicSpace); }

void Lexer::advance() {
    ++pos_;
    if (pos_ < src_.size() && (static_cast<unsigned char>(src_[pos_]) & 0xC0) != 0x80) ++column_;
}

void Lexer::advanceCharacter() {
    do {
        advance();
    } while (pos_ < src_.size() && (static_cast<unsigned char>(src_[pos_]) & 0xC0) == 0x80);
}

bool Lexer::startsName() const {
    char c = peek();
    return isAsciiLetter(c) || c == '_' ||
           (static_cast<unsigned char>(c) >= 0x80 && !atIdeographicSpace() &&
            !invisibleAt(src_.substr(pos_)));
}

Token& Lexer::push(TokenKind kind, std::size_t begin) {
    Token& token = pending_.emplace();
    token.kind = kind;
    token.line = line_;
    token.column = startColumn_;
    token.begin = begin;
    token.end = pos_;
    return token;
}

std::string foldCase(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = lowerAscii(c);
    return folded;
}

// FNV-1a over the folded bytes.
std::size_t FoldedNameHash::operator()(std::string_view name) const {
    std::uint64_t hash = 14695981039346656037u;
    for (char c : name) hash = (hash ^ static_cast<unsigned char>(lowerAscii(c))) * 1099511628211u;
    return static_cast<std::size_t>(hash);
}

bool FoldedNameEqual::operator()(std::string_view a, std::string_view b) const {
    return sameIgnoringCase(a, b);
}

std::string describeToken(const Token& token) {
    switch (token.kind) {
        case TokenKind::Newline:
        case TokenKind::End:
            return "行末";
        case TokenKind::Number:
            return "数値";
        case TokenKind::String:
            return "文字列";
        case TokenKind::HostKey:
            return "'[" + shownText(token.text) + "]'";
        case TokenKind::Name:
            return "'" + shownText(token.text) + "'";
        default:
            break;
    }
    for (const Keyword& k : kKeywords) {
        if (k.kind == token.kind) return "'" + token.text + "'";
    }
    for (const auto& [kind, spelling] : kSymbols) {
        if (kind == token.kind) return std::string("'").append(spelling).append("'");
    }
    return "?";
}

}  // namespace ttscript
