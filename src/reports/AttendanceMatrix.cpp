#include "AttendanceMatrix.h"

#include "Dataset.h"
#include "DaySummary.h"
#include "DbError.h"
#include "SqlSplice.h"

QString MatrixListStatement(const QString &facultyId, const QString &lessonId, const QString &semesterId)
{
    QString sql = QStringLiteral("Select a.hallgato_nev, a.hallgato_id, c.orarend_id, ");
    for (int n = 1; n <= MatrixDateColumns; ++n)
        sql += MatrixSignColumn(n) + QStringLiteral(", ");
    sql += QStringLiteral("(Select Count(x.jelenlet_id) From jelenlet x Where x.orarend_id=b.orarend_id and "
                          "x.hallgato_id=b.hallgato_id and x.jt_id in (1,3)) as \"ossz\"");
    sql += QStringLiteral(" From Hallgato a, Tan_Hall b, Orarend c Where a.hallgato_id=b.hallgato_id and "
                          "b.orarend_id=c.orarend_id and c.kar_id=")
           + SqlId(facultyId) + QStringLiteral(" \r\n");
    if (!lessonId.trimmed().isEmpty())
        sql += QStringLiteral("and c.orarend_id=") + SqlId(lessonId) + QStringLiteral(" \r\n");
    if (!semesterId.trimmed().isEmpty())
        sql += QStringLiteral("and c.felev_id=") + SqlId(semesterId) + QStringLiteral(" \r\n");
    sql += QStringLiteral("Order By hallgato_nev");
    return sql;
}

QString LessonComboStatement(const QString &facultyId, const QString &semesterId)
{
    return QStringLiteral("Select orarend_id as ID, (orarend_nev +' - ' + dbo.orarend_kurzus(orarend_id)) as NEV From "
                          "orarend Where kar_id=")
           + SqlId(facultyId) + QStringLiteral(" and felev_id=") + SqlId(semesterId) + QStringLiteral(" Order By NEV");
}

QStringList LessonDates(Dataset &keres, const QString &lessonId)
{
    keres.close();
    keres.clearParams();
    keres.setSql(QStringLiteral("Select od_datum From orarend_datum Where orarend_id=") + SqlId(lessonId)
                 + QStringLiteral(" Order By od_datum"));
    keres.open();
    QStringList dates;
    for (keres.first(); !keres.eof(); keres.next())
        dates << keres.fieldByName(QStringLiteral("od_datum")).asString();
    keres.close();
    return dates;
}

QStringList MatrixBuild::titles() const
{
    QStringList t;
    for (qsizetype k = 0; k < dates.size() && k < MatrixGridDates; ++k)
        t << DateColumnTitle(dates[k]);
    return t;
}

MatrixBuild BuildMatrix(const QString &facultyId, const QString &semesterId, const QString &lessonId, Dataset &keres,
                        Dataset &szures, Dataset &updateQuery, Dataset &ellenor)
{
    MatrixBuild b;
    b.facultyId = facultyId;
    b.semesterId = semesterId;
    b.lessonId = lessonId;
    b.dates = LessonDates(keres, lessonId);
    b.statement = MatrixListStatement(facultyId, lessonId, semesterId);
    szures.close();
    szures.clearParams();
    szures.setSql(b.statement);
    try {
        szures.open();
        b.opened = true;
    } catch (const DbError &) {
        b.duplicateMessage = DiagnoseDuplicate(lessonId, updateQuery, ellenor);
    }
    return b;
}
