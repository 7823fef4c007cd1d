#include "Binder.h"

#include "Parser.h"
#include "TemporalText.h"

#include <algorithm>
#include <functional>

namespace sql {

using namespace ast;

int TypeRank(FieldType t)
{
    switch (t) {
    case FieldType::DateTime: return 8;
    case FieldType::Date: return 7;
    case FieldType::Time: return 6;
    case FieldType::Float: return 5;
    case FieldType::Integer: return 4;
    case FieldType::Flag: return 3;
    case FieldType::Text: return 2;
    case FieldType::Unknown: return 0;
    }
    return 0;
}

bool IsTemporal(FieldType t) { return t == FieldType::Date || t == FieldType::DateTime || t == FieldType::Time; }
bool IsNumeric(FieldType t) { return t == FieldType::Integer || t == FieldType::Float || t == FieldType::Flag; }

namespace {

const char *typeWord(FieldType t)
{
    switch (t) {
    case FieldType::Date: return "date";
    case FieldType::DateTime: return "datetime";
    case FieldType::Time: return "time";
    case FieldType::Integer: return "int";
    case FieldType::Float: return "float";
    case FieldType::Flag: return "bit";
    case FieldType::Text: return "varchar";
    case FieldType::Unknown: return "an untyped value";
    }
    return "?";
}

[[noreturn]] void clash(FieldType from, FieldType to)
{
    throw TranslateError(QStringLiteral("Operand type clash: %1 is incompatible with %2")
                             .arg(QLatin1String(typeWord(from)), QLatin1String(typeWord(to))));
}

void wrapImplicit(ExprPtr &e, FieldType target)
{
    auto w = std::make_unique<Expr>();
    w->kind = ExprKind::Implicit;
    w->pos = e->pos;
    w->type = target;
    w->args.push_back(std::move(e));
    e = std::move(w);
}

} // namespace

void ConvertLiteral(Expr &lit, FieldType target)
{
    lit.conversions.push_back(target);
    if (lit.literal == LiteralKind::Text) {
        const QString value = lit.name;
        switch (target) {
        case FieldType::Date:
        case FieldType::DateTime:
        case FieldType::Time: {
            const auto c = temporal::toCanonical(value, target);
            if (!c)
                throw ConversionError(temporal::dateConversionMessage());
            lit.name = *c;
            break;
        }
        case FieldType::Integer: {
            const auto v = numeric::textToInt(value);
            if (!v)
                throw ConversionError(temporal::intConversionMessage(value));
            lit.literal = LiteralKind::Integer;
            lit.name = QString::number(*v);
            break;
        }
        case FieldType::Float: {
            const auto v = numeric::textToFloat(value);
            if (!v)
                throw ConversionError(temporal::floatConversionMessage());
            lit.literal = LiteralKind::Float;
            lit.name = QString::number(*v, 'g', 17);
            if (!lit.name.contains(u'.') && !lit.name.contains(u'e'))
                lit.name += QStringLiteral(".0");
            break;
        }
        case FieldType::Flag: {
            const auto v = numeric::textToBit(value);
            if (!v)
                throw ConversionError(temporal::bitConversionMessage(value));
            lit.literal = LiteralKind::Integer;
            lit.name = QString::number(*v);
            break;
        }
        case FieldType::Text:
        case FieldType::Unknown:
            return;
        }
        lit.type = target;
        return;
    }
    // a number
    if (IsTemporal(target))
        clash(lit.literal == LiteralKind::Integer ? FieldType::Integer : FieldType::Float, target);
    if (target == FieldType::Flag) {
        const double v = lit.name.toDouble();
        lit.literal = LiteralKind::Integer;
        lit.name = v != 0 ? QStringLiteral("1") : QStringLiteral("0");
        lit.type = FieldType::Flag;
    }
}

namespace {

bool isAggregateName(const QString &n)
{
    return n == u"COUNT" || n == u"COUNT_BIG" || n == u"SUM" || n == u"MIN" || n == u"MAX" || n == u"AVG";
}

} // namespace

void Coerce(ExprPtr &e, FieldType target, bool forStorage)
{
    if (!e || target == FieldType::Unknown || e->kind == ExprKind::Null)
        return;
    if (e->kind == ExprKind::Literal) {
        ConvertLiteral(*e, target);
        return;
    }
    const FieldType from = e->type;
    if (from == target || target == FieldType::Text)
        return;
    if (IsTemporal(target)) {
        if (IsNumeric(from))
            clash(from, target);
        if ((from == FieldType::Time && target != FieldType::Time) || (from == FieldType::Date && target == FieldType::Time))
            clash(from, target);
        wrapImplicit(e, target);
        return;
    }
    // numeric target
    if (IsNumeric(from))
        return;
    if (IsTemporal(from))
        clash(from, target);
    if (from == FieldType::Unknown && !forStorage)
        return;
    wrapImplicit(e, target);
}

FieldType TypeOfName(const TypeName &t)
{
    const QString &n = t.name;
    if (n == u"int" || n == u"bigint" || n == u"smallint" || n == u"tinyint" || n == u"integer")
        return FieldType::Integer;
    if (n == u"bit")
        return FieldType::Flag;
    if (n == u"varchar" || n == u"nvarchar" || n == u"char" || n == u"nchar" || n == u"text" || n == u"ntext")
        return FieldType::Text;
    if (n == u"date")
        return FieldType::Date;
    if (n == u"datetime" || n == u"smalldatetime" || n == u"datetime2")
        return FieldType::DateTime;
    if (n == u"time")
        return FieldType::Time;
    if (n == u"float" || n == u"real" || n == u"decimal" || n == u"numeric" || n == u"money")
        return FieldType::Float;
    throw TranslateError(QStringLiteral("Column type %1 is not supported").arg(n));
}


// ---------------------------------------------------------------- statements

void Binder::bind(Statement &st)
{
    switch (st.kind) {
    case StatementKind::Select:
        bindSelect(*st.select, nullptr, false);
        return;
    case StatementKind::Insert: {
        const TableInfo *t = m_catalog.table(st.table);
        QStringList cols = st.columns;
        if (cols.isEmpty() && t)
            for (const ColumnInfo &c : t->columns)
                cols << c.name;
        auto targetType = [&](int i) {
            if (!t || i >= cols.size())
                return FieldType::Unknown;
            const ColumnInfo *c = t->column(cols[i]);
            return c ? c->type : FieldType::Unknown;
        };
        Scope scope;
        for (auto &row : st.rows) {
            if (t && int(row.size()) != cols.size())
                throw TranslateError(QStringLiteral("The number of values does not match the columns of %1").arg(st.table));
            for (int i = 0; i < int(row.size()); ++i) {
                bindExpr(row[i], scope);
                Coerce(row[i], targetType(i), true);
            }
        }
        if (st.select) {
            bindSelect(*st.select, nullptr, false);
            for (int i = 0; i < int(st.select->items.size()); ++i)
                if (st.select->items[i].expr->kind != ExprKind::Star)
                    Coerce(st.select->items[i].expr, targetType(i), true);
        }
        return;
    }
    case StatementKind::Update:
    case StatementKind::Delete: {
        Scope scope;
        Source src;
        src.key = st.table;
        src.tableName = st.table;
        src.table = m_catalog.table(st.table);
        scope.sources.push_back(src);
        for (auto &[col, value] : st.sets) {
            bindExpr(value, scope);
            const ColumnInfo *c = src.table ? src.table->column(col) : nullptr;
            if (src.table && !c)
                throw TranslateError(QStringLiteral("Invalid column name '%1'").arg(col));
            Coerce(value, c ? c->type : FieldType::Unknown, true);
        }
        if (st.where)
            bindExpr(st.where, scope);
        return;
    }
    case StatementKind::Ddl:
        bindDdl(st);
        return;
    case StatementKind::Other:
        return;
    }
}

void Binder::bindDdl(Statement &st)
{
    for (ColumnDef &c : st.columnDefs) {
        if (!c.defaultValue)
            continue;
        Scope scope;
        bindExpr(c.defaultValue, scope);
        Coerce(c.defaultValue, TypeOfName(c.type), true);
    }
}

QVector<FieldType> Binder::resultTypes(const Statement &st)
{
    QVector<FieldType> out;
    if (st.kind != StatementKind::Select || !st.select || !st.select->outputsComplete)
        return out;
    for (const OutputColumn &c : st.select->outputs)
        out << c.type;
    return out;
}

// ---------------------------------------------------------------- SELECT

void Binder::addSource(Scope &scope, TableRef &ref, Scope *outer, bool oracle)
{
    Source src;
    src.key = ref.alias;
    switch (ref.kind) {
    case SourceKind::Table:
        src.tableName = ref.name;
        if (src.key.isEmpty())
            src.key = ref.name;
        if (oracle) {
            ref.neptun = true;
            src.neptun = true;
        } else {
            src.table = m_catalog.table(ref.name);
        }
        break;
    case SourceKind::Derived:
        bindSelect(*ref.select, outer, oracle);
        src.derived = &ref.select->outputs;
        break;
    case SourceKind::OpenQuery:
        if (ref.linkedServer.compare(u"NEPTUN3R", Qt::CaseInsensitive) != 0)
            throw TranslateError(QStringLiteral("Linked server %1 is not known (only NEPTUN3R)").arg(ref.linkedServer));
        m_neptun = true;
        bindSelect(*ref.select, nullptr, true);
        src.derived = &ref.select->outputs;
        break;
    }
    scope.sources.push_back(src);
}

void Binder::extractRownum(Select &s)
{
    // Oracle: "ROWNUM = 1" (or <= n, < n) among the AND-ed conditions becomes a limit.
    std::function<bool(ExprPtr &)> visit = [&](ExprPtr &e) -> bool {
        if (!e)
            return false;
        if (e->kind == ExprKind::Binary && e->op == u"AND") {
            // the conditions that became the limit leave the chain
            std::vector<ExprPtr> kept;
            for (ExprPtr &a : e->args)
                if (!visit(a))
                    kept.push_back(std::move(a));
            if (kept.empty()) {
                e.reset();
                return true;
            }
            if (kept.size() == 1) {
                ExprPtr keep = std::move(kept.front());
                e = std::move(keep);
            } else {
                e->args = std::move(kept);
            }
            return false;
        }
        if (e->kind == ExprKind::Binary && e->args.size() == 2 && e->args[0]->kind == ExprKind::Column
            && e->args[0]->qualifier.isEmpty() && !e->args[0]->quoted
            && e->args[0]->name.compare(u"rownum", Qt::CaseInsensitive) == 0
            && e->args[1]->kind == ExprKind::Literal && e->args[1]->literal == LiteralKind::Integer) {
            const qint64 n = e->args[1]->name.toLongLong();
            qint64 limit = -1;
            if (e->op == u"=" && n == 1)
                limit = 1;
            else if (e->op == u"<=")
                limit = n;
            else if (e->op == u"<")
                limit = n - 1;
            if (limit < 0)
                throw TranslateError(QStringLiteral("ROWNUM condition %1 %2 is not supported").arg(e->op, e->args[1]->name));
            if (!s.orderBy.empty())
                throw TranslateError(QStringLiteral("ROWNUM together with ORDER BY is not supported"));
            s.limit = s.limit < 0 ? limit : std::min(s.limit, limit);
            return true;
        }
        return false;
    };
    if (visit(s.where))
        s.where.reset();
}

void Binder::bindSelect(Select &s, Scope *parent, bool oracle)
{
    const bool savedOracle = m_oracle;
    m_oracle = oracle;
    struct Restore {
        bool &flag;
        bool value;
        ~Restore() { flag = value; }
    } restore{m_oracle, savedOracle};
    if (oracle)
        extractRownum(s);
    Scope scope;
    scope.parent = parent;
    scope.select = &s;
    scope.oracle = oracle;
    for (TableRef &ref : s.from)
        addSource(scope, ref, parent, oracle);
    for (TableRef &ref : s.from)
        if (ref.on)
            bindExpr(ref.on, scope);
    if (s.where)
        bindExpr(s.where, scope);
    for (ExprPtr &g : s.groupBy) {
        bindExpr(g, scope);
        if (g->type == FieldType::Text)
            g->caseInsensitive = true;
    }
    if (s.having)
        bindExpr(s.having, scope);
    if (s.top) {
        if (s.top->kind == ExprKind::Literal && s.top->name.toLongLong() < 0)
            throw TranslateError(QStringLiteral("TOP needs a positive number"));
    }
    s.outputs.clear();
    s.outputsComplete = true;
    for (SelectItem &item : s.items) {
        if (item.expr->kind == ExprKind::Star) {
            expandStar(*item.expr, scope, s);
            continue;
        }
        bindExpr(item.expr, scope);
        OutputColumn out;
        out.type = item.expr->type;
        if (!item.alias.isEmpty())
            out.name = item.alias;
        else if (item.expr->kind == ExprKind::Column)
            out.name = item.expr->name;
        s.outputs.push_back(out);
    }
    for (OrderItem &o : s.orderBy)
        bindOrderExpr(o.expr, scope);
}

void Binder::expandStar(const Expr &star, Scope &scope, Select &s)
{
    bool any = false;
    for (const Source &src : scope.sources) {
        if (!star.qualifier.isEmpty() && src.key.compare(star.qualifier, Qt::CaseInsensitive) != 0)
            continue;
        any = true;
        if (src.table) {
            for (const ColumnInfo &c : src.table->columns)
                s.outputs.push_back({c.name, c.type});
        } else if (src.derived) {
            for (const OutputColumn &c : *src.derived)
                s.outputs.push_back(c);
        } else {
            s.outputsComplete = false;
        }
    }
    if (!any && !star.qualifier.isEmpty())
        throw TranslateError(QStringLiteral("The table or alias '%1' of '%1.*' is not in the FROM clause").arg(star.qualifier));
    if (!any)
        s.outputsComplete = false;
}

void Binder::bindOrderExpr(ExprPtr &e, Scope &scope)
{
    // A bare name may be an alias of the select list (it wins over a column of the same name).
    if (e->kind == ExprKind::Column && e->qualifier.isEmpty() && scope.select) {
        const Select &s = *scope.select;
        for (int i = 0; i < int(s.items.size()); ++i) {
            const SelectItem &item = s.items[i];
            if (!item.alias.isEmpty() && item.alias.compare(e->name, Qt::CaseInsensitive) == 0) {
                e->type = item.expr->type;
                e->boundQualifier.clear();
                e->caseInsensitive = e->type == FieldType::Text || e->type == FieldType::Unknown;
                return;
            }
        }
    }
    if (e->kind == ExprKind::Literal && e->literal == LiteralKind::Integer)
        return; // ordinal
    bindExpr(e, scope);
    if (e->type == FieldType::Text)
        e->caseInsensitive = true;
}

Binder::Resolved Binder::resolve(const QString &qualifier, const QString &name, Scope &scope)
{
    for (Scope *sc = &scope; sc; sc = sc->parent) {
        for (const Source &src : sc->sources) {
            if (!qualifier.isEmpty()) {
                if (src.key.compare(qualifier, Qt::CaseInsensitive) != 0)
                    continue;
            }
            Resolved r;
            r.qualifier = src.key;
            if (src.table) {
                const ColumnInfo *c = src.table->column(name);
                if (!c) {
                    if (!qualifier.isEmpty())
                        throw TranslateError(QStringLiteral("Invalid column name '%1.%2'").arg(qualifier, name));
                    continue;
                }
                r.found = true;
                r.type = c->type;
                return r;
            }
            if (src.derived) {
                for (const OutputColumn &c : *src.derived) {
                    if (c.name.compare(name, Qt::CaseInsensitive) == 0) {
                        r.found = true;
                        r.type = c.type;
                        return r;
                    }
                }
                if (!qualifier.isEmpty()) {
                    // x2.* of a derived table over an unknown source: stays untyped
                    r.found = true;
                    return r;
                }
                continue;
            }
            // a table outside the catalog (Neptun, or one the engine will reject)
            if (!qualifier.isEmpty()) {
                r.found = true;
                return r;
            }
        }
    }
    return {};
}

void Binder::bindColumn(Expr &e, Scope &scope)
{
    if (scope.oracle && e.qualifier.isEmpty() && !e.quoted) {
        if (e.name.compare(u"rownum", Qt::CaseInsensitive) == 0)
            throw TranslateError(QStringLiteral("ROWNUM is supported only as ROWNUM = 1 among the conditions"));
        if (e.name.compare(u"sysdate", Qt::CaseInsensitive) == 0) {
            e.kind = ExprKind::Function;
            e.name = QStringLiteral("GETDATE");
            e.type = FieldType::DateTime;
            return;
        }
    }
    const Resolved r = resolve(e.qualifier, e.name, scope);
    if (r.found) {
        e.type = r.type;
        e.boundQualifier = r.qualifier;
    } else if (!e.qualifier.isEmpty()) {
        throw TranslateError(QStringLiteral("The multi-part identifier \"%1.%2\" could not be bound").arg(e.qualifier, e.name));
    }
}

void Binder::bindSubquery(Expr &e, Scope &scope)
{
    bindSelect(*e.select, &scope, scope.oracle);
    const Select &s = *e.select;
    if (s.items.size() != 1 || s.items[0].expr->kind == ExprKind::Star)
        throw TranslateError(QStringLiteral("A subquery used as an expression must return exactly one column"));
    e.type = s.outputs.empty() ? FieldType::Unknown : s.outputs[0].type;
    e.singleRowChecked = !provablySingleRow(s);
}

namespace {

// One derived table filtered by "alias.n = value" where n is its row_number() without PARTITION BY:
// the numbers are distinct over the derived table's rows, so at most one row passes.
bool picksOneRowNumber(const Select &s)
{
    if (s.from.size() != 1 || s.from[0].kind != SourceKind::Derived || !s.from[0].select || !s.where)
        return false;
    const Select &d = *s.from[0].select;
    QStringList numbers;
    for (const SelectItem &item : d.items) {
        const Expr &x = *item.expr;
        if (!item.alias.isEmpty() && x.kind == ExprKind::Function && x.hasOver && x.partitionBy.empty()
            && x.name == u"ROW_NUMBER")
            numbers << item.alias;
    }
    if (numbers.isEmpty())
        return false;
    const QString &key = s.from[0].alias;
    auto unwrap = [](const Expr *x) { return x->kind == ExprKind::Implicit ? x->args[0].get() : x; };
    auto isNumber = [&](const Expr &x) {
        return x.kind == ExprKind::Column && numbers.contains(x.name, Qt::CaseInsensitive)
            && x.boundQualifier.compare(key, Qt::CaseInsensitive) == 0;
    };
    auto isOutside = [&](const Expr &x) {
        return x.kind == ExprKind::Literal || x.kind == ExprKind::Param
            || (x.kind == ExprKind::Column && !x.boundQualifier.isEmpty()
                && x.boundQualifier.compare(key, Qt::CaseInsensitive) != 0);
    };
    std::function<bool(const Expr &)> visit = [&](const Expr &x) -> bool {
        if (x.kind == ExprKind::Binary && x.op == u"AND")
            return std::any_of(x.args.begin(), x.args.end(), [&](const ExprPtr &a) { return visit(*a); });
        if (x.kind != ExprKind::Binary || x.op != u"=" || x.args.size() != 2)
            return false;
        const Expr *a = unwrap(x.args[0].get());
        const Expr *b = unwrap(x.args[1].get());
        return (isNumber(*a) && isOutside(*b)) || (isNumber(*b) && isOutside(*a));
    };
    return visit(*s.where);
}

} // namespace

bool Binder::provablySingleRow(const Select &s) const
{
    if (s.limit == 0 || s.limit == 1)
        return true;
    if (s.top && s.top->kind == ExprKind::Literal && s.top->name.toLongLong() <= 1)
        return true;
    if (!s.groupBy.empty())
        return false;
    if (picksOneRowNumber(s))
        return true;
    const Expr &item = *s.items[0].expr;
    if (item.kind == ExprKind::Function && !item.hasOver && isAggregateName(item.name))
        return true;
    // one table, its identity column equal to a value from outside
    if (s.from.size() != 1 || s.from[0].kind != SourceKind::Table || !s.where)
        return false;
    const TableInfo *t = m_catalog.table(s.from[0].name);
    if (!t || s.from[0].neptun)
        return false;
    const ColumnInfo *identity = nullptr;
    for (const ColumnInfo &c : t->columns)
        if (c.identity)
            identity = &c;
    if (!identity)
        return false;
    const QString key = s.from[0].alias.isEmpty() ? s.from[0].name : s.from[0].alias;
    auto isIdentity = [&](const Expr &x) {
        return x.kind == ExprKind::Column && x.name.compare(identity->name, Qt::CaseInsensitive) == 0
            && x.boundQualifier.compare(key, Qt::CaseInsensitive) == 0;
    };
    auto isOutside = [&](const Expr &x) {
        if (x.kind == ExprKind::Literal || x.kind == ExprKind::Param)
            return true;
        return x.kind == ExprKind::Column && x.boundQualifier.compare(key, Qt::CaseInsensitive) != 0
            && !x.boundQualifier.isEmpty();
    };
    std::function<bool(const Expr &)> visit = [&](const Expr &x) -> bool {
        if (x.kind == ExprKind::Binary && x.op == u"AND")
            return std::any_of(x.args.begin(), x.args.end(), [&](const ExprPtr &a) { return visit(*a); });
        if (x.kind == ExprKind::Binary && x.op == u"=") {
            const Expr *a = x.args[0].get();
            const Expr *b = x.args[1].get();
            if (a->kind == ExprKind::Implicit)
                a = a->args[0].get();
            if (b->kind == ExprKind::Implicit)
                b = b->args[0].get();
            return (isIdentity(*a) && isOutside(*b)) || (isIdentity(*b) && isOutside(*a));
        }
        return false;
    };
    return visit(*s.where);
}

// ---------------------------------------------------------------- expressions

void Binder::bindExpr(ExprPtr &ep, Scope &scope)
{
    Expr &e = *ep;
    switch (e.kind) {
    case ExprKind::Literal:
        e.type = e.literal == LiteralKind::Text ? FieldType::Text
                 : e.literal == LiteralKind::Integer ? FieldType::Integer
                                                     : FieldType::Float;
        return;
    case ExprKind::Null:
    case ExprKind::Param:
        e.type = FieldType::Unknown;
        return;
    case ExprKind::Column:
        bindColumn(e, scope);
        return;
    case ExprKind::Star:
        throw TranslateError(QStringLiteral("'*' is allowed only in the select list and COUNT(*)"));
    case ExprKind::Unary:
        bindExpr(e.args[0], scope);
        if (e.op == u"NOT") {
            e.type = FieldType::Integer;
        } else {
            if (IsTemporal(e.args[0]->type))
                clash(e.args[0]->type, FieldType::Integer);
            Coerce(e.args[0], FieldType::Float, false);
            e.type = IsNumeric(e.args[0]->type) ? e.args[0]->type : FieldType::Unknown;
        }
        return;
    case ExprKind::Binary:
        for (ExprPtr &a : e.args)
            bindExpr(a, scope);
        bindBinary(e);
        return;
    case ExprKind::Between:
    case ExprKind::InList:
        for (ExprPtr &a : e.args)
            bindExpr(a, scope);
        {
            std::vector<ExprPtr *> ops;
            for (ExprPtr &a : e.args)
                ops.push_back(&a);
            bindComparison(e, ops);
        }
        e.type = FieldType::Integer;
        return;
    case ExprKind::InSelect:
        bindExpr(e.args[0], scope);
        bindSelect(*e.select, &scope, scope.oracle);
        if (e.select->items.size() != 1 || e.select->items[0].expr->kind == ExprKind::Star)
            throw TranslateError(QStringLiteral("The subquery of IN must return exactly one column"));
        {
            const FieldType l = e.args[0]->type, r = e.select->outputs.empty() ? FieldType::Unknown : e.select->outputs[0].type;
            if (IsTemporal(r) && e.args[0]->kind == ExprKind::Literal)
                Coerce(e.args[0], r, false);
            else if (IsNumeric(r) && l == FieldType::Text)
                Coerce(e.args[0], r, false);
            else if ((l == FieldType::Text || l == FieldType::Unknown) && (r == FieldType::Text || r == FieldType::Unknown))
                e.caseInsensitive = !m_oracle;
        }
        e.type = FieldType::Integer;
        return;
    case ExprKind::IsNull:
        bindExpr(e.args[0], scope);
        e.type = FieldType::Integer;
        return;
    case ExprKind::Like:
        for (ExprPtr &a : e.args) {
            bindExpr(a, scope);
            if (IsTemporal(a->type))
                throw TranslateError(QStringLiteral("LIKE on a date or time value is not supported"));
        }
        e.caseInsensitive = true;
        e.type = FieldType::Integer;
        return;
    case ExprKind::Exists:
        bindSelect(*e.select, &scope, scope.oracle);
        e.type = FieldType::Integer;
        return;
    case ExprKind::Case: {
        for (ExprPtr &a : e.args)
            bindExpr(a, scope);
        const size_t n = e.args.size();
        const size_t first = e.caseHasOperand ? 1 : 0;
        const size_t end = n - (e.caseHasElse ? 1 : 0);
        std::vector<ExprPtr *> results;
        for (size_t i = first; i + 2 <= end; i += 2) {
            if (e.caseHasOperand) {
                Expr cmp;
                cmp.kind = ExprKind::Binary;
                cmp.op = QStringLiteral("=");
                bindComparison(cmp, {&e.args[0], &e.args[i]});
                if (cmp.caseInsensitive)
                    e.caseInsensitive = true;
            }
            results.push_back(&e.args[i + 1]);
        }
        if (e.caseHasElse)
            results.push_back(&e.args[n - 1]);
        FieldType best = FieldType::Unknown;
        for (ExprPtr *r : results)
            if ((*r)->kind != ExprKind::Null && TypeRank((*r)->type) > TypeRank(best))
                best = (*r)->type;
        for (ExprPtr *r : results)
            if ((*r)->kind == ExprKind::Literal && best != FieldType::Unknown)
                Coerce(*r, best, false);
        e.type = best;
        return;
    }
    case ExprKind::Function:
        bindFunction(ep, scope);
        return;
    case ExprKind::Convert:
        bindExpr(e.args[0], scope);
        bindConvert(e);
        return;
    case ExprKind::Subquery:
        bindSubquery(e, scope);
        return;
    case ExprKind::Implicit:
        return;
    }
}

void Binder::bindComparison(Expr &node, std::vector<ExprPtr *> operands)
{
    FieldType target = FieldType::Unknown;
    bool allLiteralOrNull = true;
    for (ExprPtr *op : operands) {
        if ((*op)->kind == ExprKind::Null)
            continue;
        if ((*op)->kind != ExprKind::Literal)
            allLiteralOrNull = false;
        // a literal never decides the type against a typed expression
        if ((*op)->kind == ExprKind::Literal)
            continue;
        if (TypeRank((*op)->type) > TypeRank(target))
            target = (*op)->type;
    }
    if (target == FieldType::Unknown || allLiteralOrNull) {
        // only literals and untyped values: numbers win over texts as on the server
        for (ExprPtr *op : operands)
            if ((*op)->kind == ExprKind::Literal && TypeRank((*op)->type) > TypeRank(target))
                target = (*op)->type;
    } else if (target == FieldType::Text) {
        // a number literal against a text expression converts the text
        for (ExprPtr *op : operands)
            if ((*op)->kind == ExprKind::Literal && IsNumeric((*op)->type))
                target = (*op)->type;
    } else if (IsNumeric(target)) {
        for (ExprPtr *op : operands)
            if ((*op)->kind == ExprKind::Literal && (*op)->type == FieldType::Float)
                target = FieldType::Float;
    }
    if (target == FieldType::Text || target == FieldType::Unknown) {
        node.caseInsensitive = !m_oracle; // Oracle compares texts exactly
        return;
    }
    for (ExprPtr *op : operands)
        Coerce(*op, target, false);
}

void Binder::bindBinary(Expr &e)
{
    const QString &op = e.op;
    if (op == u"AND" || op == u"OR") {
        e.type = FieldType::Integer;
        return;
    }
    if (op == u"=" || op == u"<>" || op == u"<" || op == u">" || op == u"<=" || op == u">=") {
        bindComparison(e, {&e.args[0], &e.args[1]});
        e.type = FieldType::Integer;
        return;
    }
    if (op == u"+") {
        bindPlus(e);
        return;
    }
    if (op == u"||") { // Oracle concatenation
        e.plus = PlusKind::Concat;
        e.type = FieldType::Text;
        return;
    }
    // - * / %
    FieldType result = FieldType::Integer;
    for (ExprPtr &a : e.args) {
        if (IsTemporal(a->type))
            throw TranslateError(QStringLiteral("Operator '%1' on a date or time value is not supported").arg(op));
        if (a->type == FieldType::Float)
            result = FieldType::Float;
        if (a->type == FieldType::Unknown && a->kind != ExprKind::Null)
            result = FieldType::Unknown;
    }
    for (ExprPtr &a : e.args) {
        if (a->kind == ExprKind::Literal && a->literal == LiteralKind::Text)
            Coerce(a, result == FieldType::Float ? FieldType::Float : FieldType::Integer, true);
        else if (a->type == FieldType::Text || a->type == FieldType::Unknown)
            Coerce(a, FieldType::Float, true);
    }
    e.type = result;
}

namespace {

// How one '+' of a chain is decided: the kind, the result type, and which operand (if any) is
// converted to a number first.
struct PlusStep {
    PlusKind kind = PlusKind::Runtime;
    FieldType type = FieldType::Unknown;
    int convert = -1; // 0 left, 1 right
    FieldType target = FieldType::Unknown;
};

PlusStep decidePlus(FieldType ta, bool nullA, FieldType tb, bool nullB)
{
    if (IsTemporal(ta) || IsTemporal(tb))
        throw TranslateError(QStringLiteral("'+' on a date or time value is not supported"));
    PlusStep s;
    if (nullA || nullB) {
        const FieldType other = nullA ? tb : ta;
        if (other == FieldType::Text) {
            s.kind = PlusKind::Concat;
            s.type = FieldType::Text;
        } else if (IsNumeric(other)) {
            s.kind = PlusKind::Add;
            s.type = other;
        }
        return s;
    }
    if (ta == FieldType::Text && tb == FieldType::Text) {
        s.kind = PlusKind::Concat;
        s.type = FieldType::Text;
        return s;
    }
    if (IsNumeric(ta) && IsNumeric(tb)) {
        s.kind = PlusKind::Add;
        s.type = (ta == FieldType::Float || tb == FieldType::Float) ? FieldType::Float : FieldType::Integer;
        return s;
    }
    if ((ta == FieldType::Text && IsNumeric(tb)) || (IsNumeric(ta) && tb == FieldType::Text)) {
        // the text is converted to the number's type
        const FieldType num = IsNumeric(ta) ? ta : tb;
        s.kind = PlusKind::Add;
        s.type = num == FieldType::Float ? FieldType::Float : FieldType::Integer;
        s.convert = ta == FieldType::Text ? 0 : 1;
        s.target = s.type;
        return s;
    }
    // at least one side is untyped: decided by the values at run time
    return s;
}

} // namespace

// A chain a + b + c ... is decided step by step from the left, as the server does. Where a step
// is decided otherwise than the one before (or converts the sum so far), the operands so far
// become one node: each node of the result is one kind of '+' throughout.
void Binder::bindPlus(Expr &e)
{
    std::vector<ExprPtr> &args = e.args;
    PlusStep step = decidePlus(args[0]->type, args[0]->kind == ExprKind::Null, args[1]->type,
                               args[1]->kind == ExprKind::Null);
    if (step.convert >= 0)
        Coerce(args[size_t(step.convert)], step.target, true);
    for (size_t i = 2; i < args.size(); ++i) {
        const PlusStep next = decidePlus(step.type, false, args[i]->type, args[i]->kind == ExprKind::Null);
        if (next.kind != step.kind || next.convert == 0) {
            if (++m_plusSplits > Parser::MaxNesting)
                throw TranslateError(QStringLiteral("Expression nested too deeply (more than %1 levels)").arg(Parser::MaxNesting));
            auto head = std::make_unique<Expr>();
            head->kind = ExprKind::Binary;
            head->pos = e.pos;
            head->op = e.op;
            head->plus = step.kind;
            head->type = step.type;
            head->args.reserve(i);
            for (size_t k = 0; k < i; ++k)
                head->args.push_back(std::move(args[k]));
            args.erase(args.begin(), args.begin() + qsizetype(i) - 1);
            args[0] = std::move(head);
            i = 1;
        }
        if (next.convert >= 0)
            Coerce(args[next.convert == 0 ? 0 : i], next.target, true);
        step = next;
    }
    e.plus = step.kind;
    e.type = step.type;
}

void Binder::bindConvert(Expr &e)
{
    const QString &t = e.typeName.name;
    const FieldType src = e.args[0]->type;
    if (t == u"varchar" || t == u"nvarchar" || t == u"char" || t == u"nchar" || t == u"text" || t == u"ntext") {
        if (e.typeName.length == -1)
            e.typeName.length = 30;
        if (IsTemporal(src)) {
            const int st = e.style;
            bool ok = false;
            if (src == FieldType::Date)
                ok = st == -1 || st == 20 || st == 120 || st == 23 || st == 102 || st == 112 || st == 108;
            else if (src == FieldType::DateTime)
                ok = st == 20 || st == 120 || st == 23 || st == 102 || st == 112 || st == 108;
            else
                ok = st == -1 || st == 108;
            if (!ok)
                throw TranslateError(QStringLiteral("CONVERT style %1 of a %2 value is not supported")
                                         .arg(st < 0 ? QStringLiteral("0 (default)") : QString::number(st),
                                              QLatin1String(typeWord(src))));
        } else {
            e.style = -1; // a text or number source is cast; the style does not apply
        }
        e.type = FieldType::Text;
        return;
    }
    FieldType target = FieldType::Unknown;
    if (t == u"int" || t == u"bigint" || t == u"smallint" || t == u"tinyint")
        target = FieldType::Integer;
    else if (t == u"bit")
        target = FieldType::Flag;
    else if (t == u"float" || t == u"real" || t == u"decimal" || t == u"numeric" || t == u"money")
        target = FieldType::Float;
    else if (t == u"date")
        target = FieldType::Date;
    else if (t == u"datetime" || t == u"smalldatetime" || t == u"datetime2")
        target = FieldType::DateTime;
    else if (t == u"time")
        target = FieldType::Time;
    else
        throw TranslateError(QStringLiteral("CONVERT/CAST to %1 is not supported").arg(t));
    if (src == FieldType::Float && target == FieldType::Integer) {
        e.type = target; // truncation, emitted as a cast
        return;
    }
    Coerce(e.args[0], target, true);
    e.type = target;
}

void Binder::bindFunction(ExprPtr &ep, Scope &scope)
{
    Expr &e = *ep;
    const QString &n = e.name;
    auto argCount = [&](int lo, int hi) {
        if (int(e.args.size()) < lo || int(e.args.size()) > hi)
            throw TranslateError(QStringLiteral("Function %1 takes %2 argument(s)")
                                     .arg(n, lo == hi ? QString::number(lo) : QStringLiteral("%1 to %2").arg(lo).arg(hi)));
    };
    if (!e.qualifier.isEmpty()) {
        if (n == u"ORAREND_KURZUS" && !scope.oracle) {
            argCount(1, 1);
            bindExpr(e.args[0], scope);
            Coerce(e.args[0], FieldType::Integer, false);
            e.type = FieldType::Text;
            return;
        }
        throw TranslateError(QStringLiteral("Function %1.%2 is not supported").arg(e.qualifier, n.toLower()));
    }
    if (e.hasOver) {
        if (n != u"ROW_NUMBER" && n != u"RANK" && n != u"DENSE_RANK")
            throw TranslateError(QStringLiteral("Window function %1 is not supported").arg(n));
        argCount(0, 0);
        for (ExprPtr &p : e.partitionBy) {
            bindExpr(p, scope);
            if (p->type == FieldType::Text)
                p->caseInsensitive = true;
        }
        for (OrderItem &o : e.overOrderBy) {
            bindExpr(o.expr, scope);
            if (o.expr->type == FieldType::Text)
                o.expr->caseInsensitive = true;
        }
        e.type = FieldType::Integer;
        return;
    }
    if (n == u"ROW_NUMBER" || n == u"RANK" || n == u"DENSE_RANK")
        throw TranslateError(QStringLiteral("%1 needs OVER (ORDER BY ...)").arg(n));
    if (n == u"DATEDIFF" && !scope.oracle) {
        argCount(3, 3);
        if (!temporal::isDateDiffUnit(e.args[0]->name))
            throw TranslateError(QStringLiteral("DATEDIFF unit %1 is not supported").arg(e.args[0]->name));
        for (int i = 1; i < 3; ++i) {
            bindExpr(e.args[i], scope);
            if (IsNumeric(e.args[i]->type))
                clash(e.args[i]->type, FieldType::DateTime);
            if (e.args[i]->kind == ExprKind::Literal)
                Coerce(e.args[i], FieldType::DateTime, false);
        }
        e.type = FieldType::Integer;
        return;
    }
    if (n == u"DATEADD" || n == u"DATEPART" || n == u"DATENAME")
        throw TranslateError(QStringLiteral("Function %1 is not supported").arg(n));
    for (ExprPtr &a : e.args)
        if (a->kind != ExprKind::Star)
            bindExpr(a, scope);
    if (!scope.oracle) {
        if (n == u"GETDATE" || n == u"CURRENT_TIMESTAMP") {
            argCount(0, 0);
            e.name = QStringLiteral("GETDATE");
            e.type = FieldType::DateTime;
            return;
        }
        if (n == u"SCOPE_IDENTITY") {
            argCount(0, 0);
            e.type = FieldType::Integer;
            return;
        }
        if (n == u"LEFT" || n == u"RIGHT") {
            argCount(2, 2);
            if (e.args[0]->type == FieldType::DateTime)
                throw TranslateError(QStringLiteral("%1 of a date-time value is not supported").arg(n));
            Coerce(e.args[1], FieldType::Integer, false);
            e.type = FieldType::Text;
            return;
        }
        if (n == u"SUBSTRING") {
            argCount(3, 3);
            if (e.args[0]->type == FieldType::DateTime)
                throw TranslateError(QStringLiteral("SUBSTRING of a date-time value is not supported"));
            e.type = FieldType::Text;
            return;
        }
        if (n == u"LEN") {
            argCount(1, 1);
            e.type = FieldType::Integer;
            return;
        }
        if (n == u"ISNULL") {
            argCount(2, 2);
            if (e.args[0]->type != FieldType::Unknown)
                Coerce(e.args[1], e.args[0]->type, false);
            e.type = e.args[0]->type;
            return;
        }
    } else {
        if (n == u"TO_CHAR") {
            argCount(1, 2);
            if (e.args.size() == 2 && e.args[1]->kind != ExprKind::Literal)
                throw TranslateError(QStringLiteral("TO_CHAR needs a quoted format"));
            e.type = FieldType::Text;
            return;
        }
        if (n == u"TO_DATE") {
            argCount(2, 2);
            if (e.args[1]->kind != ExprKind::Literal)
                throw TranslateError(QStringLiteral("TO_DATE needs a quoted format"));
            e.type = FieldType::DateTime;
            return;
        }
        if (n == u"NVL") {
            argCount(2, 2);
            e.type = e.args[0]->type;
            return;
        }
        if (n == u"SUBSTR") {
            argCount(2, 3);
            e.type = FieldType::Text;
            return;
        }
        if (n == u"TRIM") {
            argCount(1, 1);
            e.type = FieldType::Text;
            return;
        }
    }
    if (n == u"COUNT" || n == u"COUNT_BIG") {
        argCount(1, 1);
        e.type = FieldType::Integer;
        return;
    }
    if (n == u"SUM" || n == u"MIN" || n == u"MAX" || n == u"AVG" || n == u"ABS" || n == u"ROUND") {
        argCount(1, n == u"ROUND" ? 2 : 1);
        if (e.args[0]->kind == ExprKind::Star)
            throw TranslateError(QStringLiteral("%1(*) is not valid").arg(n));
        e.type = n == u"AVG" ? FieldType::Float : e.args[0]->type;
        if ((n == u"MIN" || n == u"MAX") && e.type == FieldType::Text)
            e.caseInsensitive = true;
        return;
    }
    if (n == u"UPPER" || n == u"LOWER" || n == u"LTRIM" || n == u"RTRIM") {
        argCount(1, 1);
        e.type = FieldType::Text;
        return;
    }
    if (n == u"REPLACE") {
        argCount(3, 3);
        e.type = FieldType::Text;
        return;
    }
    if (n == u"COALESCE") {
        if (e.args.size() < 2)
            argCount(2, 64);
        FieldType best = FieldType::Unknown;
        for (ExprPtr &a : e.args)
            if (a->kind != ExprKind::Literal && TypeRank(a->type) > TypeRank(best))
                best = a->type;
        if (best != FieldType::Unknown)
            for (ExprPtr &a : e.args)
                if (a->kind == ExprKind::Literal)
                    Coerce(a, best, false);
        e.type = best;
        return;
    }
    throw TranslateError(QStringLiteral("Function %1 is not supported").arg(n));
}

} // namespace sql
