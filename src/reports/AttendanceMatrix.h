#pragma once
// The attendance matrix of a lesson over its semester: every enrolled student, the signs of his
// entries in date order, the number of attended and made-up lessons. Shared by the matrix list
// window, its printed sheets and kovra-print.

#include <QString>
#include <QStringList>

class Dataset;

// The grid shows this many date columns; the statement carries one sign column more.
inline constexpr int MatrixGridDates = 14;
// From this many dates on the landscape sheet is printed.
inline constexpr int WideSheetDates = 8;

// The matrix statement: the day summary's with the timetable id in the select list and the count
// "ossz"; lessonId / semesterId add their line only when not empty; an empty faculty gives null.
QString MatrixListStatement(const QString &facultyId, const QString &lessonId, const QString &semesterId);
// The lessons of a semester in the faculty, as the lesson combos list them.
QString LessonComboStatement(const QString &facultyId, const QString &semesterId);
// The lesson dates as "yyyy.MM.dd" texts, in order.
QStringList LessonDates(Dataset &keres, const QString &lessonId);
// The title of a date column: month and day, "MM.dd".
inline QString DateColumnTitle(const QString &dateText) { return dateText.right(5); }

// What a matrix was built for. The printed sheet prints this, whatever the window shows later.
struct MatrixBuild {
    QString facultyId, facultyName;
    QString semesterId, semesterText;
    QString lessonId, lessonText;
    QString statement;
    QStringList dates;        // every lesson date
    QString duplicateMessage; // the diagnosis when the statement failed
    bool opened = false;

    // The titles of the date columns shown: the first MatrixGridDates dates.
    QStringList titles() const;
    bool wide() const { return dates.size() >= WideSheetDates; }
    // More dates than the grid shows.
    bool truncated() const { return dates.size() > MatrixGridDates; }
};

// Reads the dates, sets and opens the statement on szures; a failing statement is answered by
// the duplicate diagnosis on updateQuery and ellenor (opened is then false).
MatrixBuild BuildMatrix(const QString &facultyId, const QString &semesterId, const QString &lessonId,
                        Dataset &keres, Dataset &szures, Dataset &updateQuery, Dataset &ellenor);
