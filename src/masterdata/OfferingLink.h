#pragma once
// Linking subject offerings to a timetable entry as its groups: the link row, the offering's
// students placed in the entry, and their attendance moved along from the other entries of the
// semester that hold the same offering. No transaction: finished statements stay on a failure.

#include <QString>
#include <QVector>
#include <functional>

class Dataset;

struct OfferingToLink {
    QString offeringId; // ft_id
    QString semesterId; // the offering's felev_id
};

// Links each offering to the entry, in order, through the record operations (every write audited).
// work: a query on the connection for the attendance read. before: called with each offering id
// before its statements run.
void LinkOfferingsToEntry(Dataset &work, const QString &timetableId, const QVector<OfferingToLink> &offerings,
                          const std::function<void(const QString &offeringId)> &before = {});
