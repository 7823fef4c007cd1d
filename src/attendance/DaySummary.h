#pragma once
// The attendance matrix of a lesson: every enrolment a row, the signs of the student's entries in
// date order in fifteen columns; the duplicate diagnosis when it cannot be built; deleting a day.

#include <QString>
#include <QStringList>

class Dataset;

inline constexpr int MatrixDateColumns = 15;

// The matrix statement; lessonId / semesterId add their line only when not empty.
QString AttendanceMatrixStatement(const QString &facultyId, const QString &lessonId, const QString &semesterId);
// The n-th sign column (n = 1 … 15) of the matrix statement, shared with the matrix list window.
QString MatrixSignColumn(int n);

struct DaySummaryResult {
    bool opened = false;        // the matrix is open in the given dataset
    QStringList dateTitles;     // title of column k = the last six characters of the k-th lesson date
    QString duplicateMessage;   // "Duplikált jelenlét … órán …-nál!" when the diagnosis found one
    int count = -1;             // the rows listed ("l_letszam"); -1 when not opened
};

// Recomputes the summary: keres reads the lesson dates, szures receives the matrix,
// updateQuery and ellenor serve the duplicate diagnosis. Database errors of the matrix are
// answered by the diagnosis; others propagate.
DaySummaryResult ComputeDaySummary(const QString &lessonId, const QString &semesterId, Dataset &keres, Dataset &szures,
                                   Dataset &updateQuery, Dataset &ellenor);

// The diagnosis of a matrix that cannot be built: the first date with more entries than enrolments
// and its "Duplikált jelenlét … órán …-nál!" message (shown); empty when no date is duplicated.
QString DiagnoseDuplicate(const QString &lessonId, Dataset &updateQuery, Dataset &ellenor);

// Whether the lesson has entries on the date (yyyymmdd) and, when confirmed, deletes them all.
// Returns true when something was deleted.
bool DeleteDayAttendance(const QString &lessonId, const QString &compactDate, Dataset &keres);
