#include "ttscript/parser.h"

#include <deque>
#include <new>
#include <optional>
#include <string>

#include "ttscript/lexer.h"
#include "ttscript/script_failure.h"

namespace ttscript {
namespace {

std::string lineText(int line) { return std::to_string(line) + " 行目"; }

// `before`, the token's description and `after`, spaced as Japanese text is around
// a quoted word: "余分な '=' があります" but "余分な数値があります".
std::string phrase(std::string_view before, const Token& t, std::string_view after) {
    std::string described = describeToken(t);
    std::string space = described.starts_with('\'') ? " " : "";
    std::string out(before);
    if (!out.empty()) out += space;
    out += described;
    if (!after.empty()) out.append(space).append(after);
    return out;
}

class Parser {
  public:
    Parser(std::string_view source, const ParseProgress& progress)
        : lexer_(source), source_(source), progress_(progress) {}

    // The runtime error for memory run out, at the token the parser was at.
    [[noreturn]] void outOfMemory() const {
        const Token& t = peek();
        throw ScriptFailure(std::string(kRuntimeErrorPrefix) + "メモリが足りません",
                            {t.line, t.column});
    }

    // program := { functionDefinition | importLine | statement | NEWLINE } END
    Program parseProgram() {
        Program program;
        std::size_t nextReport = kBytesPerProgressReport;
        for (;;) {
            skipNewlines();
            const Token& t = peek();
            if (t.kind == TokenKind::End) break;
            if (progress_ && t.begin >= nextReport) {
                progress_(t.begin, source_.size());
                nextReport = t.begin + kBytesPerProgressReport;
            }
            if (t.kind == TokenKind::Function) {
                program.functions.push_back(parseFunction());
            } else if (isImport(t) && peek(1).kind == TokenKind::String) {
                // importLine := "Import" string NEWLINE
                advance();
                program.imports.push_back({advance().text, t.line, t.column});
                expectLineEnd();
            } else if (isBlockEnd(t)) {
                strayBlockEnd(t);
            } else {
                program.main.push_back(parseStatementLine());
            }
        }
        program.names = std::move(names_);
        return program;
    }

  private:
    // "Import" is no keyword: a script may still name a variable so.
    static bool isImport(const Token& t) {
        return t.kind == TokenKind::Name && foldCase(t.text) == "import";
    }

    // Counts nesting like Lua's enterlevel/leavelevel so deep input gives an error,
    // not a stack overflow.
    class Level {
      public:
        explicit Level(Parser& parser) : parser_(parser) {}
        Level(Parser& parser, const Token& at) : parser_(parser) { enter(at); }
        ~Level() { parser_.depth_ -= count_; }
        Level(const Level&) = delete;
        Level& operator=(const Level&) = delete;
        void enter(const Token& at) {
            if (parser_.depth_ >= kMaxNesting) {
                throwSyntaxError("入れ子が深すぎます（上限 " + std::to_string(kMaxNesting) + "）",
                                 at.line, at.column);
            }
            ++parser_.depth_, ++count_;
        }

      private:
        Parser& parser_;
        int count_ = 0;
    };

    // The tokens are read as they are needed. Those of a finished line are let go
    // when its line end is passed: a token kept beyond its line is kept as a copy.
    // The next token is asked for many times over (once for each level of the
    // operators), so it is kept at hand: growing a deque moves none of its tokens.
    const Token& peek(std::size_t ahead = 0) const {
        if (ahead == 0 && next_ != nullptr) return *next_;
        return read(ahead);
    }
    const Token& read(std::size_t ahead) const {
        while (window_.size() <= pos_ + ahead) window_.push_back(lexer_.next());
        if (ahead == 0) next_ = &window_[pos_];
        return window_[pos_ + ahead];
    }
    bool check(TokenKind kind) const { return peek().kind == kind; }
    const Token& advance() {
        const Token& t = peek();
        if (t.kind == TokenKind::End) return t;
        if (t.kind == TokenKind::Newline) {
            window_.erase(window_.begin(), window_.begin() + static_cast<std::ptrdiff_t>(pos_));
            pos_ = 0;
        }
        ++pos_;
        next_ = nullptr;
        lastEnd_ = t.end;
        return t;
    }
    bool match(TokenKind kind) {
        if (!check(kind)) return false;
        advance();
        return true;
    }
    const Token& expect(TokenKind kind, const std::string& what, const std::string& context = {}) {
        if (check(kind)) return advance();
        const Token& t = peek();
        std::string where = context.empty() ? phrase("", t, "の位置") : context;
        throwSyntaxError("'" + what + "' がありません（" + where + "）", t.line, t.column);
    }
    void skipNewlines() {
        while (match(TokenKind::Newline)) {
        }
    }
    void expectLineEnd() {
        if (match(TokenKind::Newline)) return;
        const Token& t = peek();
        throwSyntaxError(phrase("文の後に余分な", t, "があります"), t.line, t.column);
    }
    [[noreturn]] void fail(const Token& at, const std::string& what) const {
        throwSyntaxError(what, at.line, at.column);
    }

    // A name token as written, kept in the program's name store.
    std::string_view written(const Token& name) {
        return names_.keep(source_.substr(name.begin, name.end - name.begin));
    }

    static bool isBlockEnd(const Token& t) {
        switch (t.kind) {
            case TokenKind::ElseIf:
            case TokenKind::Else:
            case TokenKind::EndKw:
            case TokenKind::Wend:
            case TokenKind::Next:
            case TokenKind::End:
                return true;
            default:
                return false;
        }
    }

    // A closing word with nothing open to close.
    [[noreturn]] void strayBlockEnd(const Token& t) const {
        std::string opener = "If";
        std::string closer = t.text;
        if (t.kind == TokenKind::Wend) opener = "While";
        if (t.kind == TokenKind::Next) opener = "For";
        if (t.kind == TokenKind::EndKw) {
            const Token& what = peek(1);
            if (what.kind != TokenKind::If && what.kind != TokenKind::Function) {
                fail(t, "'End' の後には If か Function が必要です");
            }
            if (what.kind == TokenKind::Function) opener = "Function";
            closer += " " + what.text;
        }
        fail(t, "'" + closer + "' に対応する '" + opener + "' がありません");
    }

    // The end of a block did not close `opener`: "'End If' がありません（3 行目の 'If' に対応）".
    [[noreturn]] void unclosed(const std::string& closer, const Token& opener) const {
        fail(peek(), "'" + closer + "' がありません（" + lineText(opener.line) + "の '" +
                         opener.text + "' に対応）");
    }

    // block := { statement NEWLINE | NEWLINE }, up to a closing word
    Block parseBlock() {
        Block block;
        for (;;) {
            skipNewlines();
            const Token& t = peek();
            if (isBlockEnd(t)) return block;
            if (t.kind == TokenKind::Function) {
                fail(t, "関数はスクリプトの一番外側でしか定義できません");
            }
            block.push_back(parseStatementLine());
        }
    }

    bool atEnd(TokenKind what) const { return check(TokenKind::EndKw) && peek(1).kind == what; }

    // functionDefinition := "Function" name "(" [ name { "," name } ] ")" NEWLINE
    //                       block "End" "Function"
    FunctionDef parseFunction() {
        const Token opener = advance();  // kept past its line
        Level level(*this, opener);
        FunctionDef fn;
        const Token& name = expect(TokenKind::Name, "関数名", "'Function' の後");
        fn.name = name.text, fn.line = name.line, fn.column = name.column;
        expect(TokenKind::LParen, "(");
        if (!check(TokenKind::RParen)) {
            do {
                fn.parameters.push_back(expect(TokenKind::Name, "引数名").text);
            } while (match(TokenKind::Comma));
        }
        expect(TokenKind::RParen, ")");
        expectLineEnd();
        inFunction_ = true;
        fn.body = parseBlock();
        inFunction_ = false;
        if (!atEnd(TokenKind::Function)) unclosed("End Function", opener);
        advance(), advance();
        expectLineEnd();
        return fn;
    }

    Stmt parseStatementLine() {
        Stmt s = parseStatement();
        expectLineEnd();
        return s;
    }

    // statement := ifStatement | whileStatement | forStatement | exitStatement
    //            | returnStatement | hostKey "=" expr | nameStatement
    Stmt parseStatement() {
        const Token& t = peek();
        Stmt s;
        s.line = t.line, s.column = t.column;
        switch (t.kind) {
            case TokenKind::If:
                parseIf(s);
                break;
            case TokenKind::While:
                parseWhile(s);
                break;
            case TokenKind::For:
                parseFor(s);
                break;
            case TokenKind::Exit:
                parseExit(s);
                break;
            case TokenKind::Return:
                advance();
                if (!inFunction_) fail(t, "'Return' は関数の中でしか使えません");
                s.kind = StmtKind::Return;
                if (!check(TokenKind::Newline)) s.exprs.push_back(parseExpression());
                break;
            case TokenKind::HostKey:
                s.kind = StmtKind::SetData;
                s.payload = std::make_unique<HostItem>(HostItem{advance().text, ""});
                expect(TokenKind::Equal, "=", "'[" + s.item().key + "]' の後");
                s.exprs.push_back(parseExpression(&s.item().plain));
                break;
            case TokenKind::Name:
                parseNameStatement(s);
                break;
            default:
                fail(t, phrase("", t, "で始まる文はありません"));
        }
        return s;
    }

    // nameStatement := name "=" expr | postfix "=" expr | call
    void parseNameStatement(Stmt& s) {
        const Token& t = peek();
        if (peek(1).kind == TokenKind::Equal) return parseAssignment(s);
        if (peek(1).kind != TokenKind::LParen) {
            if (isImport(t) && peek(1).kind == TokenKind::String) {
                fail(t, "'Import' はスクリプトの一番外側（関数やブロックの外）に書きます");
            }
            if (foldCase(t.text) == "dim") {
                fail(t, "'Dim' は要りません（変数は宣言しなくても、代入すると使えます）");
            }
            fail(peek(1), "'=' か '(' がありません（'" + shownText(t.text) + "' の後）");
        }
        ExprPtr target = parsePrimary();
        if (!check(TokenKind::Equal)) {
            s.kind = StmtKind::Call;
            s.exprs.push_back(std::move(target));
            return;
        }
        const Token& equal = advance();
        s.kind = StmtKind::IndexAssign;
        splitIndex(*target, equal, s.exprs);
        s.exprs.push_back(parseExpression());
    }

    // Puts the collection and the key of the element `target` names into `out`.
    // `name(key)` is parsed as a call; as an assignment's target it can only index.
    void splitIndex(Expr& target, const Token& equal, std::vector<ExprPtr>& out) {
        if (target.kind == ExprKind::Call) {
            if (target.operands.size() != 1) {
                throwSyntaxError("代入する要素の位置かキーは一つだけ書きます", target.line,
                                 target.column);
            }
            ExprPtr name = makeExpr(ExprKind::Variable, target.line, target.column);
            name->payload = VariableRef{target.call().name};
            out.push_back(std::move(name));
            out.push_back(std::move(target.operands[0]));
            return;
        }
        if (target.kind != ExprKind::Index) fail(equal, "'=' の左に代入できるものがありません");
        out.push_back(std::move(target.operands[0]));
        out.push_back(std::move(target.operands[1]));
    }

    // assignment := name "=" expr
    // `x = x & a & b` becomes an append, so building a long text stays linear.
    void parseAssignment(Stmt& s) {
        s.payload = VariableRef{written(advance())};
        advance();
        ExprPtr value = parseExpression();
        bool appends = value->kind == ExprKind::Concat &&
                       value->operands[0]->kind == ExprKind::Variable &&
                       foldCase(value->operands[0]->variable().name) == foldCase(s.variable().name);
        if (appends) {
            s.kind = StmtKind::Append;
            for (std::size_t i = 1; i < value->operands.size(); ++i) {
                s.exprs.push_back(std::move(value->operands[i]));
            }
        } else {
            s.kind = StmtKind::Assign;
            s.exprs.push_back(std::move(value));
        }
    }

    // ifStatement := "If" expr "Then" NEWLINE block { "ElseIf" expr "Then" NEWLINE block }
    //                [ "Else" NEWLINE block ] "End" "If"
    void parseIf(Stmt& s) {
        const Token opener = advance();  // kept past its line
        Level level(*this, opener);
        s.kind = StmtKind::If;
        for (;;) {
            s.exprs.push_back(parseExpression());
            expect(TokenKind::Then, "Then");
            expectLineEnd();
            s.blocks.push_back(parseBlock());
            if (!match(TokenKind::ElseIf)) break;
        }
        if (match(TokenKind::Else)) {
            expectLineEnd();
            s.blocks.push_back(parseBlock());
        }
        if (!atEnd(TokenKind::If)) unclosed("End If", opener);
        advance(), advance();
    }

    // whileStatement := "While" expr NEWLINE block "Wend"
    void parseWhile(Stmt& s) {
        const Token opener = advance();  // kept past its line
        Level level(*this, opener);
        s.kind = StmtKind::While;
        s.exprs.push_back(parseExpression());
        expectLineEnd();
        ++whileDepth_;
        s.blocks.push_back(parseBlock());
        --whileDepth_;
        if (!match(TokenKind::Wend)) unclosed("Wend", opener);
    }

    // forStatement := "For" name "=" expr "To" expr [ "Step" expr ] NEWLINE block
    //                 "Next" [ name ]
    void parseFor(Stmt& s) {
        const Token opener = advance();  // kept past its line
        Level level(*this, opener);
        if (isWord(peek(), "each") && peek(1).kind == TokenKind::Name)
            return parseForEach(s, opener);
        s.kind = StmtKind::For;
        s.payload = VariableRef{written(expect(TokenKind::Name, "変数名", "'For' の後"))};
        expect(TokenKind::Equal, "=");
        s.exprs.push_back(parseExpression());
        expect(TokenKind::To, "To");
        s.exprs.push_back(parseExpression());
        if (match(TokenKind::Step)) s.exprs.push_back(parseExpression());
        parseForBody(s, opener);
    }

    // "Each" and "In" are words only here, so a script may still use them as names.
    static bool isWord(const Token& t, std::string_view folded) {
        return t.kind == TokenKind::Name && foldCase(t.text) == folded;
    }

    // forEachStatement := "For" "Each" name "In" expr NEWLINE block "Next" [ name ]
    void parseForEach(Stmt& s, const Token& opener) {
        advance();
        s.kind = StmtKind::ForEach;
        s.payload = VariableRef{written(advance())};
        if (!isWord(peek(), "in")) {
            const Token& t = peek();
            throwSyntaxError("'In' がありません（" + phrase("", t, "の位置") + "）", t.line,
                             t.column);
        }
        advance();
        s.exprs.push_back(parseExpression());
        parseForBody(s, opener);
    }

    void parseForBody(Stmt& s, const Token& opener) {
        expectLineEnd();
        ++forDepth_;
        s.blocks.push_back(parseBlock());
        --forDepth_;
        if (!match(TokenKind::Next)) unclosed("Next", opener);
        if (check(TokenKind::Name)) {
            const Token& name = advance();
            if (foldCase(name.text) != foldCase(s.variable().name)) {
                fail(name, "'Next " + name.text + "' が 'For " + std::string(s.variable().name) +
                               "' と合いません（" + lineText(opener.line) + "）");
            }
        }
    }

    // exitStatement := "Exit" ( "For" | "While" | "Function" )
    void parseExit(Stmt& s) {
        const Token& exitToken = advance();
        const Token& what = advance();
        auto outside = [&](const std::string& where) {
            fail(exitToken, "'Exit " + what.text + "' は '" + where + "' の中でしか使えません");
        };
        if (what.kind == TokenKind::For) {
            if (forDepth_ == 0) outside("For");
            s.kind = StmtKind::ExitFor;
        } else if (what.kind == TokenKind::While) {
            if (whileDepth_ == 0) outside("While");
            s.kind = StmtKind::ExitWhile;
        } else if (what.kind == TokenKind::Function) {
            if (!inFunction_) outside("Function");
            s.kind = StmtKind::Return;
        } else {
            fail(what, "'Exit' の後には For、While、Function のどれかが必要です");
        }
    }

    ExprPtr makeExpr(ExprKind kind, int line, int column) {
        auto e = std::make_unique<Expr>();
        e->kind = kind, e->line = line, e->column = column;
        return e;
    }
    ExprPtr makeExpr(ExprKind kind, const Token& at) { return makeExpr(kind, at.line, at.column); }

    // expr := orExpr. When `plain` is given it receives the expression's source text.
    ExprPtr parseExpression(std::string* plain = nullptr) {
        std::size_t first = peek().begin;
        ExprPtr e = parseBinary(Precedence::Or);
        if (plain) *plain = std::string(source_.substr(first, lastEnd_ - first));
        return e;
    }

    // orExpr := andExpr { "Or" andExpr }
    // andExpr := notExpr { "And" notExpr }
    // comparison := concatenation { ( "=" | "<>" | "<" | ">" | "<=" | ">=" ) concatenation }
    // additive := term { ( "+" | "-" ) term }
    // term := unary { ( "*" | "/" | "Mod" ) unary }
    enum class Precedence : unsigned char { Or, And, Comparison, Additive, Term };

    struct Operator {
        Precedence level;
        TokenKind token;
        BinaryOp op;
    };

    // The binary operators, loosest first; `&` and `Not` have their own rules below.
    static constexpr Operator kOperators[] = {
        {Precedence::Or, TokenKind::Or, BinaryOp::Or},
        {Precedence::And, TokenKind::And, BinaryOp::And},
        {Precedence::Comparison, TokenKind::Equal, BinaryOp::Eq},
        {Precedence::Comparison, TokenKind::NotEqual, BinaryOp::Ne},
        {Precedence::Comparison, TokenKind::Less, BinaryOp::Lt},
        {Precedence::Comparison, TokenKind::Greater, BinaryOp::Gt},
        {Precedence::Comparison, TokenKind::LessEqual, BinaryOp::Le},
        {Precedence::Comparison, TokenKind::GreaterEqual, BinaryOp::Ge},
        {Precedence::Additive, TokenKind::Plus, BinaryOp::Add},
        {Precedence::Additive, TokenKind::Minus, BinaryOp::Sub},
        {Precedence::Term, TokenKind::Star, BinaryOp::Mul},
        {Precedence::Term, TokenKind::Slash, BinaryOp::Div},
        {Precedence::Term, TokenKind::Mod, BinaryOp::Mod},
    };

    static const Operator* operatorAt(Precedence level, TokenKind token) {
        for (const Operator& o : kOperators) {
            if (o.level == level && o.token == token) return &o;
        }
        return nullptr;
    }

    ExprPtr parseOperand(Precedence level) {
        switch (level) {
            case Precedence::Or:
                return parseBinary(Precedence::And);
            case Precedence::And:
                return parseNot();
            case Precedence::Comparison:
                return parseConcatenation();
            case Precedence::Additive:
                return parseBinary(Precedence::Term);
            case Precedence::Term:
                return parseUnary();
        }
        return nullptr;
    }

    // One left-associative level. A chain of its operators is one node, worked out
    // left to right, so however long it is it counts as one level of nesting.
    ExprPtr parseBinary(Precedence level) {
        ExprPtr first = parseOperand(level);
        const Operator* o = operatorAt(level, peek().kind);
        if (!o) return first;
        Level nesting(*this, peek());
        ExprPtr e = makeExpr(ExprKind::Binary, peek());
        e->operands.push_back(std::move(first));
        std::vector<OperatorStep> steps;
        for (; o; o = operatorAt(level, peek().kind)) {
            const Token& at = advance();
            steps.push_back({o->op, at.line, at.column});
            e->operands.push_back(parseOperand(level));
        }
        e->payload = std::move(steps);
        return e;
    }

    // notExpr := "Not" notExpr | comparison
    ExprPtr parseNot() {
        if (!check(TokenKind::Not)) return parseBinary(Precedence::Comparison);
        const Token& op = advance();
        Level level(*this, op);
        ExprPtr e = makeExpr(ExprKind::Not, op);
        e->operands.push_back(parseNot());
        return e;
    }

    // concatenation := additive { "&" additive }   (one node however long the chain)
    ExprPtr parseConcatenation() {
        ExprPtr first = parseBinary(Precedence::Additive);
        if (!check(TokenKind::Ampersand)) return first;
        ExprPtr e = makeExpr(ExprKind::Concat, peek());
        e->operands.push_back(std::move(first));
        while (match(TokenKind::Ampersand))
            e->operands.push_back(parseBinary(Precedence::Additive));
        return e;
    }

    // unary := ( "-" | "+" ) unary | primary
    ExprPtr parseUnary() {
        if (!check(TokenKind::Minus) && !check(TokenKind::Plus)) return parsePrimary();
        const Token& op = advance();
        Level level(*this, op);
        ExprPtr operand = parseUnary();
        if (op.kind == TokenKind::Plus) return operand;
        if (operand->kind == ExprKind::Constant && operand->constant().isNumber()) {
            operand->payload = Value::number(-operand->constant().rawNumber());
            return operand;
        }
        ExprPtr e = makeExpr(ExprKind::Negate, op);
        e->operands.push_back(std::move(operand));
        return e;
    }

    // primary := number | string | hostKey | "CrLf" | "Lf" | "Tab" | name | postfix
    //          | "(" expr ")"
    ExprPtr parsePrimary() {
        const Token& t = peek();
        switch (t.kind) {
            case TokenKind::Number:
                return constant(advance(), Value::number(t.number));
            case TokenKind::String:
                return constant(advance(), Value::text(t.text));
            case TokenKind::CrLf:
                return constant(advance(), Value::text("\r\n"));
            case TokenKind::Lf:
                return constant(advance(), Value::text("\n"));
            case TokenKind::Tab:
                return constant(advance(), Value::text("\t"));
            case TokenKind::HostKey: {
                ExprPtr e = makeExpr(ExprKind::HostKey, advance());
                e->payload = std::make_unique<HostKeyRef>(HostKeyRef{t.text, {}});
                return e;
            }
            case TokenKind::Name:
                return peek(1).kind == TokenKind::LParen ? parsePostfix(parseCall()) : variable();
            case TokenKind::LParen: {
                const Token& open = advance();
                Level level(*this, open);
                ExprPtr e = parseExpression();
                expect(TokenKind::RParen, ")", std::to_string(open.column) + " 列目の '(' に対応");
                return e;
            }
            default:
                fail(t, "式がありません（" + phrase("", t, "の位置") + "）");
        }
    }

    ExprPtr constant(const Token& at, Value value) {
        ExprPtr e = makeExpr(ExprKind::Constant, at);
        e->payload = std::move(value);
        return e;
    }

    ExprPtr variable() {
        const Token& name = advance();
        ExprPtr e = makeExpr(ExprKind::Variable, name);
        e->payload = VariableRef{written(name)};
        return e;
    }

    // postfix := call { "(" expr ")" }: `x(i)(j)` reads an element of an element.
    ExprPtr parsePostfix(ExprPtr e) {
        Level level(*this);
        while (check(TokenKind::LParen)) {
            const Token& open = advance();
            level.enter(open);
            ExprPtr index = makeExpr(ExprKind::Index, open);
            index->operands.push_back(std::move(e));
            index->operands.push_back(parseExpression());
            expect(TokenKind::RParen, ")", std::to_string(open.column) + " 列目の '(' に対応");
            e = std::move(index);
        }
        return e;
    }

    // call := name "(" [ expr { "," expr } ] ")"
    ExprPtr parseCall() {
        const Token& name = advance();
        const Token& open = advance();
        Level level(*this, open);
        ExprPtr e = makeExpr(ExprKind::Call, name);
        CallTarget& target = *e->payload.emplace<std::unique_ptr<CallTarget>>(
            std::make_unique<CallTarget>(CallTarget{written(name), -1, -1, {}, {}}));
        // Only SetData hands the source text of an argument, its value, to the host.
        bool setData = foldCase(name.text) == "setdata";
        if (!check(TokenKind::RParen)) {
            do {
                if (setData && e->operands.size() == 1)
                    target.plain = std::make_unique<std::string>();
                std::string* plain = e->operands.size() == 1 ? target.plain.get() : nullptr;
                e->operands.push_back(parseExpression(plain));
            } while (match(TokenKind::Comma));
        }
        expect(TokenKind::RParen, ")", std::to_string(open.column) + " 列目の '(' に対応");
        return e;
    }

    static constexpr std::size_t kBytesPerProgressReport = 64 * 1024;

    // Filled on demand by peek(), also from its const callers.
    mutable Lexer lexer_;
    mutable std::deque<Token> window_;
    NameStore names_;
    std::string_view source_;
    const ParseProgress& progress_;
    std::size_t pos_ = 0;                  // the next token's place in window_
    mutable const Token* next_ = nullptr;  // window_[pos_] once read
    std::size_t lastEnd_ = 0;              // where the last token taken ends in the source
    int depth_ = 0;
    int forDepth_ = 0;
    int whileDepth_ = 0;
    bool inFunction_ = false;
};

}  // namespace

Program parseProgram(std::string_view source, const ParseProgress& progress) {
    Parser parser(source, progress);
    try {
        return parser.parseProgram();
    } catch (const std::bad_alloc&) {
        parser.outOfMemory();
    }
}

}  // namespace ttscript
