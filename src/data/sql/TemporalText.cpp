#include "TemporalText.h"

#include <QDate>

namespace sql::temporal {

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Reads up to maxDigits digits at pos; returns the count read.
int readNumber(QStringView s, qsizetype &pos, int maxDigits, int &value)
{
    int n = 0;
    value = 0;
    while (pos < s.size() && n < maxDigits && isDigit(s[pos])) {
        value = value * 10 + (s[pos].unicode() - '0');
        ++pos;
        ++n;
    }
    return n;
}

bool validDate(int y, int m, int d) { return y >= 1 && y <= 9999 && QDate::isValid(y, m, d); }

bool parseTime(QStringView s, qsizetype &pos, Parts &p)
{
    int h = 0, mi = 0, sec = 0;
    if (readNumber(s, pos, 2, h) == 0)
        return false;
    if (pos >= s.size() || s[pos] != u':')
        return false;
    ++pos;
    if (readNumber(s, pos, 2, mi) != 2)
        return false;
    if (pos < s.size() && s[pos] == u':') {
        ++pos;
        if (readNumber(s, pos, 2, sec) != 2)
            return false;
        if (pos < s.size() && s[pos] == u'.') {
            ++pos;
            int frac = 0;
            qsizetype start = pos;
            while (pos < s.size() && isDigit(s[pos]))
                ++pos;
            (void)frac;
            if (pos == start || pos - start > 7)
                return false;
        }
    }
    if (h > 23 || mi > 59 || sec > 59)
        return false;
    p.hour = h;
    p.minute = mi;
    p.second = sec;
    p.hasTime = true;
    return true;
}

bool parseDate(QStringView s, qsizetype &pos, Parts &p)
{
    const qsizetype start = pos;
    int a = 0;
    const int n = readNumber(s, pos, 8, a);
    if (n == 8) { // yyyymmdd
        p.year = a / 10000;
        p.month = a / 100 % 100;
        p.day = a % 100;
    } else if (n == 4 && pos < s.size() && (s[pos] == u'-' || s[pos] == u'.' || s[pos] == u'/')) {
        const QChar sep = s[pos++];
        int m = 0, d = 0;
        if (readNumber(s, pos, 2, m) == 0 || pos >= s.size() || s[pos] != sep)
            return false;
        ++pos;
        if (readNumber(s, pos, 2, d) == 0)
            return false;
        if (sep == u'.' && pos < s.size() && s[pos] == u'.')
            ++pos; // "2024.03.05." as a mask edit shows it
        p.year = a;
        p.month = m;
        p.day = d;
    } else if ((n == 1 || n == 2) && pos < s.size() && (s[pos] == u'-' || s[pos] == u'.' || s[pos] == u'/')) {
        // month first (the server's default date order)
        const QChar sep = s[pos++];
        int d = 0, y = 0;
        if (readNumber(s, pos, 2, d) == 0 || pos >= s.size() || s[pos] != sep)
            return false;
        ++pos;
        if (readNumber(s, pos, 4, y) != 4)
            return false;
        p.year = y;
        p.month = a;
        p.day = d;
    } else {
        pos = start;
        return false;
    }
    if (!validDate(p.year, p.month, p.day))
        return false;
    p.hasDate = true;
    return true;
}

} // namespace

std::optional<Parts> parse(QStringView text)
{
    QStringView s = text.trimmed();
    Parts p;
    if (s.isEmpty())
        return p; // the server reads '' as 1900-01-01 00:00:00
    qsizetype pos = 0;
    // A time alone: digits followed by ':'
    qsizetype probe = 0;
    while (probe < s.size() && isDigit(s[probe]))
        ++probe;
    if (probe > 0 && probe <= 2 && probe < s.size() && s[probe] == u':') {
        if (!parseTime(s, pos, p) || pos != s.size())
            return std::nullopt;
        return p;
    }
    if (!parseDate(s, pos, p))
        return std::nullopt;
    if (pos == s.size())
        return p;
    if (s[pos] != u' ' && s[pos] != u'T')
        return std::nullopt;
    while (pos < s.size() && (s[pos] == u' ' || s[pos] == u'T'))
        ++pos;
    if (!parseTime(s, pos, p) || pos != s.size())
        return std::nullopt;
    return p;
}

static void appendNum(QString &out, int v, int width)
{
    char buf[8];
    for (int i = width - 1; i >= 0; --i) {
        buf[i] = char('0' + v % 10);
        v /= 10;
    }
    out.append(QLatin1String(buf, width));
}

QString canonical(const Parts &p, FieldType kind)
{
    QString out;
    out.reserve(19);
    if (kind == FieldType::Date || kind == FieldType::DateTime) {
        appendNum(out, p.year, 4);
        out.append(u'-');
        appendNum(out, p.month, 2);
        out.append(u'-');
        appendNum(out, p.day, 2);
        if (kind == FieldType::Date)
            return out;
        out.append(u' ');
    }
    appendNum(out, p.hour, 2);
    out.append(u':');
    appendNum(out, p.minute, 2);
    out.append(u':');
    appendNum(out, p.second, 2);
    return out;
}

std::optional<QString> toCanonical(QStringView text, FieldType kind)
{
    const auto p = parse(text);
    if (!p)
        return std::nullopt;
    return canonical(*p, kind);
}

qint64 daysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const qint64 yoe = y - era * 400;
    const qint64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

static qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

QString normalDateDiffUnit(QStringView unit)
{
    const QString u = unit.toString().toLower();
    if (u == u"year" || u == u"yy" || u == u"yyyy")
        return QStringLiteral("year");
    if (u == u"quarter" || u == u"qq" || u == u"q")
        return QStringLiteral("quarter");
    if (u == u"month" || u == u"mm" || u == u"m")
        return QStringLiteral("month");
    if (u == u"week" || u == u"wk" || u == u"ww")
        return QStringLiteral("week");
    if (u == u"day" || u == u"dd" || u == u"d" || u == u"dayofyear" || u == u"dy" || u == u"y")
        return QStringLiteral("day");
    if (u == u"hour" || u == u"hh")
        return QStringLiteral("hour");
    if (u == u"minute" || u == u"mi" || u == u"n")
        return QStringLiteral("minute");
    if (u == u"second" || u == u"ss" || u == u"s")
        return QStringLiteral("second");
    return QString();
}

bool isDateDiffUnit(QStringView unit) { return !normalDateDiffUnit(unit).isEmpty(); }

std::optional<qint64> dateDiff(QStringView unit, const Parts &a, const Parts &b)
{
    const QString u = normalDateDiffUnit(unit);
    const qint64 da = daysFromCivil(a.year, a.month, a.day);
    const qint64 db = daysFromCivil(b.year, b.month, b.day);
    if (u == u"year")
        return qint64(b.year - a.year);
    if (u == u"quarter")
        return qint64((b.year * 4 + (b.month - 1) / 3) - (a.year * 4 + (a.month - 1) / 3));
    if (u == u"month")
        return qint64((b.year * 12 + b.month) - (a.year * 12 + a.month));
    if (u == u"week") // 1970-01-04 was a Sunday: day 3
        return floorDiv(db - 3, 7) - floorDiv(da - 3, 7);
    if (u == u"day")
        return db - da;
    const qint64 ha = da * 24 + a.hour, hb = db * 24 + b.hour;
    if (u == u"hour")
        return hb - ha;
    const qint64 ma = ha * 60 + a.minute, mb = hb * 60 + b.minute;
    if (u == u"minute")
        return mb - ma;
    if (u == u"second")
        return (mb * 60 + b.second) - (ma * 60 + a.second);
    return std::nullopt;
}

namespace {

enum class MaskItem { Year, Month, Day, Hour24, Hour12, Minute, Second, Literal };

// Splits an Oracle mask into items; literal characters are returned one by one.
template <typename F>
void walkMask(QStringView mask, F &&f)
{
    qsizetype i = 0;
    while (i < mask.size()) {
        const QStringView rest = mask.mid(i);
        auto starts = [&](const char *t) { return rest.startsWith(QLatin1String(t), Qt::CaseInsensitive); };
        if (starts("YYYY")) {
            f(MaskItem::Year, QChar());
            i += 4;
        } else if (starts("HH24")) {
            f(MaskItem::Hour24, QChar());
            i += 4;
        } else if (starts("HH12") || starts("HH")) {
            f(MaskItem::Hour12, QChar());
            i += starts("HH12") ? 4 : 2;
        } else if (starts("MM")) {
            f(MaskItem::Month, QChar());
            i += 2;
        } else if (starts("MI")) {
            f(MaskItem::Minute, QChar());
            i += 2;
        } else if (starts("DD")) {
            f(MaskItem::Day, QChar());
            i += 2;
        } else if (starts("SS")) {
            f(MaskItem::Second, QChar());
            i += 2;
        } else {
            f(MaskItem::Literal, mask[i]);
            ++i;
        }
    }
}

} // namespace

QString oracleFormat(const Parts &p, QStringView mask)
{
    QString out;
    walkMask(mask, [&](MaskItem item, QChar c) {
        switch (item) {
        case MaskItem::Year: appendNum(out, p.year, 4); break;
        case MaskItem::Month: appendNum(out, p.month, 2); break;
        case MaskItem::Day: appendNum(out, p.day, 2); break;
        case MaskItem::Hour24: appendNum(out, p.hour, 2); break;
        case MaskItem::Hour12: appendNum(out, p.hour % 12 == 0 ? 12 : p.hour % 12, 2); break;
        case MaskItem::Minute: appendNum(out, p.minute, 2); break;
        case MaskItem::Second: appendNum(out, p.second, 2); break;
        case MaskItem::Literal: out.append(c); break;
        }
    });
    return out;
}

std::optional<Parts> oracleParse(QStringView text, QStringView mask)
{
    Parts p;
    p.hasDate = true;
    bool ok = true;
    qsizetype pos = 0;
    const QStringView s = text.trimmed();
    walkMask(mask, [&](MaskItem item, QChar c) {
        if (!ok)
            return;
        int v = 0;
        switch (item) {
        case MaskItem::Literal:
            if (pos < s.size() && s[pos] == c)
                ++pos;
            else if (c != u' ')
                ok = false;
            return;
        case MaskItem::Year: ok = readNumber(s, pos, 4, v) == 4; p.year = v; return;
        case MaskItem::Month: ok = readNumber(s, pos, 2, v) > 0; p.month = v; return;
        case MaskItem::Day: ok = readNumber(s, pos, 2, v) > 0; p.day = v; return;
        case MaskItem::Hour24:
        case MaskItem::Hour12: ok = readNumber(s, pos, 2, v) > 0 && v < 24; p.hour = v; p.hasTime = true; return;
        case MaskItem::Minute: ok = readNumber(s, pos, 2, v) > 0 && v < 60; p.minute = v; return;
        case MaskItem::Second: ok = readNumber(s, pos, 2, v) > 0 && v < 60; p.second = v; return;
        }
    });
    if (!ok || pos != s.size() || !validDate(p.year, p.month, p.day))
        return std::nullopt;
    return p;
}

QString dateConversionMessage()
{
    return QStringLiteral("Conversion failed when converting date and/or time from character string.");
}

QString intConversionMessage(QStringView value)
{
    return QStringLiteral("Conversion failed when converting the varchar value '%1' to data type int.").arg(value);
}

QString bitConversionMessage(QStringView value)
{
    return QStringLiteral("Conversion failed when converting the varchar value '%1' to data type bit.").arg(value);
}

QString floatConversionMessage() { return QStringLiteral("Error converting data type varchar to float."); }

} // namespace sql::temporal

namespace sql::numeric {

std::optional<qint64> textToInt(QStringView text)
{
    const QStringView s = text.trimmed();
    if (s.isEmpty())
        return 0;
    bool ok = false;
    const qint64 v = s.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

std::optional<double> textToFloat(QStringView text)
{
    const QStringView s = text.trimmed();
    if (s.isEmpty())
        return 0.0;
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

std::optional<int> textToBit(QStringView text)
{
    const QStringView s = text.trimmed();
    if (s.compare(u"true", Qt::CaseInsensitive) == 0)
        return 1;
    if (s.compare(u"false", Qt::CaseInsensitive) == 0)
        return 0;
    const auto v = textToInt(s);
    if (!v)
        return std::nullopt;
    return *v != 0 ? 1 : 0;
}

} // namespace sql::numeric
