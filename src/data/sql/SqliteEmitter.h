#pragma once
// Prints a bound statement as SQLite text, calling the functions of SqliteExtensions.

#include "Ast.h"

namespace sql {

class SqliteEmitter {
public:
    QString emitStatement(const ast::Statement &st);

    // Names of the attached Neptun stand-in and of the collation.
    static constexpr const char *NeptunSchema = "neptun";

private:
    void select(const ast::Select &s, QString &out, const QString &singleAlias = QString(), qint64 extraLimit = -1);
    void source(const ast::TableRef &ref, QString &out);
    void expr(const ast::Expr &e, QString &out);
    void operand(const ast::Expr &e, QString &out);
    void function(const ast::Expr &e, QString &out);
    void convert(const ast::Expr &e, QString &out);
    void implicit(const ast::Expr &e, QString &out);
    void orderItems(const std::vector<ast::OrderItem> &items, QString &out);
    void ddl(const ast::Statement &st, QString &out);
    void identifier(const QString &name, bool quoted, QString &out);
    void columnType(const ast::ColumnDef &c, QString &out);

    bool m_qualifyColumns = false; // inside an inlined function body: outer columns get their source
};

} // namespace sql
