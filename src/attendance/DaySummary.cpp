#include "DaySummary.h"

#include "CaptureRun.h"
#include "Dataset.h"
#include "DbError.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "RecordOperations.h"
#include "SqlSplice.h"

QString MatrixSignColumn(int n)
{
    return QStringLiteral("(Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By "
                          "x2.jelenlet_datum) From Orarend x1, Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where "
                          "x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and x2.jt_id=x4.jt_id and "
                          "x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and "
                          "x2.hallgato_id=a.hallgato_id and x1.orarend_id=c.orarend_id) as x Where x.sorszam=")
           + QString::number(n) + QStringLiteral(") as \"") + QString::number(n) + u'"';
}

QString AttendanceMatrixStatement(const QString &facultyId, const QString &lessonId, const QString &semesterId)
{
    QString sql = QStringLiteral("Select a.hallgato_nev, a.hallgato_id, a.hallgato_kod, (a.hallgato_nev + ' - ' + "
                                 "a.hallgato_kod) as hallgato, ");
    for (int n = 1; n <= MatrixDateColumns; ++n) {
        if (n > 1)
            sql += QStringLiteral(", ");
        sql += MatrixSignColumn(n);
    }
    sql += QStringLiteral(" From Hallgato a, Tan_Hall b, Orarend c Where a.hallgato_id=b.hallgato_id and "
                          "b.orarend_id=c.orarend_id and c.kar_id=")
           + facultyId + QStringLiteral(" \r\n");
    if (!lessonId.isEmpty())
        sql += QStringLiteral("and c.orarend_id=") + lessonId + QStringLiteral(" \r\n");
    if (!semesterId.isEmpty())
        sql += QStringLiteral("and c.felev_id=") + semesterId + QStringLiteral(" \r\n");
    sql += QStringLiteral("Order By hallgato_nev");
    return sql;
}

static void reopen(Dataset &q, const QString &sql)
{
    q.close();
    q.clearParams();
    q.setSql(sql);
    q.open();
}

QString DiagnoseDuplicate(const QString &lessonId, Dataset &updateQuery, Dataset &ellenor)
{
    const QString lesson = SqlId(lessonId);
    reopen(updateQuery, QStringLiteral("Select a.jelenlet_datum From Jelenlet a Where a.orarend_id=") + lesson
                            + QStringLiteral(" Group by a.jelenlet_datum Having (COUNT(a.jt_id) > (Select "
                                             "COUNT(x.th_id) From Tan_Hall x Where x.orarend_id=")
                            + lesson + QStringLiteral("))"));
    QString message;
    if (!updateQuery.isEmpty()) {
        const QDate d = updateQuery.fieldByName(QStringLiteral("jelenlet_datum")).asDate();
        updateQuery.close();
        reopen(ellenor, QStringLiteral("Select a.jelenlet_datum, (Select TOP 1 x.hallgato_nev From hallgato x Where "
                                       "x.hallgato_id=a.hallgato_id) as hallgato From jelenlet a Where "
                                       "a.jelenlet_datum='")
                            + d.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("' and a.orarend_id=") + lesson);
        if (!ellenor.isEmpty()) {
            message = QStringLiteral("Duplikált jelenlét ") + ellenor.fieldByName(QStringLiteral("jelenlet_datum")).asString()
                      + QStringLiteral(" órán ") + ellenor.fieldByName(QStringLiteral("hallgato")).asString()
                      + QStringLiteral("-nál!");
            InfoBox(message);
        }
        ellenor.close();
    }
    updateQuery.close();
    return message;
}

DaySummaryResult ComputeDaySummary(const QString &lessonId, const QString &semesterId, Dataset &keres, Dataset &szures,
                                   Dataset &updateQuery, Dataset &ellenor)
{
    DaySummaryResult r;
    CurrentSemesterId = semesterId;
    const QString lesson = lessonId.isEmpty() ? QStringLiteral("null") : lessonId;
    reopen(keres, QStringLiteral("Select od_datum From orarend_datum Where orarend_id=") + lesson
                      + QStringLiteral(" Order By od_datum"));
    for (keres.first(); !keres.eof(); keres.next())
        r.dateTitles << keres.fieldByName(QStringLiteral("od_datum")).asString().right(6);
    keres.close();

    szures.close();
    szures.clearParams();
    szures.setSql(AttendanceMatrixStatement(LoginInfo.FacultyId, lessonId, semesterId));
    try {
        szures.open();
    } catch (const DbError &) {
        r.duplicateMessage = DiagnoseDuplicate(lessonId, updateQuery, ellenor);
        return r;
    }
    r.opened = true;
    r.count = szures.recordCount(); // the students listed
    return r;
}

bool DeleteDayAttendance(const QString &lessonId, const QString &compactDate, Dataset &keres)
{
    const QString date = SqlQuoted(compactDate);
    reopen(keres, QStringLiteral("Select jelenlet_id From jelenlet Where orarend_id=") + lessonId
                      + QStringLiteral(" and jelenlet_datum='") + date + u'\'');
    const bool any = !keres.isEmpty();
    keres.close();
    if (!any || !ConfirmBox(QStringLiteral("Biztos törli az adott nap jelenlétét?")))
        return false;
    DeleteRecord(QStringLiteral("Jelenlet"), QStringLiteral("orarend_id=") + lessonId + QStringLiteral(" and jelenlet_datum='")
                                                 + date + u'\'');
    return true;
}
