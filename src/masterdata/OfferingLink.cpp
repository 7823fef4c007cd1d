#include "OfferingLink.h"

#include "Dataset.h"
#include "RecordOperations.h"
#include "SqlSplice.h"

#include <QStringList>

namespace {

// The attendance entries of the offering's students (now placed in the entry) recorded under an
// entry of the semester that holds the same offering.
QString attendanceToMoveSql(const QString &timetableId, const QString &offeringId, const QString &semesterId)
{
    return QStringLiteral("Select a.jelenlet_id, a.orarend_id, a.hallgato_id From Jelenlet a Where a.hallgato_id in "
                          "(Select x.hallgato_id From Tan_Hall x Where x.orarend_id=")
           + SqlId(timetableId) + QStringLiteral(" and x.ft_id=") + SqlId(offeringId)
           + QStringLiteral(") and a.orarend_id in (Select x.orarend_id From Orarend x, Orarend_Csoport y Where "
                            "x.orarend_id=y.orarend_id and y.ft_id=")
           + SqlId(offeringId) + QStringLiteral(" and x.felev_id=") + SqlId(semesterId) + u')';
}

} // namespace

void LinkOfferingsToEntry(Dataset &work, const QString &timetableId, const QVector<OfferingToLink> &offerings,
                          const std::function<void(const QString &)> &before)
{
    const QString entry = timetableId.trimmed();
    for (const OfferingToLink &o : offerings) {
        const QString offering = o.offeringId.trimmed();
        if (offering.isEmpty())
            continue;
        if (before)
            before(offering);
        QString linkId;
        InsertRecord(QStringLiteral("orarend_csoport"),
                     {QStringLiteral("orarend_id=") + entry, QStringLiteral("ft_id=") + offering}, true, linkId);
        UpdateRecord(QStringLiteral("tan_hall"), {QStringLiteral("orarend_id=") + entry},
                     QStringLiteral("ft_id=") + SqlId(offering));

        work.close();
        work.clearParams();
        work.setSql(attendanceToMoveSql(entry, offering, o.semesterId));
        work.open();
        QStringList moved;
        for (work.first(); !work.eof(); work.next())
            if (work.fieldByName(QStringLiteral("orarend_id")).asString() != entry)
                moved << work.fieldByName(QStringLiteral("jelenlet_id")).asString();
        work.close();
        for (const QString &attendanceId : moved)
            UpdateRecord(QStringLiteral("jelenlet"), {QStringLiteral("orarend_id=") + entry},
                         QStringLiteral("jelenlet_id=") + SqlId(attendanceId));
    }
}
