#pragma once
// Server time, semesters, the semester week and the date texts. The server's clock is the
// program's notion of today.

#include <QDate>
#include <QString>

class Dataset;

// kind 1: "yyyy.mm.dd", 2: "yyyy-mm-dd hh:mi:ss", 3: "hh:mi:ss"; any other kind: empty.
QString ServerNow(int kind);
// The semester holding the server's date, else the one that starts last; empty without semesters.
QString FindCurrentSemester();
// The semester holding the date, empty when none does.
QString SemesterOfDate(const QString &dateText);
// The week of the semester holding date, counted from 1 while timetableId (empty: none) has had no
// lesson date before now, from 0 once it has; 0 outside every semester.
int SemesterWeekNumber(const QDate &date, const QString &timetableId);
// "páros" or "páratlan" by that week number; empty outside every semester.
QString SemesterWeekParity(const QDate &date, const QString &timetableId);
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
