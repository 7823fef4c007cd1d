#pragma once
// One attendance capture of a lesson: the reader's code lines become attendance entries for every
// enrolled student; codes left over go through the make-up rules; the journal records the run.
// Window-free: the capture window and kovra-capture both drive it.

#include "Dataset.h"
#include "SqlSplice.h"

#include <QStringList>
#include <functional>

class Connection;

enum class CaptureMode { None = -1, EndOfLesson = 0, Append = 1 };

struct CaptureRequest {
    QString dateText;   // the date as typed: "yyyy.MM.dd" (a trailing "." allowed); empty = none
    QString semesterId; // empty = not chosen
    QString lessonId;   // empty = not chosen
    QString lessonName; // display name of the lesson, as the lesson list shows it
    CaptureMode mode = CaptureMode::None;
    bool makeUpAllowed = false; // the lesson's orarend_potlas is above 0
};

enum class CaptureOutcome { Done, NoDate, NoSemester, NoLesson, NoCodes, Declined, NoConnection };

class CaptureRun {
public:
    explicit CaptureRun(Connection *connection);

    // Called after every enrolled student and every make-up line (the window repaints its list).
    std::function<void(const QStringList &lines)> progress;
    // Called before the checks: the window saves its backup file.
    std::function<void(const QStringList &lines)> saveBackup;
    // Waits between reconnection attempts (tests replace it).
    std::function<void(int ms)> wait;

    // Runs the capture; lines are changed in place (matched codes removed, messages appended).
    // Messages go through InfoBox/ConfirmBox. Database errors propagate (rows written so far stay).
    CaptureOutcome run(const CaptureRequest &request, QStringList &lines);

    // While the connection is closed: reopen, count the attempt, wait 2 s; after the 10th attempt
    // report "Nincs kapcsolata az adatbázissal! Próbálja újra!". True when connected.
    bool checkConnection();
    int connectionAttempts() const { return m_attempts; }

    // The journal text of the run's start.
    static QString StartJournalText(const CaptureRequest &request, const QStringList &lines);
    // 'A','B' with quotes inside codes doubled.
    static QString CodeListLiteral(const QStringList &lines);

private:
    void writeJournal(const QString &text);
    void processStudent(const CaptureRequest &request, const QString &compactDate, const QString &codeList,
                        const QString &studentId, const QString &code, const QString &card, QStringList &lines);

    Connection *m_connection;
    Dataset keres, lekerdez, ellenor;
    int m_attempts = 0;
};

// The lines without control characters; a line that held nothing else is left out.
QStringList CodeLinesForMatching(const QStringList &lines);
// Removes the first line equal to code or card, comparing with ASCII letters upper-cased.
bool RemoveCodeLine(QStringList &lines, const QString &code, const QString &card);

// The lessons offered for a date: the faculty's timetable entries of the semester with a lesson
// date on that day or weekly; a teacher sees only his own. Columns ID, NEV, orarend_mettol, orarend_meddig.
QString LessonListStatement(const QString &semesterId, const QString &compactDate);

// What the capture needs to know of the chosen lesson (its "keres" statement).
struct LessonInfo {
    bool found = false;
    QString start, end; // hh:mm
    bool weekly = false;
    bool makeUpAllowed = false; // orarend_potlas > 0
};
LessonInfo ReadLesson(Dataset &keres, const QString &semesterId, const QString &lessonId);

// Whether this user started an end-of-lesson reading of the lesson (by its display name) less
// than two hours ago today; the window then suggests appending instead.
bool RecentEndOfLessonReading(Dataset &ellenor, const QString &lessonName);
