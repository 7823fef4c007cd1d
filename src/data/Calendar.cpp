#include "Calendar.h"

#include "Adatmodul.h"
#include "DbError.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "TextUtils.h"

namespace {

Tform_Adatmodul &dm()
{
    if (!form_Adatmodul)
        throw DbError(QStringLiteral("Az adatmodul nincs létrehozva."));
    return *form_Adatmodul;
}

QString sqlText(const QString &s) { return QString(s).replace(u'\'', QStringLiteral("''")); }

// First value of a query on Query3, or empty.
QString firstValue(const QString &sql, const QString &column) { return FirstValue(dm().Query3, sql, column); }

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
    const QString d = sqlText(DateTextToCompact(dateText));
    return firstValue(QStringLiteral("Select felev_id From felev Where '") + d + u'\'' + QStringLiteral(" >= felev_datumtol and ")
                          + u'\'' + d + u'\'' + QStringLiteral(" <= felev_datumig"),
                      QStringLiteral("felev_id"));
}

QString FindCurrentSemester()
{
    const QString t = ServerNow(1);
    const QString id = firstValue(QStringLiteral("Select felev_id From felev Where '") + t + u'\''
                                      + QStringLiteral(" >= felev_datumtol and ") + u'\'' + t + u'\''
                                      + QStringLiteral(" <= felev_datumig"),
                                  QStringLiteral("felev_id"));
    if (!id.isEmpty())
        return id;
    return firstValue(QStringLiteral("Select felev_id From felev Order By felev_datumtol desc"), QStringLiteral("felev_id"));
}

int SemesterWeekNumber(const QDate &date)
{
    const QString c = CompactDateText(date);
    const QString first = firstValue(QStringLiteral("Select felev_datumtol From felev Where '") + c + u'\''
                                         + QStringLiteral(" >= felev_datumtol and ") + u'\'' + c + u'\''
                                         + QStringLiteral(" <= felev_datumig"),
                                     QStringLiteral("felev_datumtol"));
    const QDate s = ParseDateText(first);
    if (!s.isValid())
        return 0;
    // Without a current timetable entry no lesson date can lie before now.
    const QString timetable = CurrentTimetableId.isEmpty() ? QStringLiteral("null") : CurrentTimetableId;
    const int k = firstValue(QStringLiteral("Select COUNT(*) as db From orarend_datum Where orarend_id=") + timetable
                                 + QStringLiteral(" and od_datum < GETDATE()"),
                             QStringLiteral("db"))
                      .toInt();
    // Weeks between the Mondays, so a semester running into the next year keeps counting on.
    const int d = int(WeekMonday(s).daysTo(WeekMonday(date)) / 7);
    return k == 0 ? d + 1 : d;
}

QString SemesterWeekParity(const QDate &date)
{
    const QString c = CompactDateText(date);
    const QString first = firstValue(QStringLiteral("Select felev_datumtol From felev Where '") + c + u'\''
                                         + QStringLiteral(" >= felev_datumtol and ") + u'\'' + c + u'\''
                                         + QStringLiteral(" <= felev_datumig"),
                                     QStringLiteral("felev_datumtol"));
    if (first.isEmpty())
        return {};
    return SemesterWeekNumber(date) % 2 == 0 ? QStringLiteral("páros") : QStringLiteral("páratlan");
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
    QString sql = QStringLiteral("select a.* from openquery(NEPTUN3R,'") + sqlText(inner) + QStringLiteral("') a ");
    if (!tail.isEmpty())
        sql += QStringLiteral("\r\n") + tail;
    query.setSql(sql);
    query.open();
}
