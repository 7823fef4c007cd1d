#include "Calendar.h"

#include "Adatmodul.h"
#include "DbError.h"
#include "Messages.h"
#include "SqlSplice.h"
#include "TextUtils.h"

#include <optional>

namespace {

Tform_Adatmodul &dm()
{
    if (!form_Adatmodul)
        throw DbError(QStringLiteral("Az adatmodul nincs létrehozva."));
    return *form_Adatmodul;
}

// First value of a query on Query3, or empty.
QString firstValue(const QString &sql, const QString &column) { return FirstValue(dm().Query3, sql, column); }

// The column of the semester whose range holds the date (compact or server date text), or empty.
QString ofSemesterContaining(const QString &column, const QString &date)
{
    const QString d = SqlQuoted(date);
    return firstValue(QStringLiteral("Select ") + column + QStringLiteral(" From felev Where '") + d + u'\''
                          + QStringLiteral(" >= felev_datumtol and ") + u'\'' + d + u'\'' + QStringLiteral(" <= felev_datumig"),
                      column);
}

// The week of the semester holding date; none outside every semester.
std::optional<int> semesterWeek(const QDate &date, const QString &timetableId)
{
    const QDate s = ParseDateText(ofSemesterContaining(QStringLiteral("felev_datumtol"), CompactDateText(date)));
    if (!s.isValid())
        return std::nullopt;
    // Without a timetable entry no lesson date can lie before now.
    const int k = firstValue(QStringLiteral("Select COUNT(*) as db From orarend_datum Where orarend_id=") + SqlId(timetableId)
                                 + QStringLiteral(" and od_datum < GETDATE()"),
                             QStringLiteral("db"))
                      .toInt();
    // Weeks between the Mondays, so a semester running into the next year keeps counting on.
    const int d = int(WeekMonday(s).daysTo(WeekMonday(date)) / 7);
    return k == 0 ? d + 1 : d;
}

} // namespace

QString ServerNow(int kind)
{
    Dataset &q = dm().Query1;
    q.close();
    q.clearParams();
    q.setSql(QStringLiteral("Select convert(varchar(50), getdate(), 20) as DATUM_IDO, convert(varchar(50), getdate(), 102) "
                            "as DATUM, convert(varchar(50), getdate(), 108) as IDO "));
    q.open();
    QString result;
    switch (kind) {
    case 1: result = q.fieldByName(QStringLiteral("DATUM")).asString(); break;
    case 2: result = q.fieldByName(QStringLiteral("DATUM_IDO")).asString(); break;
    case 3: result = q.fieldByName(QStringLiteral("IDO")).asString(); break;
    default: break;
    }
    q.close();
    return result;
}

QString SemesterOfDate(const QString &dateText)
{
    return ofSemesterContaining(QStringLiteral("felev_id"), DateTextToCompact(dateText));
}

QString FindCurrentSemester()
{
    const QString id = ofSemesterContaining(QStringLiteral("felev_id"), ServerNow(1));
    if (!id.isEmpty())
        return id;
    return firstValue(QStringLiteral("Select felev_id From felev Order By felev_datumtol desc"), QStringLiteral("felev_id"));
}

int SemesterWeekNumber(const QDate &date, const QString &timetableId) { return semesterWeek(date, timetableId).value_or(0); }

QString SemesterWeekParity(const QDate &date, const QString &timetableId)
{
    const std::optional<int> week = semesterWeek(date, timetableId);
    if (!week)
        return {};
    return *week % 2 == 0 ? QStringLiteral("páros") : QStringLiteral("páratlan");
}

QDate WeekMonday(const QDate &date) { return date.addDays(1 - date.dayOfWeek()); }

QDate WeekSaturday(const QDate &date) { return WeekMonday(date).addDays(5); }

QString CompactDateText(const QDate &date) { return date.toString(QStringLiteral("yyyyMMdd")); }

QString DateTextToCompact(const QString &text)
{
    QString s = text;
    s.remove(u'.').remove(u':');
    return TrimBlanksLeft(s);
}

QString LongDateText(const QDate &date)
{
    static const char *const months[] = {"január",  "február", "március",   "április", "május",    "június",
                                         "július",  "augusztus", "szeptember", "október", "november", "december"};
    static const char *const days[] = {"vasárnap", "hétfő", "kedd", "szerda", "csütörtök", "péntek", "szombat"};
    return QString::number(date.year()) + QStringLiteral(". ") + QString::fromUtf8(months[date.month() - 1]) + u' '
           + QString::number(date.day()) + QStringLiteral(" (") + QString::fromUtf8(days[date.dayOfWeek() % 7]) + u')';
}

QDate ParseDateText(const QString &text)
{
    QString s = text.trimmed();
    if (s.size() >= 10 && s.at(4) == u'-') // the server's own date form
        return QDate::fromString(s.left(10), Qt::ISODate);
    if (s.endsWith(u'.'))
        s.chop(1);
    const QStringList parts = s.split(u'.');
    if (parts.size() != 3)
        return {};
    bool ok1, ok2, ok3;
    const int y = parts[0].trimmed().toInt(&ok1), m = parts[1].trimmed().toInt(&ok2), d = parts[2].trimmed().toInt(&ok3);
    if (!ok1 || !ok2 || !ok3 || parts[0].trimmed().size() != 4)
        return {};
    return QDate(y, m, d);
}

static bool parsesAsDateOrTime(const QString &s)
{
    if (ParseDateText(s).isValid())
        return true;
    const QString t = s.trimmed();
    const qsizetype blank = t.indexOf(u' ');
    const QString datePart = blank < 0 ? QString() : t.left(blank);
    const QString timePart = blank < 0 ? t : t.mid(blank + 1).trimmed();
    if (!datePart.isEmpty() && !ParseDateText(datePart).isValid())
        return false;
    for (const char *fmt : {"H:mm", "H:mm:ss", "HH:mm", "HH:mm:ss"})
        if (QTime::fromString(timePart, QString::fromLatin1(fmt)).isValid())
            return true;
    return false;
}

bool CheckDateText(const QString &text)
{
    try {
        const QString stripped = TrimChar(text, u' ', u'0');
        if (text.contains(u'.') && !parsesAsDateOrTime(stripped)) {
            InfoBox(QStringLiteral("Rossz dátum!"));
            return false;
        }
        if (text.contains(u':') && !parsesAsDateOrTime(stripped)) {
            InfoBox(QStringLiteral("Rossz dátum!"));
            return false;
        }
        return true;
    } catch (...) {
        return false;
    }
}

QString BoolToText(bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); }

bool TextToBool(const QString &text) { return text == u"1" || text == u"True"; }

void NeptunQuery(Dataset &query, const QString &inner, const QString &tail)
{
    query.setConnection(&dm().ADOConn);
    query.close();
    QString sql = QStringLiteral("select a.* from openquery(NEPTUN3R,'") + SqlQuoted(inner) + QStringLiteral("') a ");
    if (!tail.isEmpty())
        sql += QStringLiteral("\r\n") + tail;
    query.setSql(sql);
    query.open();
}
