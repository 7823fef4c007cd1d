#pragma once
// The printed attendance sheet "Jelenléti lista" of a built matrix: one line per student with a
// box per lesson date holding the printed sign of the entry and the total; portrait with seven
// boxes, landscape with fourteen.

#include "AttendanceMatrix.h"
#include "Report.h"

#include <QDateTime>

class Dataset;

struct SheetHeader {
    QString faculty, lesson, semester;
    QString time = QStringLiteral("órarend ideje"); // start - end of the lesson when it is found
    QString teachers;                               // every name followed by " - "
    QStringList dateHeadings;                       // "MM dd" of the k-th date shown
};

// The matrix statement with the printed signs (jt_mas) in place of the screen's symbols (jt_jel).
QString SheetStatement(const QString &matrixStatement);
// The heading of a date column from its grid title "MM.dd": "MM dd".
QString SheetDateHeading(const QString &columnTitle);
// The header texts of the matrix build; keres reads the lesson's time and teachers.
SheetHeader ReadSheetHeader(Dataset &keres, const MatrixBuild &build);

// The layout of the sheet over the rows of SheetStatement.
report::Report AttendanceSheetReport(bool wide, const SheetHeader &header, report::Rows rows,
                                     const QDateTime &printed = QDateTime::currentDateTime());

// Runs the sheet statement of the build on szures and lays the sheet out.
report::Report BuildAttendanceSheet(const MatrixBuild &build, bool wide, Dataset &szures, Dataset &keres);
