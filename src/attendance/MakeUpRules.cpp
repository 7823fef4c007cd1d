#include "MakeUpRules.h"

#include "Calendar.h"
#include "Connection.h"
#include "LoginInfo.h"
#include "RecordOperations.h"
#include "SqlSplice.h"
#include "TextUtils.h"

void MakeUpRules::processAll(QStringList &lines, const QString &compactDate, const QString &semesterId,
                             const std::function<void(const QStringList &)> &progress)
{
    int i = 0;
    while (i < lines.size()) {
        // each line's checks and writes as one unit (see WriteUnit)
        WriteUnit unit(m_keres.connection());
        const bool removed = processLine(lines, i, compactDate, semesterId);
        unit.commit();
        if (!removed)
            ++i;
        if (progress)
            progress(lines);
    }
}

bool MakeUpRules::processLine(QStringList &lines, int index, const QString &compactDate, const QString &semesterId)
{
    const QString line = lines.at(index);
    const QString code = SqlQuoted(line);
    const QString date = SqlQuoted(compactDate);

    // 1. The student, by Neptun code or card number.
    m_keres.close();
    m_keres.clearParams();
    m_keres.setSql(QStringLiteral("Select hallgato_id, hallgato_kod, hallgato_diak From hallgato Where (hallgato_kod='") + code
                   + QStringLiteral("') or (hallgato_diak='") + code + QStringLiteral("')"));
    m_keres.open();
    if (m_keres.isEmpty()) {
        m_keres.close();
        lines[index] = line + NotInSystem;
        return false;
    }
    const QString student = m_keres.fieldByName(QStringLiteral("hallgato_id")).asString();
    const QString kod = m_keres.fieldByName(QStringLiteral("hallgato_kod")).asString();
    const QString diak = m_keres.fieldByName(QStringLiteral("hallgato_diak")).asString();
    m_keres.close();
    CurrentStudentId = student;

    // 2. Already recorded on this date (in any lesson).
    if (!FirstValue(m_lekerdez, QStringLiteral("Select jelenlet_id From jelenlet Where hallgato_id=") + student
                                    + QStringLiteral(" and jelenlet_datum='") + date + u'\'',
                    QStringLiteral("jelenlet_id"))
                  .isEmpty()) {
        const QString upper = AsciiUpper(line);
        if (upper == AsciiUpper(kod) || upper == AsciiUpper(diak)) {
            lines.removeAt(index);
            return true;
        }
        return false;
    }

    // 3. The own timetable entry: that of the latest entry of the semester in this faculty.
    const QString own = FirstValue(m_keres,
                                   QStringLiteral("Select a.orarend_id From jelenlet a, orarend b Where a.hallgato_id=") + student
                                       + QStringLiteral(" and a.orarend_id=b.orarend_id and b.felev_id=") + semesterId
                                       + QStringLiteral(" and b.kar_id=") + LoginInfo.FacultyId
                                       + QStringLiteral(" Order By a.jelenlet_datum desc"),
                                   QStringLiteral("orarend_id"));
    QString newId;
    if (own.isEmpty()) {
        // 4. No entry yet this semester: the first enrolment of the semester, without limits.
        const QString enrolled =
            FirstValue(m_keres,
                       QStringLiteral("Select a.orarend_id From Tan_Hall a Where a.hallgato_id=") + student
                           + QStringLiteral(" and a.orarend_id in (Select x.orarend_id From Orarend x Where x.felev_id=")
                           + semesterId + u')',
                       QStringLiteral("orarend_id"));
        if (enrolled.isEmpty())
            return false;
        CurrentTimetableId = enrolled;
        InsertRecord(QStringLiteral("jelenlet"),
                     {QStringLiteral("jt_id=3"), QStringLiteral("jelenlet_datum=") + compactDate,
                      QStringLiteral("orarend_id=") + enrolled, QStringLiteral("hallgato_id=") + student},
                     true, newId);
        return false;
    }

    // 5. Limits of the own entry.
    CurrentTimetableId = own;
    m_keres.close();
    m_keres.clearParams();
    m_keres.setSql(QStringLiteral("Select orarend_potlas, orarend_heti From orarend Where orarend_id=") + own);
    m_keres.open();
    const int allowance = m_keres.fieldByName(QStringLiteral("orarend_potlas")).asInteger();
    const bool ownWeekly = m_keres.fieldByName(QStringLiteral("orarend_heti")).asBoolean();
    m_keres.close();

    const int used = FirstValue(m_keres,
                                QStringLiteral("Select Count(jelenlet_id) as db From jelenlet Where jt_id=3 and hallgato_id=")
                                    + student + QStringLiteral(" and orarend_id=") + own,
                                QStringLiteral("db"))
                              .toInt();
    if (used >= allowance) {
        lines[index] = line + OverLimit;
        return false;
    }
    const int held = FirstValue(m_keres,
                                QStringLiteral("Select COUNT(od_datum) as sorszam From orarend_datum Where orarend_id=") + own
                                    + QStringLiteral(" and od_datum < GETDATE()"),
                                QStringLiteral("sorszam"))
                              .toInt();
    const int attended = FirstValue(m_keres,
                                    QStringLiteral("Select count(jelenlet_id) as db From jelenlet Where jt_id<>2 and hallgato_id=")
                                        + student + QStringLiteral(" and orarend_id=") + own,
                                    QStringLiteral("db"))
                                  .toInt();
    if (attended >= held) {
        lines[index] = line + NotInAdvance;
        return false;
    }
    const QDate lessonDate = QDate::fromString(compactDate, QStringLiteral("yyyyMMdd"));
    const int thisWeek =
        FirstValue(m_keres,
                   QStringLiteral("Select count(jelenlet_id) as db From jelenlet Where jt_id<>2 and hallgato_id=") + student
                       + QStringLiteral(" and orarend_id=") + own + QStringLiteral(" and jelenlet_datum >= '")
                       + CompactDateText(WeekMonday(lessonDate)) + QStringLiteral("' and jelenlet_datum < '")
                       + CompactDateText(WeekSaturday(lessonDate)) + u'\'',
                   QStringLiteral("db"))
                 .toInt();
    if (thisWeek != 0 && !ownWeekly) {
        lines[index] = line + HadLessonThisWeek;
        return false;
    }

    // 6. Record: the earliest absence of the own entry gives way to the make-up.
    const QString absence =
        FirstValue(m_keres,
                   QStringLiteral("Select TOP 1 jelenlet_id From jelenlet Where jt_id=2 and hallgato_id=") + student
                       + QStringLiteral(" and orarend_id=") + own + QStringLiteral(" Order By jelenlet_datum"),
                   QStringLiteral("jelenlet_id"));
    if (!absence.isEmpty())
        DeleteRecord(QStringLiteral("jelenlet"), QStringLiteral("jelenlet_id=") + absence);
    const QStringList rest{QStringLiteral("jelenlet_datum=") + compactDate, QStringLiteral("orarend_id=") + own,
                           QStringLiteral("hallgato_id=") + student};
    if (CurrentTimetableWeekly) {
        InsertRecord(QStringLiteral("jelenlet"), QStringList{QStringLiteral("jt_id=1")} + rest, true, newId);
        return false;
    }
    InsertRecord(QStringLiteral("jelenlet"), QStringList{QStringLiteral("jt_id=3")} + rest, true, newId);
    lines[index] = line + Recorded;
    return false;
}
