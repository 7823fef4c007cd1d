#pragma once
// Prints a bound statement as SQLite text, calling the functions of SqliteExtensions.

#include "Ast.h"

namespace sql {

class SqliteEmitter {
public:
    QString emitStatement(const ast::Statement &st);

    // A literal of the statement text left open in a template: where it stands, the conversions
    // the binder applied to it and the kind it was printed as.
    struct Hole {
        int slot = -1;
        bool negated = false;
        std::vector<FieldType> conversions;
        ast::LiteralKind printedAs = ast::LiteralKind::Text;
        // may be sent as a bound parameter: not in a select list (the result column names are
        // the list's text), ORDER BY / GROUP BY (numbers are ordinals) or LIMIT
        bool bindable = false;
    };
    // Template mode: every literal with a slot is printed as the marker HoleStart, the hole's
    // index in holes, HoleEnd, and described in holes.
    void setHoles(std::vector<Hole> *holes) { m_holes = holes; }
    static constexpr char16_t HoleStart = u'\x01';
    static constexpr char16_t HoleEnd = u'\x02';
    // A literal value as the emitter prints it.
    static void printLiteral(ast::LiteralKind kind, const QString &value, QString &out);

    // Names of the attached Neptun stand-in and of the collation.
    static constexpr const char *NeptunSchema = "neptun";

private:
    // used: for a derived table, the lower-case names of its columns that the enclosing select reads
    void select(const ast::Select &s, QString &out, const QString &singleAlias = QString(), qint64 extraLimit = -1,
                const QStringList *used = nullptr);
    void source(const ast::TableRef &ref, QString &out, const QStringList *used = nullptr);
    void expr(const ast::Expr &e, QString &out);
    void operand(const ast::Expr &e, QString &out);
    // operands first..last of a Binary node with more than two operands (or Oracle's ||)
    void chain(const ast::Expr &e, size_t first, size_t last, QString &out);
    void function(const ast::Expr &e, QString &out);
    void convert(const ast::Expr &e, QString &out);
    void implicit(const ast::Expr &e, QString &out);
    void orderItems(const std::vector<ast::OrderItem> &items, QString &out);
    void ddl(const ast::Statement &st, QString &out);
    void identifier(const QString &name, bool quoted, QString &out);
    void columnType(const ast::ColumnDef &c, QString &out);

    std::vector<Hole> *m_holes = nullptr;
    int m_noBind = 0; // inside a part whose literals are not bindable
    bool m_qualifyColumns = false; // inside an inlined function body: outer columns get their source
};

} // namespace sql
