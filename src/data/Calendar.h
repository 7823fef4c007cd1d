#pragma once
// Server time, semesters, the semester week and the date texts. The server's clock is the
// program's notion of today.

#include <QDate>
#include <QString>

class Dataset;

// kind 1: "yyyy.mm.dd", 2: "yyyy-mm-dd hh:mi:ss", 3: "hh:mi:ss"; any other kind: empty.
QString ServerNow(int kind);
QString FindCurrentSemester();
QString SemesterOfDate(const QString &dateText);
int SemesterWeekNumber(const QDate &date);
QString SemesterWeekParity(const QDate &date);
QDate WeekMonday(const QDate &date);
QDate WeekSaturday(const QDate &date);
QString CompactDateText(const QDate &date);
QString DateTextToCompact(const QString &text);
QString LongDateText(const QDate &date);
bool CheckDateText(const QString &text);
QString BoolToText(bool value);
bool TextToBool(const QString &text);
// Parses a date in the process format "yyyy.MM.dd" (a trailing "." and single-digit parts allowed).
QDate ParseDateText(const QString &text);
// Opens a pass-through query on the Neptun linked server; tail (when any) is a second line.
void NeptunQuery(Dataset &query, const QString &inner, const QString &tail);
