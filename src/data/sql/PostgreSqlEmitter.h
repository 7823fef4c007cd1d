#pragma once
// Prints a bound statement as PostgreSQL text with the semantics of the embedded engine (SQL Server
// under a case-insensitive collation): texts compare folded and blank-trimmed, order by the
// KOVRA_CI key, LIKE follows the Transact-SQL pattern, conversions raise the server's messages. The
// kovra_* functions it calls are those of PostgreSqlSupportScript(). A construct PostgreSQL cannot
// give the same result for is refused with a TranslateError naming it.

#include "Ast.h"
#include "SqliteEmitter.h"

namespace sql {

class PostgreSqlEmitter {
public:
    using Hole = SqliteEmitter::Hole;

    QString emitStatement(const ast::Statement &st);
    // Template mode, as SqliteEmitter::setHoles.
    void setHoles(std::vector<Hole> *holes) { m_holes = holes; }
    // An INSERT into a table with an identity column returns it (" RETURNING column").
    void setIdentityColumn(const QString &column) { m_identity = column; }
    // A literal value as printed; false for a text PostgreSQL cannot hold (a NUL character).
    static bool printLiteral(ast::LiteralKind kind, const QString &value, QString &out);

private:
    void select(const ast::Select &s, QString &out, const QString &singleAlias = QString(), qint64 extraLimit = -1);
    void source(const ast::TableRef &ref, QString &out);
    void expr(const ast::Expr &e, QString &out);
    void operand(const ast::Expr &e, QString &out);
    void chain(const ast::Expr &e, size_t first, size_t last, QString &out);
    void function(const ast::Expr &e, QString &out);
    void convert(const ast::Expr &e, QString &out);
    void implicit(const ast::Expr &e, QString &out);
    void orderItems(const std::vector<ast::OrderItem> &items, QString &out, const ast::Select *s);
    void ddl(const ast::Statement &st, QString &out);
    void identifier(const QString &name, bool quoted, QString &out);
    void columnType(const ast::ColumnDef &c, QString &out);
    // x as a text: numbers cast, dates, date-times and times in the embedded engine's text form
    void textOf(const ast::Expr &x, QString &out);
    // the folded text of x: lower case, trailing blanks removed (what '=' compares)
    void folded(const ast::Expr &x, QString &out);
    // the KOVRA_CI order key of x
    void orderKey(const ast::Expr &x, QString &out);
    // x as a timestamp (the arguments of DATEDIFF)
    void timestampOf(const ast::Expr &x, QString &out);

    std::vector<Hole> *m_holes = nullptr;
    int m_noBind = 0;
    bool m_qualifyColumns = false;
    QString m_identity;
};

} // namespace sql
