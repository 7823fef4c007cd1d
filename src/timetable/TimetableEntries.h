#pragma once
// The writes of the timetable: an entry's fields checked and saved, an entry copied with its groups
// and members, an entry deleted with its dependants, groups, teachers and lesson dates unlinked.
// Each step is one statement through the record operations; there is no transaction, so a failed
// step leaves the steps before it in place.

#include <QString>
#include <QStringList>

class Dataset;

// The fields of a timetable entry as the window's controls hold them.
struct TimetableEntryFields {
    QString semesterId; // the lookup's result: "null" when none is chosen
    QString name;
    QString makeUps;    // empty is stored as NULL
    QString from;       // the mask texts "hh:mm" (the first hour digit may be blank)
    QString to;
    bool weekly = false;
};

// A time of day "h:mm" or "hh:mm" with hours 0–23 and minutes 0–59 as "hh:mm"; "" when the text
// is none (blank places of a half-typed mask, "25:15", "8:7").
QString NormalizedTime(const QString &maskText);

// The first field the user has to correct, with its message; field "" when every field is fine.
// Field names: "felev", "nev", "mettol", "meddig", "potlas".
struct FieldProblem {
    QString field;
    QString message;
};
FieldProblem CheckTimetableEntry(const TimetableEntryFields &fields);

// The assignments of an entry in the order the table is written: felev_id, orarend_nev,
// orarend_potlas, orarend_mettol, orarend_meddig, orarend_heti (an insert puts kar_id first).
QStringList TimetableEntryAssignments(const TimetableEntryFields &fields);

// Inserts the entry of the faculty (the check for an equal row on); newId receives its id, also
// when the audit row after the insert fails.
void InsertTimetableEntry(const TimetableEntryFields &fields, const QString &facultyId, QString &newId);
void UpdateTimetableEntry(const QString &id, const TimetableEntryFields &fields);

struct CopyResult {
    QString newId;
    bool existed = false; // an equal copy was there already: only missing groups and members were added
};
// Copies the entry sourceId as shown by fields: a new entry named "<name> (másolat)" without its
// make-up count, the source's groups and one additional enrolment row per member of the source.
// groups and members are the scratch datasets the copy reads the source's rows with.
CopyResult CopyTimetableEntry(const QString &sourceId, const TimetableEntryFields &fields, const QString &facultyId,
                              Dataset &groups, Dataset &members);

// Deletes the entry's lesson dates, attendance entries, teacher assignments and groups, releases its
// enrolments from it and deletes the entry.
void DeleteTimetableEntry(const QString &id);

// Releases every enrolment of the offering (in whichever entry) and unlinks it from the entry.
void UnlinkOfferingReleasingStudents(const QString &entryId, const QString &offeringId);
// Unlinks the offering from the entry; the enrolments stay tied to the entry.
void UnlinkOffering(const QString &entryId, const QString &offeringId);
void AddTeacher(const QString &entryId, const QString &teacherId);
void RemoveTeacher(const QString &entryId, const QString &teacherId);
void DeleteLessonDate(const QString &dateId);
