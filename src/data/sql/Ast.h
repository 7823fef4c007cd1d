#pragma once
// The parsed statement tree. The parser builds it, the binder types it (resolving columns through
// the catalog, normalising literals, marking conversions) and an emitter prints it for one engine.
// Nothing here is specific to an engine.

#include "Catalog.h"
#include "FieldType.h"
#include "Lexer.h"
#include "Translator.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace sql::ast {

struct Select;
struct Expr;
using ExprPtr = std::unique_ptr<Expr>;
using SelectPtr = std::unique_ptr<Select>;

enum class ExprKind {
    Literal,    // text / integer / float
    Null,
    Param,      // :NAME
    Column,     // [qualifier.]name
    Star,       // [qualifier.]*  (select list and count(*))
    Unary,      // op: "-", "+", "NOT", "~"
    Binary,     // op: "+", "-", "*", "/", "%", "||", "AND", "OR", "=", "<>", "<", ">", "<=", ">="
    Between,    // args: operand, low, high
    InList,     // args: operand, items...
    InSelect,   // args: operand; select
    IsNull,     // args: operand
    Like,       // args: operand, pattern [, escape]
    Exists,     // select
    Case,       // args: [operand] (when, then)... [else]
    Function,   // name in `name` (upper case), args; window: over*
    Convert,    // convert(type, x [, style]) and cast(x as type): args: x
    Subquery,   // scalar subquery
    Implicit    // a conversion the binder inserted: args: x; converts to `type`
};

enum class LiteralKind { Text, Integer, Float };

// How the binder decided a '+'.
enum class PlusKind { Undecided, Concat, Add, Runtime };

struct TypeName {
    QString name;  // lower case: varchar, nvarchar, int, datetime, ...
    int length = -1; // -1 none; -2 max
    int scale = -1;
};

struct OrderItem {
    ExprPtr expr;
    bool descending = false;
};

struct Expr {
    ExprKind kind = ExprKind::Null;
    qsizetype pos = 0;

    QString op;          // Unary / Binary operator
    QString name;        // Column name, Param name, Function name (upper case), Literal text
    QString qualifier;   // Column / Star qualifier; Function schema ("dbo")
    bool quoted = false; // Column written as a quoted identifier
    LiteralKind literal = LiteralKind::Text;
    bool negated = false;  // NOT IN / NOT LIKE / NOT BETWEEN / IS NOT NULL / NOT EXISTS
    bool distinct = false; // COUNT(DISTINCT x)
    bool caseHasOperand = false, caseHasElse = false;
    std::vector<ExprPtr> args;
    SelectPtr select;

    bool hasOver = false;
    std::vector<ExprPtr> partitionBy;
    std::vector<OrderItem> overOrderBy;

    TypeName typeName; // Convert
    int style = -1;    // Convert style

    // Literal from a quoted text or number of the statement text: its ordinal among them (-1 for
    // literals made otherwise), and whether the parser folded a leading '-' into it.
    int slot = -1;
    bool slotNegated = false;

    // ---- set by the binder
    FieldType type = FieldType::Unknown;
    PlusKind plus = PlusKind::Undecided;
    bool caseInsensitive = false; // comparison / IN / LIKE / ORDER BY of texts
    bool singleRowChecked = false; // scalar subquery that must raise when it yields 2 rows
    QString boundQualifier;        // Column: the source it resolved to (alias or table name)
    bool neptunTable = false;
    std::vector<FieldType> conversions; // Literal: the types it was converted to, in order
};

struct SelectItem {
    ExprPtr expr;
    QString alias;
    bool aliasQuoted = false;
};

enum class SourceKind { Table, Derived, OpenQuery };

struct TableRef {
    SourceKind kind = SourceKind::Table;
    QString schema; // "dbo" or empty
    QString name;   // table name as written
    bool nameQuoted = false;
    QString alias;
    SelectPtr select;       // Derived, OpenQuery (the translated inner statement)
    QString linkedServer;   // OpenQuery
    QString join;           // empty for the first / comma; "JOIN", "LEFT JOIN", "CROSS JOIN"
    ExprPtr on;
    bool neptun = false;    // a table of the Neptun stand-in
};

struct OutputColumn {
    QString name;
    FieldType type = FieldType::Unknown;
};

struct Select {
    Dialect dialect = Dialect::TSql;
    bool distinct = false;
    ExprPtr top;       // TOP n
    qint64 limit = -1; // Oracle ROWNUM condition turned into a limit
    std::vector<SelectItem> items;
    std::vector<TableRef> from;
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
    std::vector<OrderItem> orderBy;

    // ---- set by the binder
    std::vector<OutputColumn> outputs;
    bool outputsComplete = true; // false when a '*' of an unknown source was expanded
};

struct ColumnDef {
    QString name;
    TypeName type;
    bool identity = false;
    bool notNull = false;
    bool primaryKey = false;
    bool unique = false;
    ExprPtr defaultValue;
    QString refTable, refColumn;
};

struct TableConstraint {
    enum Kind { PrimaryKey, Unique, ForeignKey } kind = PrimaryKey;
    QString name;
    QStringList columns;
    QString refTable;
    QStringList refColumns;
};

enum class DdlKind { None, CreateTable, AlterAddColumn, CreateIndex, DropTable, DropIndex, DropView };

struct Statement {
    StatementKind kind = StatementKind::Other;
    qsizetype pos = 0;

    SelectPtr select; // Select; Insert ... Select

    QString table;    // Insert / Update / Delete / DDL target (without "dbo.")
    QStringList columns;                     // Insert column list (as written)
    std::vector<std::vector<ExprPtr>> rows;  // Insert ... Values
    std::vector<std::pair<QString, ExprPtr>> sets; // Update
    ExprPtr where;                           // Update / Delete

    DdlKind ddl = DdlKind::None;
    std::vector<ColumnDef> columnDefs;       // CreateTable, AlterAddColumn (one)
    std::vector<TableConstraint> constraints;
    QString indexName;
    bool uniqueIndex = false;
    std::vector<std::pair<QString, bool>> indexColumns; // name, descending
    bool ifExists = false;
};

} // namespace sql::ast
