#pragma once
// Recursive-descent parser of the Transact-SQL subset the program composes, and of the Oracle
// SELECT handed to openquery. Throws TranslateError naming the construct it does not know.

#include "Ast.h"

namespace sql {

class Parser {
public:
    // Expressions and subqueries nested deeper than this are refused with a TranslateError (the
    // tree is walked recursively; SQLite itself takes far less).
    static constexpr int MaxNesting = 200;

    // numberLiterals: every quoted text and number of the text gets its ordinal (Expr::slot),
    // counted over all String and Number tokens in text order.
    Parser(const QString &text, Dialect dialect, bool numberLiterals = false);

    // Every statement of a batch: separated by ';' or simply following each other.
    std::vector<ast::Statement> parseBatch();
    // Exactly one SELECT (the inner text of openquery).
    ast::SelectPtr parseSingleSelect();

private:
    const Token &peek(int ahead = 0) const;
    const Token &next();
    bool acceptWord(QStringView kw);
    bool acceptOp(QStringView op);
    void expectWord(QStringView kw);
    void expectOp(QStringView op);
    [[noreturn]] void fail(const QString &what) const;
    [[noreturn]] void unexpected() const;
    bool atStatementStart() const;
    bool isReserved(const Token &t) const;

    bool parseStatement(ast::Statement &st);
    ast::SelectPtr parseSelect();
    void parseSelectItems(ast::Select &s);
    void parseFrom(ast::Select &s);
    ast::TableRef parseSource();
    QString parseOptionalAlias(bool *quoted = nullptr);
    void parseQualifiedName(QString &schema, QString &name, bool *quoted = nullptr);
    void parseOrderBy(std::vector<ast::OrderItem> &out);
    void parseInsert(ast::Statement &st);
    void parseUpdate(ast::Statement &st);
    void parseDelete(ast::Statement &st);
    void parseCreate(ast::Statement &st);
    void parseAlter(ast::Statement &st);
    void parseDrop(ast::Statement &st);
    ast::ColumnDef parseColumnDef();
    ast::TypeName parseTypeName();
    QStringList parseNameList();

    ast::ExprPtr parseExpr();
    ast::ExprPtr parseAnd();
    ast::ExprPtr parseNot();
    ast::ExprPtr parsePredicate();
    ast::ExprPtr parseAdditive();
    ast::ExprPtr parseMultiplicative();
    ast::ExprPtr parseUnary();
    // One left-associative level of binary operators: operands from operand, each operator named
    // by opOf (empty = not an operator of this level).
    ast::ExprPtr parseBinaryLevel(ast::ExprPtr (Parser::*operand)(), QString (*opOf)(const Token &));
    ast::ExprPtr parsePrimary();
    ast::ExprPtr parseFunction(const QString &schema, const QString &name, qsizetype pos);
    ast::ExprPtr parseCase(qsizetype pos);

    QString m_text;
    Dialect m_dialect;
    QVector<Token> m_tokens;
    QVector<int> m_slots; // per token: the literal's ordinal, -1 for other tokens; empty = not counted
    int m_pos = 0;
    int m_depth = 0; // nesting of the construct being parsed
    struct Nest {
        Parser &p;
        int levels;
        Nest(Parser &parser, int n = 1);
        ~Nest() { p.m_depth -= levels; }
        void add(); // one level more for this construct
    };
};

} // namespace sql
