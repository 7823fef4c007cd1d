#pragma once
// Types a parsed statement against the catalog: resolves columns, gives every expression its
// server type, decides '+', normalises quoted literals to the types they meet, and marks the
// conversions and checks an emitter must produce. Engine-neutral.

#include "Ast.h"

namespace sql {

class Binder {
public:
    explicit Binder(const Catalog &catalog) : m_catalog(catalog) {}

    void bind(ast::Statement &st);
    // The statement reads the Neptun stand-in (openquery).
    bool usesNeptun() const { return m_neptun; }

    // The result columns of a bound SELECT statement (empty when a '*' of an unknown source
    // makes them uncertain).
    static QVector<FieldType> resultTypes(const ast::Statement &st);

private:
    struct Source {
        QString key;        // alias, else table name (as written)
        QString tableName;  // Table: name without schema
        const TableInfo *table = nullptr;
        const std::vector<ast::OutputColumn> *derived = nullptr;
        bool neptun = false;
    };
    struct Scope {
        std::vector<Source> sources;
        Scope *parent = nullptr;
        const ast::Select *select = nullptr; // for ORDER BY aliases
        bool oracle = false;
    };
    struct Resolved {
        bool found = false;
        FieldType type = FieldType::Unknown;
        QString qualifier;
    };

    void bindSelect(ast::Select &s, Scope *parent, bool oracle);
    void bindExpr(ast::ExprPtr &e, Scope &scope);
    void bindOrderExpr(ast::ExprPtr &e, Scope &scope);
    void bindColumn(ast::Expr &e, Scope &scope);
    void bindFunction(ast::ExprPtr &e, Scope &scope);
    void bindConvert(ast::Expr &e);
    void bindBinary(ast::Expr &e);
    void bindPlus(ast::Expr &e);
    void bindComparison(ast::Expr &node, std::vector<ast::ExprPtr *> operands);
    void bindSubquery(ast::Expr &e, Scope &scope);
    Resolved resolve(const QString &qualifier, const QString &name, Scope &scope);
    void addSource(Scope &scope, ast::TableRef &ref, Scope *outer, bool oracle);
    void expandStar(const ast::Expr &star, Scope &scope, ast::Select &s);
    bool provablySingleRow(const ast::Select &s) const;
    void extractRownum(ast::Select &s);
    void bindDdl(ast::Statement &st);

    const Catalog &m_catalog;
    bool m_neptun = false;
    bool m_oracle = false; // binding the Oracle text of openquery
    int m_plusSplits = 0;  // chains of '+' broken where their kind changes
};

// The server's type precedence: the operand of lower precedence is converted.
int TypeRank(FieldType t);
bool IsTemporal(FieldType t);
bool IsNumeric(FieldType t);

// Converts expression e to type target where it meets a value of that type (comparison,
// assignment). A quoted literal is converted now (ConversionError when it cannot be); another
// expression of a different type is wrapped in an Implicit conversion. forStorage: also wrap
// untyped values meeting a numeric column.
void Coerce(ast::ExprPtr &e, FieldType target, bool forStorage);

// Converts a literal to the type it meets (ConversionError when it cannot be) and records the
// conversion in lit.conversions, so that the same steps can be replayed on another value.
void ConvertLiteral(ast::Expr &lit, FieldType target);

// The type a Transact-SQL column type name declares; TranslateError for one not supported.
FieldType TypeOfName(const ast::TypeName &t);

} // namespace sql
