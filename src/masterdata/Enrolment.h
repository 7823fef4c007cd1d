#pragma once
// A student's enrolments: the offering (felvett_tantargy) and the student's row in it (tan_hall),
// written through the record operations, every write audited.

#include <QString>

class Connection;

// The enrolment panel's choices as "column=" values (ids, or null for an empty choice).
struct EnrolmentChoice {
    QString subjectId;   // tantargy_id
    QString languageId;  // nyelv_id
    QString semesterId;  // felev_id
    QString formId;      // tof_id
    QString courseId;    // kurzus_id
    QString timetableId; // orarend_id of the student's row
};

// Enrols the student: the faculty's offering of the choice (an identical one is reused) and the
// student's row in it, with their audit rows, as one write unit on the connection: a failure
// leaves neither. Returns the offering id.
QString EnrolStudent(Connection *connection, const QString &facultyId, const QString &studentId,
                     const EnrolmentChoice &choice);

// Rewrites the offering's columns; an empty subject choice (null) leaves the stored subject alone.
void UpdateOffering(const QString &offeringId, const EnrolmentChoice &choice);

// Places the enrolment in a timetable entry; "NULL" releases it.
void PlaceEnrolment(const QString &enrolmentId, const QString &timetableId);

void DeleteEnrolment(const QString &enrolmentId);
