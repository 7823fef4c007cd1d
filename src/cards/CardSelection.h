#pragma once
// The card issue: the search of the card window, the statement of the card sheet for the ticked
// students, the card layout with its Code 128 barcode and check number, and the issue record.
// Shared by the card window, its sheet and kovra-print.

#include "Report.h"

#include <QImage>
#include <QStringList>

class Dataset;

struct CardFilter {
    QString facultyId, semesterId;
    QString courseId, languageId, lessonId; // empty: not a condition
    QString year;                           // evfolyam, compared as a text
    bool withoutCard = false;               // only students without a card issued before now
};

// The search statement, one condition a line, the ordering line last.
QString CardSearchStatement(const CardFilter &filter);
// The sheet's statement: the search itself when nobody is ticked, otherwise its ordering line
// replaced by the ticked ids and "Order By hallgato_nev".
QString CardSheetStatement(const QString &searchStatement, const QStringList &studentIds);
// The number printed beside the barcode: the login hash of the code.
int CardCheckNumber(const QString &code);
// The institution's logo of the cards.
QImage CardLogo();
// Two cards side by side, ten to an A4 page, over rows with hallgato_id, hallgato_kod, hallgato_nev.
report::Report CardSheetReport(report::Rows rows);
// Records the issue of today's card for every row (one row per student and day).
void RecordCardIssue(const report::Rows &rows);
