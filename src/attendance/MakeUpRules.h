#pragma once
// Guests of a lesson: a code left after the enrolled students is a make-up of the student's own
// timetable entry, refused with a message behind the code, or removed when already recorded.

#include "Dataset.h"

#include <QStringList>

class Connection;

class MakeUpRules {
public:
    static inline const QString NotInSystem = QStringLiteral(" A hallgató nincs a rendszerben!");
    static inline const QString OverLimit =
        QStringLiteral(" A hallgató pótlása nem rögzíthető, mert meghaladta a megengedett óraszámot!");
    static inline const QString NotInAdvance = QStringLiteral(" Előre pótlás nem lehetséges!");
    static inline const QString HadLessonThisWeek = QStringLiteral(" A hallgatónak már volt órája a héten!");
    static inline const QString Recorded = QStringLiteral(" A hallgató pótlása rögzítésre került!");

    // keres and lekerdez: the capture's scratch queries.
    MakeUpRules(Dataset &keres, Dataset &lekerdez) : m_keres(keres), m_lekerdez(lekerdez) {}

    // Every line in list order; a removed line's successor is visited next.
    void processAll(QStringList &lines, const QString &compactDate, const QString &semesterId,
                    const std::function<void(const QStringList &)> &progress = {});
    // One line; returns true when the line was removed.
    bool processLine(QStringList &lines, int index, const QString &compactDate, const QString &semesterId);

private:
    Dataset &m_keres;
    Dataset &m_lekerdez;
};
