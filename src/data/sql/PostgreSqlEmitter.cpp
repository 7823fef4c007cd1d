#include "PostgreSqlEmitter.h"

#include "Binder.h"
#include "TemporalText.h"

#include <QSet>
#include <algorithm>
#include <optional>

namespace sql {

using namespace ast;

namespace {

// Folding and LIKE work on this deterministic ICU collation: it lower-cases all of Unicode whatever
// the database's locale and the columns' collation.
const QLatin1String FoldCollation(" COLLATE \"und-x-icu\"");

// Words PostgreSQL reserves (also as column and table names).
bool reservedWord(const QString &lower)
{
    static const QSet<QString> words = {
        "all", "analyse", "analyze", "and", "any", "array", "as", "asc", "asymmetric", "both", "case", "cast", "check",
        "collate", "column", "constraint", "create", "current_catalog", "current_date", "current_role", "current_time",
        "current_timestamp", "current_user", "default", "deferrable", "desc", "distinct", "do", "else", "end", "except",
        "false", "fetch", "for", "foreign", "from", "grant", "group", "having", "in", "initially", "intersect", "into",
        "lateral", "leading", "limit", "localtime", "localtimestamp", "not", "null", "offset", "on", "only", "or",
        "order", "placing", "primary", "references", "returning", "select", "session_user", "some", "symmetric",
        "table", "then", "to", "trailing", "true", "union", "unique", "user", "using", "variadic", "when", "where",
        "window", "with", "authorization", "binary", "collation", "concurrently", "cross", "current_schema", "freeze",
        "full", "ilike", "inner", "is", "isnull", "join", "left", "like", "natural", "notnull", "outer", "overlaps",
        "right", "similar", "tablesample", "verbose"};
    return words.contains(lower);
}

struct NoBind {
    int &depth;
    explicit NoBind(int &d) : depth(d) { ++depth; }
    ~NoBind() { --depth; }
};

[[noreturn]] void refuse(const QString &what)
{
    throw TranslateError(QStringLiteral("%1 is not supported on PostgreSQL").arg(what));
}

const char *temporalMask(FieldType t)
{
    switch (t) {
    case FieldType::Date: return "YYYY-MM-DD";
    case FieldType::DateTime: return "YYYY-MM-DD HH24:MI:SS";
    case FieldType::Time: return "HH24:MI:SS";
    default: return nullptr;
    }
}

} // namespace

bool PostgreSqlEmitter::printLiteral(LiteralKind kind, const QString &value, QString &out)
{
    if (kind != LiteralKind::Text) {
        out += value;
        return true;
    }
    if (value.contains(QChar(0)))
        return false;
    out += u'\'';
    for (QChar c : value) {
        if (c == u'\'')
            out += u'\'';
        out += c;
    }
    out += u'\'';
    return true;
}

QString PostgreSqlEmitter::emitStatement(const Statement &st)
{
    QString out;
    out.reserve(256);
    switch (st.kind) {
    case StatementKind::Select:
        select(*st.select, out);
        break;
    case StatementKind::Insert:
        out += QLatin1String("INSERT INTO ");
        identifier(st.table, false, out);
        if (!st.columns.isEmpty()) {
            out += QLatin1String(" (");
            for (int i = 0; i < st.columns.size(); ++i) {
                if (i)
                    out += QLatin1String(", ");
                identifier(st.columns[i], false, out);
            }
            out += u')';
        }
        if (st.select) {
            out += u' ';
            select(*st.select, out);
        } else {
            out += QLatin1String(" VALUES ");
            for (size_t r = 0; r < st.rows.size(); ++r) {
                if (r)
                    out += QLatin1String(", ");
                out += u'(';
                for (size_t i = 0; i < st.rows[r].size(); ++i) {
                    if (i)
                        out += QLatin1String(", ");
                    expr(*st.rows[r][i], out);
                }
                out += u')';
            }
        }
        if (!m_identity.isEmpty()) {
            out += QLatin1String(" RETURNING ");
            identifier(m_identity, false, out);
        }
        break;
    case StatementKind::Update:
        out += QLatin1String("UPDATE ");
        identifier(st.table, false, out);
        out += QLatin1String(" SET ");
        for (size_t i = 0; i < st.sets.size(); ++i) {
            if (i)
                out += QLatin1String(", ");
            identifier(st.sets[i].first, false, out);
            out += QLatin1String(" = ");
            expr(*st.sets[i].second, out);
        }
        if (st.where) {
            out += QLatin1String(" WHERE ");
            expr(*st.where, out);
        }
        break;
    case StatementKind::Delete:
        out += QLatin1String("DELETE FROM ");
        identifier(st.table, false, out);
        if (st.where) {
            out += QLatin1String(" WHERE ");
            expr(*st.where, out);
        }
        break;
    case StatementKind::Ddl:
        ddl(st, out);
        break;
    case StatementKind::Other:
        break;
    }
    return out;
}

void PostgreSqlEmitter::identifier(const QString &name, bool quoted, QString &out)
{
    // unquoted names fold to lower case in PostgreSQL, as the schema's names are
    QString n = name;
    if (!quoted) {
        bool plain = !n.isEmpty() && !n[0].isDigit() && n[0] != u'$';
        for (QChar c : n)
            if (!(c.isLetterOrNumber() || c == u'_' || c == u'$'))
                plain = false;
        if (plain && !reservedWord(n.toLower())) {
            out += n;
            return;
        }
        n = n.toLower();
    }
    out += u'"';
    for (QChar c : n) {
        if (c == u'"')
            out += u'"';
        out += c;
    }
    out += u'"';
}

void PostgreSqlEmitter::textOf(const Expr &x, QString &out)
{
    if (const char *mask = temporalMask(x.type)) {
        out += QLatin1String("to_char(");
        expr(x, out);
        out += QLatin1String(", '") + QLatin1String(mask) + QLatin1String("')");
        return;
    }
    if (x.type == FieldType::Text || x.kind == ExprKind::Null || (x.kind == ExprKind::Literal && x.literal == LiteralKind::Text)) {
        expr(x, out);
        return;
    }
    out += QLatin1String("CAST(");
    expr(x, out);
    out += QLatin1String(" AS text)");
}

void PostgreSqlEmitter::folded(const Expr &x, QString &out)
{
    if (x.kind == ExprKind::Null) {
        out += QLatin1String("NULL");
        return;
    }
    out += QLatin1String("lower(rtrim(");
    textOf(x, out);
    out += u')';
    out += FoldCollation;
    out += u')';
}

void PostgreSqlEmitter::orderKey(const Expr &x, QString &out)
{
    // kovra_ci_key has variants for numbers and dates: a value whose type is known only on the
    // server orders by its own type there, as on the embedded engine
    out += QLatin1String("kovra_ci_key(");
    if (x.type == FieldType::Unknown && x.kind != ExprKind::Literal)
        expr(x, out);
    else
        textOf(x, out);
    out += u')';
}

void PostgreSqlEmitter::timestampOf(const Expr &x, QString &out)
{
    switch (x.type) {
    case FieldType::Date:
    case FieldType::DateTime:
        out += QLatin1String("CAST(");
        expr(x, out);
        out += QLatin1String(" AS timestamp)");
        return;
    case FieldType::Time:
        out += QLatin1String("(DATE '1900-01-01' + ");
        operand(x, out);
        out += u')';
        return;
    default:
        out += QLatin1String("kovra_datetime(");
        expr(x, out);
        out += u')';
        return;
    }
}

void PostgreSqlEmitter::orderItems(const std::vector<OrderItem> &items, QString &out, const Select *s)
{
    for (size_t i = 0; i < items.size(); ++i) {
        if (i)
            out += QLatin1String(", ");
        const Expr &e = *items[i].expr;
        // a bare name of the select list's aliases, or a column number: the item itself, as
        // PostgreSQL takes output names only as a whole ORDER BY item
        const SelectItem *aliased = nullptr;
        if (s && e.kind == ExprKind::Column && e.qualifier.isEmpty()) {
            for (const SelectItem &item : s->items)
                if (!item.alias.isEmpty() && item.alias.compare(e.name, Qt::CaseInsensitive) == 0) {
                    aliased = &item;
                    break;
                }
        }
        if (s && e.kind == ExprKind::Literal && e.literal == LiteralKind::Integer) {
            const qint64 n = e.name.toLongLong();
            if (n >= 1 && n <= qint64(s->items.size()) && s->items[size_t(n - 1)].expr->kind != ExprKind::Star)
                aliased = &s->items[size_t(n - 1)];
            if (!aliased || aliased->expr->type == FieldType::Text || aliased->expr->type == FieldType::Unknown) {
                if (!aliased || s->distinct)
                    refuse(QStringLiteral("ORDER BY a column number over a text column"));
            } else {
                aliased = nullptr;
            }
        }
        if (aliased && (aliased->expr->type == FieldType::Text || aliased->expr->type == FieldType::Unknown)) {
            if (s->distinct)
                refuse(QStringLiteral("ORDER BY a text alias of a SELECT DISTINCT"));
            orderKey(*aliased->expr, out);
        } else if (aliased && e.kind == ExprKind::Column) {
            identifier(aliased->alias, aliased->aliasQuoted, out);
        } else if (e.caseInsensitive) {
            orderKey(e, out);
        } else {
            expr(e, out);
        }
        // SQL Server puts NULLs first in ascending order
        out += items[i].descending ? QLatin1String(" DESC NULLS LAST") : QLatin1String(" NULLS FIRST");
    }
}

void PostgreSqlEmitter::select(const Select &s, QString &out, const QString &singleAlias, qint64 extraLimit)
{
    out += QLatin1String("SELECT ");
    if (s.distinct) {
        for (const OutputColumn &c : s.outputs)
            if (c.type == FieldType::Text || c.type == FieldType::Unknown)
                refuse(QStringLiteral("SELECT DISTINCT over a text column (case-insensitive duplicates)"));
        if (!s.outputsComplete)
            refuse(QStringLiteral("SELECT DISTINCT over columns of unknown type"));
        out += QLatin1String("DISTINCT ");
    }
    std::optional<NoBind> items(std::in_place, m_noBind);
    for (size_t i = 0; i < s.items.size(); ++i) {
        if (i)
            out += QLatin1String(", ");
        const SelectItem &item = s.items[i];
        if (item.expr->kind == ExprKind::Star) {
            if (!item.expr->qualifier.isEmpty()) {
                identifier(item.expr->qualifier, false, out);
                out += u'.';
            }
            out += u'*';
            continue;
        }
        expr(*item.expr, out);
        if (!singleAlias.isEmpty()) {
            out += QLatin1String(" AS ");
            out += singleAlias;
        } else if (!item.alias.isEmpty()) {
            out += QLatin1String(" AS ");
            identifier(item.alias, item.aliasQuoted, out);
        }
    }
    items.reset();
    if (!s.from.empty()) {
        out += QLatin1String(" FROM ");
        for (size_t i = 0; i < s.from.size(); ++i) {
            const TableRef &ref = s.from[i];
            if (i) {
                if (ref.join.isEmpty()) {
                    out += QLatin1String(", ");
                } else {
                    out += u' ';
                    out += ref.join;
                    out += u' ';
                }
            }
            source(ref, out);
            if (ref.on) {
                out += QLatin1String(" ON ");
                expr(*ref.on, out);
            }
        }
    }
    if (s.where) {
        out += QLatin1String(" WHERE ");
        expr(*s.where, out);
    }
    if (!s.groupBy.empty()) {
        NoBind groupBy(m_noBind);
        out += QLatin1String(" GROUP BY ");
        for (size_t i = 0; i < s.groupBy.size(); ++i) {
            if (i)
                out += QLatin1String(", ");
            if (s.groupBy[i]->caseInsensitive)
                refuse(QStringLiteral("GROUP BY a text value (case-insensitive groups)"));
            expr(*s.groupBy[i], out);
        }
    }
    if (s.having) {
        out += QLatin1String(" HAVING ");
        expr(*s.having, out);
    }
    if (!s.orderBy.empty()) {
        NoBind orderBy(m_noBind);
        out += QLatin1String(" ORDER BY ");
        orderItems(s.orderBy, out, &s);
    }
    NoBind limit(m_noBind);
    if (s.top) {
        out += QLatin1String(" LIMIT ");
        expr(*s.top, out);
    } else if (s.limit >= 0) {
        out += QLatin1String(" LIMIT ") + QString::number(s.limit);
    } else if (extraLimit >= 0) {
        out += QLatin1String(" LIMIT ") + QString::number(extraLimit);
    }
}

void PostgreSqlEmitter::source(const TableRef &ref, QString &out)
{
    switch (ref.kind) {
    case SourceKind::Table:
        if (ref.neptun)
            out += QLatin1String("neptun.");
        identifier(ref.name, ref.nameQuoted, out);
        break;
    case SourceKind::Derived:
    case SourceKind::OpenQuery:
        out += u'(';
        select(*ref.select, out);
        out += u')';
        break;
    }
    if (!ref.alias.isEmpty()) {
        out += QLatin1String(" AS ");
        identifier(ref.alias, false, out);
    }
}

void PostgreSqlEmitter::operand(const Expr &e, QString &out)
{
    if (e.kind == ExprKind::Case) {
        out += u'(';
        expr(e, out);
        out += u')';
    } else {
        expr(e, out);
    }
}

namespace {

constexpr size_t ChainGroup = 64;

bool associative(const Expr &e)
{
    if (e.op == u"OR" || e.op == u"AND" || e.op == u"||")
        return true;
    if (e.op == u"+")
        return e.plus == PlusKind::Concat || (e.plus == PlusKind::Add && e.type != FieldType::Float);
    return e.op == u"*" && e.type != FieldType::Float && e.type != FieldType::Unknown;
}

bool isComparison(const QString &op)
{
    return op == u"=" || op == u"<>" || op == u"<" || op == u">" || op == u"<=" || op == u">=";
}

} // namespace

void PostgreSqlEmitter::chain(const Expr &e, size_t first, size_t last, QString &out)
{
    const bool oracleConcat = e.op == u"||"; // NULL concatenates as the empty text
    const QString op = oracleConcat || (e.op == u"+" && e.plus == PlusKind::Concat) ? QStringLiteral("||") : e.op;
    const size_t count = last - first;
    out += u'(';
    if (count > ChainGroup && associative(e)) {
        const size_t size = (count + ChainGroup - 1) / ChainGroup;
        for (size_t from = first; from < last; from += size) {
            if (from > first) {
                out += u' ';
                out += op;
                out += u' ';
            }
            chain(e, from, std::min(last, from + size), out);
        }
    } else {
        for (size_t i = first; i < last; ++i) {
            if (i > first) {
                out += u' ';
                out += op;
                out += u' ';
            }
            if (oracleConcat) {
                out += QLatin1String("coalesce(");
                textOf(*e.args[i], out);
                out += QLatin1String(", '')");
            } else {
                operand(*e.args[i], out);
            }
        }
    }
    out += u')';
}

void PostgreSqlEmitter::expr(const Expr &e, QString &out)
{
    switch (e.kind) {
    case ExprKind::Literal:
        if (e.literal == LiteralKind::Text && e.name.contains(QChar(0)))
            refuse(QStringLiteral("A text holding the character NUL"));
        if (m_holes && e.slot >= 0) {
            out += QChar(SqliteEmitter::HoleStart);
            out += QString::number(m_holes->size());
            out += QChar(SqliteEmitter::HoleEnd);
            // PostgreSQL gets the statement as text: nothing is bound
            m_holes->push_back(Hole{e.slot, e.slotNegated, e.conversions, e.literal, false});
            return;
        }
        printLiteral(e.literal, e.name, out);
        return;
    case ExprKind::Null:
        out += QLatin1String("NULL");
        return;
    case ExprKind::Param:
        out += u':';
        out += e.name;
        return;
    case ExprKind::Column:
        if (!e.qualifier.isEmpty()) {
            identifier(e.qualifier, false, out);
            out += u'.';
        } else if (m_qualifyColumns && !e.boundQualifier.isEmpty()) {
            identifier(e.boundQualifier, false, out);
            out += u'.';
        }
        identifier(e.name, e.quoted, out);
        return;
    case ExprKind::Star:
        out += u'*';
        return;
    case ExprKind::Unary:
        out += e.op == u"NOT" ? QLatin1String("(NOT ") : e.op == u"~" ? QLatin1String("(~ ") : QLatin1String("(- ");
        operand(*e.args[0], out);
        out += u')';
        return;
    case ExprKind::Binary: {
        const QString &op = e.op;
        const size_t n = e.args.size();
        if (op == u"+" && e.plus == PlusKind::Runtime)
            refuse(QStringLiteral("'+' between values whose types are known only at run time"));
        if (n == 2 && isComparison(op) && e.caseInsensitive) {
            out += u'(';
            if (op == u"=" || op == u"<>") {
                folded(*e.args[0], out);
                out += u' ' + op + u' ';
                folded(*e.args[1], out);
            } else {
                orderKey(*e.args[0], out);
                out += u' ' + op + u' ';
                orderKey(*e.args[1], out);
            }
            out += u')';
            return;
        }
        if (op == u"||" || n > 2) {
            chain(e, 0, n, out);
            return;
        }
        out += u'(';
        operand(*e.args[0], out);
        out += u' ';
        out += (op == u"+" && e.plus == PlusKind::Concat) ? QStringLiteral("||") : op;
        out += u' ';
        operand(*e.args[1], out);
        out += u')';
        return;
    }
    case ExprKind::Between:
        out += u'(';
        if (e.caseInsensitive) {
            orderKey(*e.args[0], out);
            out += e.negated ? QLatin1String(" NOT BETWEEN ") : QLatin1String(" BETWEEN ");
            orderKey(*e.args[1], out);
            out += QLatin1String(" AND ");
            orderKey(*e.args[2], out);
        } else {
            operand(*e.args[0], out);
            out += e.negated ? QLatin1String(" NOT BETWEEN ") : QLatin1String(" BETWEEN ");
            operand(*e.args[1], out);
            out += QLatin1String(" AND ");
            operand(*e.args[2], out);
        }
        out += u')';
        return;
    case ExprKind::InList:
        out += u'(';
        if (e.caseInsensitive)
            folded(*e.args[0], out);
        else
            operand(*e.args[0], out);
        out += e.negated ? QLatin1String(" NOT IN (") : QLatin1String(" IN (");
        for (size_t i = 1; i < e.args.size(); ++i) {
            if (i > 1)
                out += QLatin1String(", ");
            if (e.caseInsensitive)
                folded(*e.args[i], out);
            else
                expr(*e.args[i], out);
        }
        out += QLatin1String("))");
        return;
    case ExprKind::InSelect:
        out += u'(';
        if (e.caseInsensitive) {
            folded(*e.args[0], out);
            out += e.negated ? QLatin1String(" NOT IN (") : QLatin1String(" IN (");
            Expr v;
            v.kind = ExprKind::Column;
            v.qualifier = QStringLiteral("kovra_s");
            v.name = QStringLiteral("kovra_v");
            v.type = e.select->outputs.empty() ? FieldType::Unknown : e.select->outputs[0].type;
            out += QLatin1String("SELECT ");
            folded(v, out);
            out += QLatin1String(" FROM (");
            select(*e.select, out, QStringLiteral("kovra_v"));
            out += QLatin1String(") AS kovra_s))");
            return;
        }
        operand(*e.args[0], out);
        out += e.negated ? QLatin1String(" NOT IN (") : QLatin1String(" IN (");
        select(*e.select, out);
        out += QLatin1String("))");
        return;
    case ExprKind::IsNull:
        out += u'(';
        operand(*e.args[0], out);
        out += e.negated ? QLatin1String(" IS NOT NULL)") : QLatin1String(" IS NULL)");
        return;
    case ExprKind::Like: {
        // the Transact-SQL pattern (% _ [..] [^..], no default escape) becomes an anchored regular
        // expression; both sides lower-cased
        out += QLatin1String("(lower(");
        textOf(*e.args[0], out);
        out += u')';
        out += FoldCollation;
        out += e.negated ? QLatin1String(" !~ kovra_like_regex(lower(") : QLatin1String(" ~ kovra_like_regex(lower(");
        textOf(*e.args[1], out);
        out += u')';
        out += FoldCollation;
        out += QLatin1String(", ");
        if (e.args.size() > 2) {
            out += QLatin1String("lower(");
            textOf(*e.args[2], out);
            out += u')';
            out += FoldCollation;
        } else {
            out += QLatin1String("NULL");
        }
        out += QLatin1String("))");
        return;
    }
    case ExprKind::Exists:
        out += QLatin1String("(EXISTS (");
        select(*e.select, out);
        out += QLatin1String("))");
        return;
    case ExprKind::Case: {
        out += QLatin1String("CASE");
        size_t i = 0;
        if (e.caseHasOperand) {
            out += u' ';
            if (e.caseInsensitive)
                folded(*e.args[0], out);
            else
                operand(*e.args[0], out);
            i = 1;
        }
        const size_t end = e.args.size() - (e.caseHasElse ? 1 : 0);
        for (; i + 2 <= end; i += 2) {
            out += QLatin1String(" WHEN ");
            if (e.caseHasOperand && e.caseInsensitive)
                folded(*e.args[i], out);
            else
                expr(*e.args[i], out);
            out += QLatin1String(" THEN ");
            expr(*e.args[i + 1], out);
        }
        if (e.caseHasElse) {
            out += QLatin1String(" ELSE ");
            expr(*e.args.back(), out);
        }
        out += QLatin1String(" END");
        return;
    }
    case ExprKind::Function:
        function(e, out);
        return;
    case ExprKind::Convert:
        convert(e, out);
        return;
    case ExprKind::Subquery:
        // PostgreSQL refuses a scalar subquery of more than one row itself
        out += u'(';
        select(*e.select, out);
        out += u')';
        return;
    case ExprKind::Implicit:
        implicit(e, out);
        return;
    }
}

void PostgreSqlEmitter::implicit(const Expr &e, QString &out)
{
    const Expr &x = *e.args[0];
    const FieldType from = x.type;
    auto call = [&](const char *fn) {
        out += QLatin1String(fn);
        out += u'(';
        expr(x, out);
        out += u')';
    };
    auto cast = [&](const char *type) {
        out += QLatin1String("CAST(");
        expr(x, out);
        out += QLatin1String(" AS ") + QLatin1String(type) + u')';
    };
    switch (e.type) {
    case FieldType::Date:
        if (from == FieldType::DateTime)
            cast("date");
        else
            call("kovra_date");
        return;
    case FieldType::DateTime:
        if (from == FieldType::Date)
            cast("timestamp");
        else
            call("kovra_datetime");
        return;
    case FieldType::Time:
        if (from == FieldType::DateTime)
            cast("time");
        else
            call("kovra_time");
        return;
    case FieldType::Integer:
        call("kovra_int");
        return;
    case FieldType::Float:
        call("kovra_num");
        return;
    case FieldType::Flag:
        call("kovra_bit");
        return;
    case FieldType::Text:
        textOf(x, out);
        return;
    case FieldType::Unknown:
        expr(x, out);
        return;
    }
}

void PostgreSqlEmitter::convert(const Expr &e, QString &out)
{
    const Expr &x = *e.args[0];
    if (e.type != FieldType::Text) {
        if (e.type == FieldType::Integer && x.type == FieldType::Float) {
            // the server truncates (a cast to integer in PostgreSQL rounds)
            out += QLatin1String("CAST(trunc(");
            expr(x, out);
            out += QLatin1String(") AS integer)");
        } else {
            expr(x, out);
        }
        return;
    }
    QString inner;
    int natural = -1;
    auto format = [&](const char *mask, int length) {
        inner += QLatin1String("to_char(");
        expr(x, inner);
        inner += QLatin1String(", '") + QLatin1String(mask) + QLatin1String("')");
        natural = length;
    };
    const int st = e.style;
    if (x.type == FieldType::Date || x.type == FieldType::DateTime) {
        const bool dt = x.type == FieldType::DateTime;
        if (st == 102)
            format("YYYY.MM.DD", 10);
        else if (st == 112)
            format("YYYYMMDD", 8);
        else if (st == 108)
            format("HH24:MI:SS", 8);
        else if (st == 23 || !dt)
            format("YYYY-MM-DD", 10);
        else
            format("YYYY-MM-DD HH24:MI:SS", 19);
    } else if (x.type == FieldType::Time) {
        format("HH24:MI:SS", 8);
    } else {
        textOf(x, inner);
    }
    const int len = e.typeName.length;
    if (len == -2 || (natural >= 0 && len >= natural)) {
        out += inner;
    } else {
        out += QLatin1String("substr(");
        out += inner;
        out += QLatin1String(", 1, ") + QString::number(len) + u')';
    }
}

void PostgreSqlEmitter::function(const Expr &e, QString &out)
{
    const QString &n = e.name;
    auto args = [&](const char *name, size_t from = 0) {
        out += QLatin1String(name);
        out += u'(';
        for (size_t i = from; i < e.args.size(); ++i) {
            if (i > from)
                out += QLatin1String(", ");
            expr(*e.args[i], out);
        }
        out += u')';
    };
    if (n == u"ORAREND_KURZUS") {
        out += QLatin1String("(SELECT coalesce(string_agg(kovra_ku.kurzus_kod, ', ' ORDER BY kovra_ci_key(kovra_ku.kurzus_kod)), '')"
                             " FROM orarend_csoport AS kovra_oc JOIN felvett_tantargy AS kovra_ft ON kovra_ft.ft_id = kovra_oc.ft_id"
                             " JOIN kurzus AS kovra_ku ON kovra_ku.kurzus_id = kovra_ft.kurzus_id WHERE kovra_oc.orarend_id = ");
        const bool saved = m_qualifyColumns;
        m_qualifyColumns = true;
        operand(*e.args[0], out);
        m_qualifyColumns = saved;
        out += u')';
        return;
    }
    if (e.hasOver) {
        out += n.toLower();
        out += QLatin1String("() OVER (");
        if (!e.partitionBy.empty()) {
            out += QLatin1String("PARTITION BY ");
            for (size_t i = 0; i < e.partitionBy.size(); ++i) {
                if (i)
                    out += QLatin1String(", ");
                if (e.partitionBy[i]->caseInsensitive)
                    folded(*e.partitionBy[i], out);
                else
                    expr(*e.partitionBy[i], out);
            }
            if (!e.overOrderBy.empty())
                out += u' ';
        }
        if (!e.overOrderBy.empty()) {
            out += QLatin1String("ORDER BY ");
            orderItems(e.overOrderBy, out, nullptr);
        }
        out += u')';
        return;
    }
    if (n == u"GETDATE") {
        out += QLatin1String("kovra_getdate()");
    } else if (n == u"SCOPE_IDENTITY") {
        refuse(QStringLiteral("scope_identity() other than in \"select scope_identity()\" (the backend answers that)"));
    } else if (n == u"COUNT" || n == u"COUNT_BIG") {
        out += QLatin1String("count(");
        if (e.distinct)
            out += QLatin1String("DISTINCT ");
        if (e.distinct && (e.args[0]->type == FieldType::Text || e.args[0]->type == FieldType::Unknown))
            folded(*e.args[0], out);
        else
            expr(*e.args[0], out);
        out += u')';
    } else if ((n == u"MIN" || n == u"MAX") && e.caseInsensitive) {
        // the first value in KOVRA_CI order
        out += QLatin1String("(array_agg(");
        expr(*e.args[0], out);
        out += QLatin1String(" ORDER BY ");
        orderKey(*e.args[0], out);
        out += n == u"MIN" ? QLatin1String(") FILTER (WHERE ") : QLatin1String(" DESC) FILTER (WHERE ");
        operand(*e.args[0], out);
        out += QLatin1String(" IS NOT NULL))[1]");
    } else if (n == u"MIN" || n == u"MAX" || n == u"SUM") {
        out += n.toLower();
        out += u'(';
        if (e.distinct)
            out += QLatin1String("DISTINCT ");
        expr(*e.args[0], out);
        out += u')';
    } else if (n == u"AVG") {
        out += QLatin1String("CAST(avg(");
        if (e.distinct)
            out += QLatin1String("DISTINCT ");
        expr(*e.args[0], out);
        out += QLatin1String(") AS double precision)");
    } else if (n == u"ROUND") {
        out += QLatin1String("round(CAST(");
        expr(*e.args[0], out);
        out += QLatin1String(" AS numeric)");
        if (e.args.size() > 1) {
            out += QLatin1String(", ");
            expr(*e.args[1], out);
        }
        out += u')';
    } else if (n == u"UPPER" || n == u"LOWER") {
        out += n.toLower();
        out += u'(';
        textOf(*e.args[0], out);
        out += u')';
        out += FoldCollation;
    } else if (n == u"ABS" || n == u"REPLACE" || n == u"COALESCE" || n == u"SUBSTR") {
        args(n.toLower().toLatin1().constData());
    } else if (n == u"TRIM") {
        out += QLatin1String("btrim(");
        textOf(*e.args[0], out);
        out += QLatin1String(", ' ')");
    } else if (n == u"LEFT") {
        out += QLatin1String("substr(");
        textOf(*e.args[0], out);
        out += QLatin1String(", 1, ");
        expr(*e.args[1], out);
        out += u')';
    } else if (n == u"RIGHT") {
        QString x;
        textOf(*e.args[0], x);
        out += QLatin1String("substr(") + x + QLatin1String(", greatest(length(") + x + QLatin1String(") - (");
        expr(*e.args[1], out);
        out += QLatin1String(") + 1, 1))");
    } else if (n == u"SUBSTRING") {
        out += QLatin1String("substr(");
        textOf(*e.args[0], out);
        out += QLatin1String(", ");
        expr(*e.args[1], out);
        out += QLatin1String(", ");
        expr(*e.args[2], out);
        out += u')';
    } else if (n == u"LEN") {
        out += QLatin1String("length(rtrim(");
        textOf(*e.args[0], out);
        out += QLatin1String(", ' '))");
    } else if (n == u"LTRIM" || n == u"RTRIM") {
        out += n.toLower();
        out += u'(';
        textOf(*e.args[0], out);
        out += QLatin1String(", ' ')");
    } else if (n == u"ISNULL" || n == u"NVL") {
        args("coalesce");
    } else if (n == u"DATEDIFF") {
        out += QLatin1String("kovra_datediff('");
        out += temporal::normalDateDiffUnit(e.args[0]->name);
        out += QLatin1String("', ");
        timestampOf(*e.args[1], out);
        out += QLatin1String(", ");
        timestampOf(*e.args[2], out);
        out += u')';
    } else if (n == u"TO_CHAR") {
        if (e.args.size() == 1) {
            textOf(*e.args[0], out);
        } else {
            out += QLatin1String("to_char(");
            expr(*e.args[0], out);
            out += QLatin1String(", ");
            expr(*e.args[1], out);
            out += u')';
        }
    } else if (n == u"TO_DATE") {
        out += QLatin1String("CAST(to_timestamp(");
        textOf(*e.args[0], out);
        out += QLatin1String(", ");
        expr(*e.args[1], out);
        out += QLatin1String(") AS timestamp)");
    } else {
        throw TranslateError(QStringLiteral("Function %1 is not supported").arg(n));
    }
}

void PostgreSqlEmitter::columnType(const ColumnDef &c, QString &out)
{
    switch (TypeOfName(c.type)) {
    case FieldType::Integer:
        out += QLatin1String("integer");
        return;
    case FieldType::Flag:
        out += QLatin1String("smallint");
        return;
    case FieldType::Text:
        if (c.type.length == -2 || c.type.name == u"text" || c.type.name == u"ntext")
            out += QLatin1String("text COLLATE kovra_ci");
        else
            out += QStringLiteral("varchar(%1) COLLATE kovra_ci").arg(c.type.length < 0 ? 1 : c.type.length);
        return;
    case FieldType::Date:
        out += QLatin1String("date");
        return;
    case FieldType::DateTime:
        out += QLatin1String("timestamp(0)");
        return;
    case FieldType::Time:
        out += QLatin1String("time(0)");
        return;
    case FieldType::Float:
        out += QLatin1String("double precision");
        return;
    case FieldType::Unknown:
        return;
    }
}

void PostgreSqlEmitter::ddl(const Statement &st, QString &out)
{
    auto columnDef = [&](const ColumnDef &c, bool identityKey) {
        identifier(c.name, false, out);
        out += u' ';
        if (identityKey) {
            out += QLatin1String("integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
            return;
        }
        columnType(c, out);
        if (c.notNull)
            out += QLatin1String(" NOT NULL");
        if (c.primaryKey)
            out += QLatin1String(" PRIMARY KEY");
        if (c.unique)
            out += QLatin1String(" UNIQUE");
        if (c.defaultValue) {
            out += QLatin1String(" DEFAULT (");
            expr(*c.defaultValue, out);
            out += u')';
        }
        if (!c.refTable.isEmpty()) {
            out += QLatin1String(" REFERENCES ");
            identifier(c.refTable, false, out);
            if (!c.refColumn.isEmpty()) {
                out += u'(';
                identifier(c.refColumn, false, out);
                out += u')';
            }
        }
    };
    auto nameList = [&](const QStringList &names) {
        out += u'(';
        for (int i = 0; i < names.size(); ++i) {
            if (i)
                out += QLatin1String(", ");
            identifier(names[i], false, out);
        }
        out += u')';
    };
    switch (st.ddl) {
    case DdlKind::CreateTable: {
        out += QLatin1String("CREATE TABLE ");
        identifier(st.table, false, out);
        out += QLatin1String(" (");
        QString identityColumn;
        for (const ColumnDef &c : st.columnDefs) {
            if (c.identity) {
                if (!identityColumn.isEmpty())
                    throw TranslateError(QStringLiteral("A table can have only one IDENTITY column"));
                if (TypeOfName(c.type) != FieldType::Integer)
                    throw TranslateError(QStringLiteral("IDENTITY on a column of type %1 is not supported").arg(c.type.name));
                identityColumn = c.name;
            }
        }
        bool first = true;
        for (const ColumnDef &c : st.columnDefs) {
            if (!first)
                out += QLatin1String(", ");
            first = false;
            columnDef(c, c.identity);
        }
        for (const TableConstraint &tc : st.constraints) {
            if (tc.kind == TableConstraint::PrimaryKey && tc.columns.size() == 1 && !identityColumn.isEmpty()
                && tc.columns[0].compare(identityColumn, Qt::CaseInsensitive) == 0)
                continue;
            if (tc.kind == TableConstraint::PrimaryKey && !identityColumn.isEmpty())
                throw TranslateError(QStringLiteral("A primary key beside the IDENTITY column is not supported"));
            out += QLatin1String(", ");
            if (tc.kind == TableConstraint::PrimaryKey) {
                out += QLatin1String("PRIMARY KEY ");
                nameList(tc.columns);
            } else if (tc.kind == TableConstraint::Unique) {
                out += QLatin1String("UNIQUE ");
                nameList(tc.columns);
            } else {
                out += QLatin1String("FOREIGN KEY ");
                nameList(tc.columns);
                out += QLatin1String(" REFERENCES ");
                identifier(tc.refTable, false, out);
                if (!tc.refColumns.isEmpty()) {
                    out += u' ';
                    nameList(tc.refColumns);
                }
            }
        }
        out += u')';
        return;
    }
    case DdlKind::AlterAddColumn:
        if (st.columnDefs[0].identity || st.columnDefs[0].primaryKey)
            throw TranslateError(QStringLiteral("ALTER TABLE ADD of a key column is not supported"));
        out += QLatin1String("ALTER TABLE ");
        identifier(st.table, false, out);
        out += QLatin1String(" ADD COLUMN ");
        columnDef(st.columnDefs[0], false);
        return;
    case DdlKind::CreateIndex:
        out += st.uniqueIndex ? QLatin1String("CREATE UNIQUE INDEX ") : QLatin1String("CREATE INDEX ");
        identifier(st.indexName, false, out);
        out += QLatin1String(" ON ");
        identifier(st.table, false, out);
        out += QLatin1String(" (");
        for (size_t i = 0; i < st.indexColumns.size(); ++i) {
            if (i)
                out += QLatin1String(", ");
            identifier(st.indexColumns[i].first, false, out);
            if (st.indexColumns[i].second)
                out += QLatin1String(" DESC");
        }
        out += u')';
        return;
    case DdlKind::DropTable:
    case DdlKind::DropView:
        out += st.ddl == DdlKind::DropTable ? QLatin1String("DROP TABLE ") : QLatin1String("DROP VIEW ");
        if (st.ifExists)
            out += QLatin1String("IF EXISTS ");
        identifier(st.table, false, out);
        return;
    case DdlKind::DropIndex:
        out += QLatin1String("DROP INDEX ");
        if (st.ifExists)
            out += QLatin1String("IF EXISTS ");
        identifier(st.indexName, false, out);
        return;
    case DdlKind::None:
        return;
    }
}

} // namespace sql
