#include "SqliteExtensions.h"

#include "Collation.h"

#include <mutex>
#include "TemporalText.h"

#include <sqlite3.h>

namespace sql {

namespace {

QString valueText(sqlite3_value *v)
{
    const void *p = sqlite3_value_text16(v);
    if (!p)
        return QString();
    return QString(static_cast<const QChar *>(p), sqlite3_value_bytes16(v) / 2);
}

void resultText(sqlite3_context *ctx, const QString &s)
{
    sqlite3_result_text16(ctx, s.utf16(), int(s.size() * 2), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context *ctx, const QString &message)
{
    const QByteArray utf8 = message.toUtf8();
    sqlite3_result_error(ctx, utf8.constData(), int(utf8.size()));
}

SqliteRuntime *runtime(sqlite3_context *ctx) { return static_cast<SqliteRuntime *>(sqlite3_user_data(ctx)); }

bool isNumber(int t) { return t == SQLITE_INTEGER || t == SQLITE_FLOAT; }

// ---- server clock and identity

void fnGetdate(sqlite3_context *ctx, int, sqlite3_value **)
{
    SqliteRuntime *rt = runtime(ctx);
    if (!rt) {
        resultText(ctx, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        return;
    }
    if (!rt->now.isValid())
        rt->now = rt->clock && *rt->clock ? (*rt->clock)() : QDateTime::currentDateTime();
    resultText(ctx, rt->now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

void fnScopeIdentity(sqlite3_context *ctx, int, sqlite3_value **)
{
    const SqliteRuntime *rt = runtime(ctx);
    if (!rt || rt->scopeIdentity.isNull() || !rt->scopeIdentity.isValid()) {
        sqlite3_result_null(ctx);
        return;
    }
    bool ok = false;
    const qlonglong v = rt->scopeIdentity.toLongLong(&ok);
    if (ok)
        sqlite3_result_int64(ctx, v);
    else
        sqlite3_result_null(ctx);
}

// ---- conversions with the server's rules and messages

bool temporalParts(sqlite3_context *ctx, sqlite3_value *v, temporal::Parts &out)
{
    if (sqlite3_value_type(v) != SQLITE_TEXT) {
        resultError(ctx, QStringLiteral("Operand type clash: a number is incompatible with date/time"));
        return false;
    }
    const auto p = temporal::parse(valueText(v));
    if (!p) {
        resultError(ctx, temporal::dateConversionMessage());
        return false;
    }
    out = *p;
    return true;
}

void toTemporal(sqlite3_context *ctx, sqlite3_value *v, FieldType kind)
{
    if (sqlite3_value_type(v) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    temporal::Parts p;
    if (temporalParts(ctx, v, p))
        resultText(ctx, temporal::canonical(p, kind));
}

void fnDate(sqlite3_context *ctx, int, sqlite3_value **argv) { toTemporal(ctx, argv[0], FieldType::Date); }
void fnDateTime(sqlite3_context *ctx, int, sqlite3_value **argv) { toTemporal(ctx, argv[0], FieldType::DateTime); }
void fnTime(sqlite3_context *ctx, int, sqlite3_value **argv) { toTemporal(ctx, argv[0], FieldType::Time); }

void fnInt(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    sqlite3_value *v = argv[0];
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL: sqlite3_result_null(ctx); return;
    case SQLITE_INTEGER: sqlite3_result_value(ctx, v); return;
    case SQLITE_FLOAT: sqlite3_result_int64(ctx, sqlite3_int64(sqlite3_value_double(v))); return;
    default: {
        const QString s = valueText(v);
        const auto n = numeric::textToInt(s);
        if (n)
            sqlite3_result_int64(ctx, *n);
        else
            resultError(ctx, temporal::intConversionMessage(s));
    }
    }
}

void fnNum(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    sqlite3_value *v = argv[0];
    const int t = sqlite3_value_type(v);
    if (t == SQLITE_NULL || isNumber(t)) {
        sqlite3_result_value(ctx, v);
        return;
    }
    const QString s = valueText(v);
    if (const auto n = numeric::textToInt(s)) {
        sqlite3_result_int64(ctx, *n);
        return;
    }
    if (const auto f = numeric::textToFloat(s)) {
        sqlite3_result_double(ctx, *f);
        return;
    }
    resultError(ctx, temporal::intConversionMessage(s));
}

void fnBit(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    sqlite3_value *v = argv[0];
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL: sqlite3_result_null(ctx); return;
    case SQLITE_INTEGER: sqlite3_result_int(ctx, sqlite3_value_int64(v) != 0); return;
    case SQLITE_FLOAT: sqlite3_result_int(ctx, sqlite3_value_double(v) != 0); return;
    default: {
        const QString s = valueText(v);
        const auto b = numeric::textToBit(s);
        if (b)
            sqlite3_result_int(ctx, *b);
        else
            resultError(ctx, temporal::bitConversionMessage(s));
    }
    }
}

// '+' whose operand types are known only at run time: texts concatenate, otherwise the text is
// converted to the number's type (and a text that is no number is an error).
void fnAdd(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    sqlite3_value *a = argv[0], *b = argv[1];
    const int ta = sqlite3_value_type(a), tb = sqlite3_value_type(b);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    if (ta == SQLITE_BLOB || tb == SQLITE_BLOB) {
        resultError(ctx, QStringLiteral("Operand type clash: varbinary is incompatible with '+'"));
        return;
    }
    if (ta == SQLITE_TEXT && tb == SQLITE_TEXT) {
        resultText(ctx, valueText(a) + valueText(b));
        return;
    }
    const bool isFloat = ta == SQLITE_FLOAT || tb == SQLITE_FLOAT;
    auto number = [&](sqlite3_value *v, int t, double &d, qint64 &i) -> bool {
        if (t == SQLITE_INTEGER) {
            i = sqlite3_value_int64(v);
            d = double(i);
            return true;
        }
        if (t == SQLITE_FLOAT) {
            d = sqlite3_value_double(v);
            return true;
        }
        const QString s = valueText(v);
        if (isFloat) {
            const auto f = numeric::textToFloat(s);
            if (!f) {
                resultError(ctx, temporal::floatConversionMessage());
                return false;
            }
            d = *f;
            return true;
        }
        const auto n = numeric::textToInt(s);
        if (!n) {
            resultError(ctx, temporal::intConversionMessage(s));
            return false;
        }
        i = *n;
        d = double(i);
        return true;
    };
    double da = 0, db = 0;
    qint64 ia = 0, ib = 0;
    if (!number(a, ta, da, ia) || !number(b, tb, db, ib))
        return;
    if (isFloat) {
        sqlite3_result_double(ctx, da + db);
        return;
    }
    qint64 sum = 0;
    if (__builtin_add_overflow(ia, ib, &sum)) {
        resultError(ctx, QStringLiteral("Arithmetic overflow error converting expression to data type int."));
        return;
    }
    sqlite3_result_int64(ctx, sum);
}

void fnDateDiff(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    temporal::Parts a, b;
    if (!temporalParts(ctx, argv[1], a) || !temporalParts(ctx, argv[2], b))
        return;
    const auto d = temporal::dateDiff(valueText(argv[0]), a, b);
    if (!d) {
        resultError(ctx, QStringLiteral("'%1' is not a recognized datediff option.").arg(valueText(argv[0])));
        return;
    }
    sqlite3_result_int64(ctx, *d);
}

// A scalar subquery's value: its row count and its (only) value.
void fnSingle(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_int64(argv[0]) > 1) {
        resultError(ctx, QStringLiteral("Subquery returned more than 1 value. This is not permitted when the subquery "
                                        "follows =, !=, <, <= , >, >= or when the subquery is used as an expression."));
        return;
    }
    sqlite3_result_value(ctx, argv[1]);
}

// ---- Oracle functions of the Neptun statements

void fnToChar(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    sqlite3_value *v = argv[0];
    if (sqlite3_value_type(v) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s = valueText(v);
    const auto p = sqlite3_value_type(v) == SQLITE_TEXT ? temporal::parse(s) : std::nullopt;
    if (!p || !p->hasDate) {
        resultText(ctx, s);
        return;
    }
    resultText(ctx, temporal::oracleFormat(*p, valueText(argv[1])));
}

void fnToDate(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    sqlite3_value *v = argv[0];
    if (sqlite3_value_type(v) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto p = temporal::oracleParse(valueText(v), valueText(argv[1]));
    if (!p) {
        resultError(ctx, QStringLiteral("ORA-01861: literal does not match format string"));
        return;
    }
    resultText(ctx, temporal::canonical(*p, FieldType::DateTime));
}

// ---- case-insensitive LIKE (% _ [abc] [a-z] [^abc], optional ESCAPE)

bool matchOne(QStringView p, qsizetype pi, QChar c, QChar esc, bool hasEsc, qsizetype &len)
{
    const QChar pc = p[pi];
    if (hasEsc && pc == esc && pi + 1 < p.size()) {
        len = 2;
        return p[pi + 1] == c;
    }
    if (pc == u'_') {
        len = 1;
        return true;
    }
    if (pc == u'[') {
        const qsizetype close = p.indexOf(u']', pi + 2);
        if (close > 0) {
            len = close - pi + 1;
            qsizetype i = pi + 1;
            bool negate = false;
            if (p[i] == u'^' && i + 1 < close) {
                negate = true;
                ++i;
            }
            bool hit = false;
            for (; i < close; ++i) {
                if (i + 2 < close && p[i + 1] == u'-') {
                    if (c >= p[i] && c <= p[i + 2])
                        hit = true;
                    i += 2;
                } else if (p[i] == c) {
                    hit = true;
                }
            }
            return hit != negate;
        }
    }
    len = 1;
    return pc == c;
}

bool likeMatch(QStringView p, QStringView s, QChar esc, bool hasEsc)
{
    qsizetype pi = 0, si = 0, starP = -1, starS = 0;
    while (si < s.size()) {
        if (pi < p.size() && p[pi] == u'%') {
            starP = ++pi;
            starS = si;
            continue;
        }
        qsizetype len = 1;
        if (pi < p.size() && matchOne(p, pi, s[si], esc, hasEsc, len)) {
            pi += len;
            ++si;
            continue;
        }
        if (starP >= 0) {
            pi = starP;
            si = ++starS;
            continue;
        }
        return false;
    }
    while (pi < p.size() && p[pi] == u'%')
        ++pi;
    return pi == p.size();
}

void fnLike(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    // like(pattern, value [, escape])
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    QChar esc;
    bool hasEsc = false;
    if (argc == 3) {
        const QString e = valueText(argv[2]);
        if (e.size() != 1) {
            resultError(ctx, QStringLiteral("The ESCAPE clause needs exactly one character"));
            return;
        }
        esc = e[0];
        hasEsc = true;
    }
    const QString pattern = valueText(argv[0]).toCaseFolded();
    const QString value = valueText(argv[1]).toCaseFolded();
    sqlite3_result_int(ctx, likeMatch(pattern, value, hasEsc ? esc.toCaseFolded() : esc, hasEsc));
}

void fnUpper(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    resultText(ctx, valueText(argv[0]).toUpper());
}

void fnLower(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    resultText(ctx, valueText(argv[0]).toLower());
}

using Fn = void (*)(sqlite3_context *, int, sqlite3_value **);

} // namespace

void PrepareSqliteLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0); });
}

void RegisterSqliteExtensions(sqlite3 *db, SqliteRuntime *runtime)
{
    RegisterKovraCollation(db);
    const int pure = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    struct Def {
        const char *name;
        int args;
        int flags;
        Fn fn;
    };
    // getdate() and scope_identity() read the per-connection runtime: constant within a
    // statement, but not deterministic.
    const Def defs[] = {
        {"kovra_getdate", 0, SQLITE_UTF8, fnGetdate},
        {"kovra_scope_identity", 0, SQLITE_UTF8, fnScopeIdentity},
        {"kovra_date", 1, pure, fnDate},
        {"kovra_datetime", 1, pure, fnDateTime},
        {"kovra_time", 1, pure, fnTime},
        {"kovra_int", 1, pure, fnInt},
        {"kovra_num", 1, pure, fnNum},
        {"kovra_bit", 1, pure, fnBit},
        {"kovra_add", 2, pure, fnAdd},
        {"kovra_datediff", 3, pure, fnDateDiff},
        {"kovra_single", 2, pure, fnSingle},
        {"kovra_to_char", 2, pure, fnToChar},
        {"kovra_to_date", 2, pure, fnToDate},
        {"like", 2, pure, fnLike},
        {"like", 3, pure, fnLike},
        {"upper", 1, pure, fnUpper},
        {"lower", 1, pure, fnLower},
    };
    for (const Def &d : defs)
        sqlite3_create_function_v2(db, d.name, d.args, d.flags, runtime, d.fn, nullptr, nullptr, nullptr);
}

} // namespace sql
