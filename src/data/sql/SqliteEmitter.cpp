#include "SqliteEmitter.h"

#include "Binder.h"

#include <algorithm>
#include <optional>
#include <sqlite3.h>

namespace sql {

using namespace ast;

namespace {

const QLatin1String Ci(" COLLATE KOVRA_CI");

// SQLite reads a statement text only up to a NUL: a text holding one is printed as the
// concatenation of its parts with char(0).
void literalText(const QString &value, QString &out)
{
    const bool hasNul = value.contains(QChar(0));
    if (hasNul)
        out += u'(';
    out += u'\'';
    for (QChar c : value) {
        if (c == u'\'')
            out += u'\'';
        if (c.unicode() == 0) {
            out += QLatin1String("' || char(0) || '");
            continue;
        }
        out += c;
    }
    out += u'\'';
    if (hasNul)
        out += u')';
}

// The columns of the source alias that a select and everything nested in it name (by the source
// the binder resolved them to), lower case; star: it is read whole (alias.*, or * in the select's
// own list).
struct SourceUses {
    QString alias;
    QStringList names;
    bool star = false;
};

void collectUses(const Select &s, SourceUses &uses, bool nested);

void collectUses(const Expr &e, SourceUses &uses)
{
    if (e.kind == ExprKind::Column && e.boundQualifier.compare(uses.alias, Qt::CaseInsensitive) == 0)
        uses.names << e.name.toLower();
    if (e.kind == ExprKind::Star && e.qualifier.compare(uses.alias, Qt::CaseInsensitive) == 0)
        uses.star = true;
    for (const ExprPtr &a : e.args)
        if (a)
            collectUses(*a, uses);
    for (const ExprPtr &a : e.partitionBy)
        collectUses(*a, uses);
    for (const OrderItem &o : e.overOrderBy)
        collectUses(*o.expr, uses);
    if (e.select)
        collectUses(*e.select, uses, true);
}

void collectUses(const Select &s, SourceUses &uses, bool nested)
{
    for (const SelectItem &item : s.items) {
        if (!nested && item.expr->kind == ExprKind::Star && item.expr->qualifier.isEmpty())
            uses.star = true;
        collectUses(*item.expr, uses);
    }
    for (const TableRef &ref : s.from) {
        if (ref.on)
            collectUses(*ref.on, uses);
        if (ref.select)
            collectUses(*ref.select, uses, true);
    }
    for (const ExprPtr *e : {&s.where, &s.having, &s.top})
        if (*e)
            collectUses(**e, uses);
    for (const ExprPtr &g : s.groupBy)
        collectUses(*g, uses);
    for (const OrderItem &o : s.orderBy)
        collectUses(*o.expr, uses);
}

// The one '*' of a derived table's select list, when its columns may be left out: the select has
// no DISTINCT and no ORDER BY ordinal, and its output names are known and distinct.
std::optional<size_t> prunableStar(const Select &d)
{
    std::optional<size_t> star;
    for (size_t i = 0; i < d.items.size(); ++i) {
        if (d.items[i].expr->kind != ExprKind::Star)
            continue;
        if (star)
            return std::nullopt;
        star = i;
    }
    if (!star || d.distinct || !d.outputsComplete)
        return std::nullopt;
    if (d.items[*star].expr->qualifier.isEmpty() && d.from.size() != 1)
        return std::nullopt;
    for (const OrderItem &o : d.orderBy)
        if (o.expr->kind == ExprKind::Literal)
            return std::nullopt;
    QStringList names;
    for (const OutputColumn &c : d.outputs) {
        if (c.name.isEmpty() || names.contains(c.name, Qt::CaseInsensitive))
            return std::nullopt;
        names << c.name;
    }
    return star;
}

} // namespace

void SqliteEmitter::printLiteral(LiteralKind kind, const QString &value, QString &out)
{
    if (kind == LiteralKind::Text)
        literalText(value, out);
    else
        out += value;
}

QString SqliteEmitter::emitStatement(const Statement &st)
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

void SqliteEmitter::identifier(const QString &name, bool quoted, QString &out)
{
    if (!quoted) {
        const QByteArray utf8 = name.toUtf8();
        quoted = sqlite3_keyword_check(utf8.constData(), int(utf8.size())) != 0;
        if (!quoted && !name.isEmpty() && name[0].isDigit())
            quoted = true;
    }
    if (!quoted) {
        out += name;
        return;
    }
    out += u'"';
    for (QChar c : name) {
        if (c == u'"')
            out += u'"';
        out += c;
    }
    out += u'"';
}

void SqliteEmitter::orderItems(const std::vector<OrderItem> &items, QString &out)
{
    for (size_t i = 0; i < items.size(); ++i) {
        if (i)
            out += QLatin1String(", ");
        expr(*items[i].expr, out);
        if (items[i].expr->caseInsensitive)
            out += Ci;
        if (items[i].descending)
            out += QLatin1String(" DESC");
    }
}

void SqliteEmitter::select(const Select &s, QString &out, const QString &singleAlias, qint64 extraLimit,
                           const QStringList *used)
{
    out += QLatin1String("SELECT ");
    if (s.distinct)
        out += QLatin1String("DISTINCT ");
    // result column names come from the select list's text, ordinals from ORDER BY / GROUP BY
    struct NoBind {
        int &depth;
        NoBind(int &d) : depth(d) { ++depth; }
        ~NoBind() { --depth; }
    };
    std::optional<NoBind> items(std::in_place, m_noBind);
    // a derived table: only the columns of its '*' that the enclosing select reads (SQLite copies
    // every column of a derived table's rows otherwise)
    const std::optional<size_t> prunedStar = used ? prunableStar(s) : std::nullopt;
    bool listed = false;
    auto separate = [&] {
        if (listed)
            out += QLatin1String(", ");
        listed = true;
    };
    for (size_t i = 0; i < s.items.size(); ++i) {
        const SelectItem &item = s.items[i];
        if (item.expr->kind == ExprKind::Star) {
            if (prunedStar == i) {
                const size_t count = s.outputs.size() - (s.items.size() - 1);
                size_t printed = 0;
                for (size_t c = i; c < i + count; ++c) {
                    const bool keepOne = s.items.size() == 1 && printed == 0 && c + 1 == i + count;
                    if (!keepOne && !used->contains(s.outputs[c].name.toLower()))
                        continue;
                    separate();
                    ++printed;
                    if (!item.expr->qualifier.isEmpty()) {
                        identifier(item.expr->qualifier, false, out);
                        out += u'.';
                    }
                    identifier(s.outputs[c].name, false, out);
                }
                continue;
            }
            separate();
            if (!item.expr->qualifier.isEmpty()) {
                identifier(item.expr->qualifier, false, out);
                out += u'.';
            }
            out += u'*';
            continue;
        }
        separate();
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
            if (ref.kind == SourceKind::Derived && !ref.alias.isEmpty()) {
                SourceUses uses{ref.alias, {}, false};
                collectUses(s, uses, false);
                source(ref, out, uses.star ? nullptr : &uses.names);
            } else {
                source(ref, out);
            }
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
            expr(*s.groupBy[i], out);
            if (s.groupBy[i]->caseInsensitive)
                out += Ci;
        }
    }
    if (s.having) {
        out += QLatin1String(" HAVING ");
        expr(*s.having, out);
    }
    if (!s.orderBy.empty()) {
        NoBind orderBy(m_noBind);
        out += QLatin1String(" ORDER BY ");
        orderItems(s.orderBy, out);
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

void SqliteEmitter::source(const TableRef &ref, QString &out, const QStringList *used)
{
    switch (ref.kind) {
    case SourceKind::Table:
        if (ref.neptun) {
            out += QLatin1String(NeptunSchema);
            out += u'.';
        }
        identifier(ref.name, ref.nameQuoted, out);
        break;
    case SourceKind::Derived:
    case SourceKind::OpenQuery:
        out += u'(';
        select(*ref.select, out, QString(), -1, ref.kind == SourceKind::Derived ? used : nullptr);
        out += u')';
        break;
    }
    if (!ref.alias.isEmpty()) {
        out += QLatin1String(" AS ");
        identifier(ref.alias, false, out);
    }
}

void SqliteEmitter::operand(const Expr &e, QString &out)
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

// Operands of a chain printed in one run of parentheses; longer chains of an associative
// operator are grouped, so SQLite's expression depth stays small whatever their length.
constexpr size_t ChainGroup = 64;

bool associative(const Expr &e)
{
    if (e.op == u"OR" || e.op == u"AND" || e.op == u"||")
        return true;
    if (e.op == u"+")
        return e.plus == PlusKind::Concat || (e.plus == PlusKind::Add && e.type != FieldType::Float);
    return e.op == u"*" && e.type != FieldType::Float && e.type != FieldType::Unknown;
}

} // namespace

void SqliteEmitter::chain(const Expr &e, size_t first, size_t last, QString &out)
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
                out += QLatin1String("ifnull(");
                expr(*e.args[i], out);
                out += QLatin1String(", '')");
            } else {
                operand(*e.args[i], out);
            }
        }
    }
    out += u')';
}

void SqliteEmitter::expr(const Expr &e, QString &out)
{
    switch (e.kind) {
    case ExprKind::Literal:
        if (m_holes && e.slot >= 0) {
            out += QChar(HoleStart);
            out += QString::number(m_holes->size());
            out += QChar(HoleEnd);
            m_holes->push_back(Hole{e.slot, e.slotNegated, e.conversions, e.literal, m_noBind == 0});
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
        out += e.op == u"NOT" ? QLatin1String("(NOT ") : QLatin1String("(- ");
        operand(*e.args[0], out);
        out += u')';
        return;
    case ExprKind::Binary: {
        const QString &op = e.op;
        const size_t n = e.args.size();
        if (op == u"+" && e.plus == PlusKind::Runtime) {
            // kovra_add(kovra_add(a, b), c): decided pair by pair at run time
            for (size_t i = 1; i < n; ++i)
                out += QLatin1String("kovra_add(");
            expr(*e.args[0], out);
            for (size_t i = 1; i < n; ++i) {
                out += QLatin1String(", ");
                expr(*e.args[i], out);
                out += u')';
            }
            return;
        }
        if (op == u"||" || n > 2) {
            chain(e, 0, n, out);
            return;
        }
        out += u'(';
        operand(*e.args[0], out);
        if (e.caseInsensitive)
            out += Ci;
        out += u' ';
        out += (op == u"+" && e.plus == PlusKind::Concat) ? QStringLiteral("||") : op;
        out += u' ';
        operand(*e.args[1], out);
        out += u')';
        return;
    }
    case ExprKind::Between:
        out += u'(';
        operand(*e.args[0], out);
        if (e.caseInsensitive)
            out += Ci;
        out += e.negated ? QLatin1String(" NOT BETWEEN ") : QLatin1String(" BETWEEN ");
        operand(*e.args[1], out);
        out += QLatin1String(" AND ");
        operand(*e.args[2], out);
        out += u')';
        return;
    case ExprKind::InList:
        out += u'(';
        operand(*e.args[0], out);
        if (e.caseInsensitive)
            out += Ci;
        out += e.negated ? QLatin1String(" NOT IN (") : QLatin1String(" IN (");
        for (size_t i = 1; i < e.args.size(); ++i) {
            if (i > 1)
                out += QLatin1String(", ");
            expr(*e.args[i], out);
        }
        out += QLatin1String("))");
        return;
    case ExprKind::InSelect:
        out += u'(';
        operand(*e.args[0], out);
        if (e.caseInsensitive)
            out += Ci;
        out += e.negated ? QLatin1String(" NOT IN (") : QLatin1String(" IN (");
        select(*e.select, out);
        out += QLatin1String("))");
        return;
    case ExprKind::IsNull:
        out += u'(';
        operand(*e.args[0], out);
        out += e.negated ? QLatin1String(" IS NOT NULL)") : QLatin1String(" IS NULL)");
        return;
    case ExprKind::Like:
        out += u'(';
        operand(*e.args[0], out);
        out += e.negated ? QLatin1String(" NOT LIKE ") : QLatin1String(" LIKE ");
        operand(*e.args[1], out);
        if (e.args.size() > 2) {
            out += QLatin1String(" ESCAPE ");
            operand(*e.args[2], out);
        }
        out += u')';
        return;
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
            operand(*e.args[0], out);
            if (e.caseInsensitive)
                out += Ci;
            i = 1;
        }
        const size_t end = e.args.size() - (e.caseHasElse ? 1 : 0);
        for (; i + 2 <= end; i += 2) {
            out += QLatin1String(" WHEN ");
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
        if (e.singleRowChecked) {
            // the server refuses a scalar subquery yielding more than one row (Msg 512)
            out += QLatin1String("(SELECT kovra_single(count(*), min(kovra_v)) FROM (");
            select(*e.select, out, QStringLiteral("kovra_v"), 2);
            out += QLatin1String("))");
        } else {
            out += u'(';
            select(*e.select, out);
            out += u')';
        }
        return;
    case ExprKind::Implicit:
        implicit(e, out);
        return;
    }
}

void SqliteEmitter::implicit(const Expr &e, QString &out)
{
    const Expr &x = *e.args[0];
    const FieldType from = x.type;
    auto call = [&](const char *fn) {
        out += QLatin1String(fn);
        out += u'(';
        expr(x, out);
        out += u')';
    };
    switch (e.type) {
    case FieldType::Date:
        if (from == FieldType::DateTime) {
            out += QLatin1String("substr(");
            expr(x, out);
            out += QLatin1String(", 1, 10)");
        } else {
            call("kovra_date");
        }
        return;
    case FieldType::DateTime:
        if (from == FieldType::Date) {
            out += u'(';
            operand(x, out);
            out += QLatin1String(" || ' 00:00:00')");
        } else {
            call("kovra_datetime");
        }
        return;
    case FieldType::Time:
        if (from == FieldType::DateTime) {
            out += QLatin1String("substr(");
            expr(x, out);
            out += QLatin1String(", 12, 8)");
        } else {
            call("kovra_time");
        }
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
        out += QLatin1String("CAST(");
        expr(x, out);
        out += QLatin1String(" AS TEXT)");
        return;
    case FieldType::Unknown:
        expr(x, out);
        return;
    }
}

void SqliteEmitter::convert(const Expr &e, QString &out)
{
    const Expr &x = *e.args[0];
    if (e.type != FieldType::Text) {
        if (e.type == FieldType::Integer && x.type == FieldType::Float) {
            out += QLatin1String("CAST(");
            expr(x, out);
            out += QLatin1String(" AS INTEGER)");
        } else {
            expr(x, out);
        }
        return;
    }
    QString inner;
    int natural = -1;
    auto wrap = [&](const char *before, const char *after) {
        inner += QLatin1String(before);
        expr(x, inner);
        inner += QLatin1String(after);
    };
    const int st = e.style;
    if (x.type == FieldType::Date) {
        natural = 10;
        if (st == 102) {
            wrap("replace(", ", '-', '.')");
        } else if (st == 112) {
            wrap("replace(", ", '-', '')");
            natural = 8;
        } else if (st == 108) {
            wrap("substr(", " || ' 00:00:00', 12, 8)");
            natural = 8;
        } else {
            expr(x, inner);
        }
    } else if (x.type == FieldType::DateTime) {
        natural = 19;
        if (st == 23) {
            wrap("substr(", ", 1, 10)");
            natural = 10;
        } else if (st == 102) {
            wrap("replace(substr(", ", 1, 10), '-', '.')");
            natural = 10;
        } else if (st == 112) {
            wrap("replace(substr(", ", 1, 10), '-', '')");
            natural = 8;
        } else if (st == 108) {
            wrap("substr(", ", 12, 8)");
            natural = 8;
        } else {
            expr(x, inner);
        }
    } else if (x.type == FieldType::Time) {
        natural = 8;
        expr(x, inner);
    } else if (x.type == FieldType::Text) {
        expr(x, inner);
    } else {
        wrap("CAST(", " AS TEXT)");
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

void SqliteEmitter::function(const Expr &e, QString &out)
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
    auto textArg = [&](const Expr &x, QString &o) {
        if (IsNumeric(x.type)) {
            o += QLatin1String("CAST(");
            expr(x, o);
            o += QLatin1String(" AS TEXT)");
        } else {
            expr(x, o);
        }
    };
    if (n == u"ORAREND_KURZUS") {
        out += QLatin1String("(SELECT coalesce(group_concat(kovra_k.kurzus_kod, ', '), '') FROM (SELECT kovra_ku.kurzus_kod"
                             " FROM orarend_csoport kovra_oc JOIN felvett_tantargy kovra_ft ON kovra_ft.ft_id = kovra_oc.ft_id"
                             " JOIN kurzus kovra_ku ON kovra_ku.kurzus_id = kovra_ft.kurzus_id WHERE kovra_oc.orarend_id = ");
        const bool saved = m_qualifyColumns;
        m_qualifyColumns = true;
        operand(*e.args[0], out);
        m_qualifyColumns = saved;
        out += QLatin1String(" ORDER BY kovra_ku.kurzus_kod) AS kovra_k)");
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
                expr(*e.partitionBy[i], out);
                if (e.partitionBy[i]->caseInsensitive)
                    out += Ci;
            }
            if (!e.overOrderBy.empty())
                out += u' ';
        }
        if (!e.overOrderBy.empty()) {
            out += QLatin1String("ORDER BY ");
            orderItems(e.overOrderBy, out);
        }
        out += u')';
        return;
    }
    if (n == u"GETDATE") {
        out += QLatin1String("kovra_getdate()");
    } else if (n == u"SCOPE_IDENTITY") {
        out += QLatin1String("kovra_scope_identity()");
    } else if (n == u"COUNT" || n == u"COUNT_BIG") {
        out += QLatin1String("count(");
        if (e.distinct)
            out += QLatin1String("DISTINCT ");
        expr(*e.args[0], out);
        out += u')';
    } else if (n == u"MIN" || n == u"MAX") {
        out += n.toLower();
        out += u'(';
        if (e.distinct)
            out += QLatin1String("DISTINCT ");
        expr(*e.args[0], out);
        if (e.caseInsensitive)
            out += Ci;
        out += u')';
    } else if (n == u"SUM" || n == u"AVG") {
        out += n.toLower();
        out += u'(';
        if (e.distinct)
            out += QLatin1String("DISTINCT ");
        expr(*e.args[0], out);
        out += u')';
    } else if (n == u"ABS" || n == u"ROUND" || n == u"UPPER" || n == u"LOWER" || n == u"REPLACE" || n == u"COALESCE"
               || n == u"SUBSTR" || n == u"TRIM") {
        args(n.toLower().toLatin1().constData());
    } else if (n == u"LEFT") {
        out += QLatin1String("substr(");
        textArg(*e.args[0], out);
        out += QLatin1String(", 1, ");
        expr(*e.args[1], out);
        out += u')';
    } else if (n == u"RIGHT") {
        QString x;
        textArg(*e.args[0], x);
        out += QLatin1String("substr(") + x + QLatin1String(", max(length(") + x + QLatin1String(") - (");
        expr(*e.args[1], out);
        out += QLatin1String(") + 1, 1))");
    } else if (n == u"SUBSTRING") {
        out += QLatin1String("substr(");
        textArg(*e.args[0], out);
        out += QLatin1String(", ");
        expr(*e.args[1], out);
        out += QLatin1String(", ");
        expr(*e.args[2], out);
        out += u')';
    } else if (n == u"LEN") {
        out += QLatin1String("length(rtrim(");
        textArg(*e.args[0], out);
        out += QLatin1String(", ' '))");
    } else if (n == u"LTRIM" || n == u"RTRIM") {
        out += n.toLower();
        out += u'(';
        expr(*e.args[0], out);
        out += QLatin1String(", ' ')");
    } else if (n == u"ISNULL" || n == u"NVL") {
        args("ifnull");
    } else if (n == u"DATEDIFF") {
        out += QLatin1String("kovra_datediff('");
        out += e.args[0]->name;
        out += QLatin1String("', ");
        expr(*e.args[1], out);
        out += QLatin1String(", ");
        expr(*e.args[2], out);
        out += u')';
    } else if (n == u"TO_CHAR") {
        if (e.args.size() == 1) {
            out += QLatin1String("CAST(");
            expr(*e.args[0], out);
            out += QLatin1String(" AS TEXT)");
        } else {
            args("kovra_to_char");
        }
    } else if (n == u"TO_DATE") {
        args("kovra_to_date");
    } else {
        throw TranslateError(QStringLiteral("Function %1 is not supported").arg(n));
    }
}

void SqliteEmitter::columnType(const ColumnDef &c, QString &out)
{
    switch (TypeOfName(c.type)) {
    case FieldType::Integer:
        out += QLatin1String("INTEGER");
        return;
    case FieldType::Flag:
        out += QLatin1String("BIT");
        return;
    case FieldType::Text:
        if (c.type.length == -2 || c.type.name == u"text" || c.type.name == u"ntext")
            out += QLatin1String("NTEXT COLLATE KOVRA_CI");
        else
            out += QStringLiteral("NVARCHAR(%1) COLLATE KOVRA_CI").arg(c.type.length < 0 ? 1 : c.type.length);
        return;
    case FieldType::Date:
        out += QLatin1String("DATE TEXT");
        return;
    case FieldType::DateTime:
        out += QLatin1String("DATETIME TEXT");
        return;
    case FieldType::Time:
        out += QLatin1String("TIME TEXT");
        return;
    case FieldType::Float:
        out += QLatin1String("REAL");
        return;
    case FieldType::Unknown:
        return;
    }
}

void SqliteEmitter::ddl(const Statement &st, QString &out)
{
    auto columnDef = [&](const ColumnDef &c, bool identityKey) {
        identifier(c.name, false, out);
        out += u' ';
        if (identityKey) {
            out += QLatin1String("INTEGER PRIMARY KEY AUTOINCREMENT");
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
        // the identity column becomes the rowid key
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
