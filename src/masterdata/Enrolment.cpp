#include "Enrolment.h"

#include "Connection.h"
#include "RecordOperations.h"
#include "SqlSplice.h"

#include <QStringList>

QString EnrolStudent(Connection *connection, const QString &facultyId, const QString &studentId,
                     const EnrolmentChoice &choice)
{
    WriteUnit unit(connection);
    QString offeringId;
    InsertRecord(QStringLiteral("felvett_tantargy"),
                 {QStringLiteral("kar_id=") + facultyId, QStringLiteral("tantargy_id=") + choice.subjectId,
                  QStringLiteral("nyelv_id=") + choice.languageId, QStringLiteral("felev_id=") + choice.semesterId,
                  QStringLiteral("tof_id=") + choice.formId, QStringLiteral("kurzus_id=") + choice.courseId},
                 true, offeringId);
    QString enrolmentId;
    InsertRecord(QStringLiteral("tan_hall"),
                 {QStringLiteral("hallgato_id=") + studentId, QStringLiteral("orarend_id=") + choice.timetableId,
                  QStringLiteral("ft_id=") + offeringId},
                 true, enrolmentId);
    unit.commit();
    return offeringId;
}

void UpdateOffering(const QString &offeringId, const EnrolmentChoice &choice)
{
    QStringList fields;
    if (choice.subjectId != QLatin1String("null"))
        fields << QStringLiteral("tantargy_id=") + choice.subjectId;
    fields << QStringLiteral("nyelv_id=") + choice.languageId << QStringLiteral("felev_id=") + choice.semesterId
           << QStringLiteral("tof_id=") + choice.formId << QStringLiteral("kurzus_id=") + choice.courseId;
    UpdateRecord(QStringLiteral("felvett_tantargy"), fields, QStringLiteral("ft_id=") + SqlId(offeringId));
}

void PlaceEnrolment(const QString &enrolmentId, const QString &timetableId)
{
    UpdateRecord(QStringLiteral("tan_hall"), {QStringLiteral("orarend_id=") + timetableId},
                 QStringLiteral("th_id=") + SqlId(enrolmentId));
}

void DeleteEnrolment(const QString &enrolmentId)
{
    DeleteRecord(QStringLiteral("tan_hall"), QStringLiteral("th_id=") + SqlId(enrolmentId));
}
