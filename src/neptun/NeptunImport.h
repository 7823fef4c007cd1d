#pragma once
// The import of a faculty's subject registrations from Neptun: the Neptun rows of one faculty and
// semester (optionally one subject), then per row the student, subject, language, course, lesson
// form, subject offering, enrolment and the course's teachers; optionally a timetable entry per
// offering with its lesson dates. Window-free: the import window and kovra-import both drive it.

#include "Dataset.h"

#include <QHash>
#include <QStringList>
#include <functional>

class Connection;

struct NeptunImportRequest {
    QString facultyId;      // kar_id the rows are written under
    QString facultyCode;    // kar_kod, the Neptun organisation code
    QString semesterId;     // felev_id; empty = not chosen
    QString semesterNeptun; // felev_neptun of the semester
    QString subjectName;    // exact Neptun subject name; empty = every subject
    bool timetable = false; // also timetable entries and their lesson dates
};

enum class NeptunImportOutcome {
    Done,
    NoRows,              // no successful query with rows: nothing imported
    ClassInstancesFailed // part two stopped at a failed Neptun statement
};

class NeptunImport {
public:
    // rows: the dataset that receives the Neptun rows (the window's list); nullptr = one of its own.
    explicit NeptunImport(Connection *connection, Dataset *rows = nullptr);

    // Before every row of either part (position 1-based) and once at the end of a part (position = maximum).
    std::function<void(int position, int maximum)> progress;
    // Every line added to the message list, and the list being emptied (part two begins).
    std::function<void(const QString &line)> messageAdded;
    std::function<void()> messagesCleared;

    // Runs the Neptun row statement into the rows. Without a semester: "A félév megadása kötelező!";
    // a failing statement: "A művelet végrehajtása sikertelen! Próbálja újra!" and no rows. Returns
    // the number of rows, or -1 when refused or failed. The request is kept for the import.
    int query(const NeptunImportRequest &request);
    // Imports the rows of the last successful query under the faculty and semester they were queried
    // for. Single failed inserts go to InfoBox one by one and the import goes on; other database
    // errors propagate (rows written so far stay). The caller reports Done with DoneText.
    NeptunImportOutcome run();
    static const QString DoneText; // "Az átvétel megtörtént!"

    // The timetable flag of the next run (the faculty and semester stay those of the query).
    void setTimetable(bool on) { m_request.timetable = on; }
    Dataset &rows() { return *m_rows; }
    bool hasRows() const { return m_queried && m_rows->isActive() && !m_rows->isEmpty(); }
    const NeptunImportRequest &queriedRequest() const { return m_request; }
    const QStringList &messages() const { return m_messages; }
    // The message list as it stood after the registrations (the journal row's text).
    const QString &journalText() const { return m_journal; }

    // The statements, with the texts quoted for Oracle (the pass-through doubles them once more).
    static QString RowStatement(const QString &facultyCode, const QString &semesterNeptun, const QString &subjectName);
    static QString TeachersStatement(const QString &courseId);
    static QString ClassInstancesStatement(const QString &semesterNeptun, const QString &subjectCode,
                                           const QString &courseName);
    // The faculties the import offers: every active one for role 1, else the user's own.
    static QString FacultyListStatement();
    // Makes a faculty the program's current one (LoginInfo's three faculty fields).
    static void ChooseFaculty(Dataset &q, const QString &facultyId);
    static QString SemesterNeptunName(Dataset &q, const QString &semesterId);
    // The year of study in a subject code: its second-to-last character; empty when shorter.
    static QString YearOfSubjectCode(const QString &code);

private:
    struct Tutor {
        QString code, name;
    };
    void addMessage(const QString &line);
    void importRow(int row);
    bool importTimetable();
    // The id a lookup statement finds for a code or name; once found, kept for the rest of the run
    // (only this run writes these rows, so the statement would find the same one again).
    QString lookup(QHash<QString, QString> &found, const QString &key, const QString &sql, const QString &column);
    const QVector<Tutor> &tutorsOf(const QString &courseId);

    Connection *m_connection;
    Dataset m_ownRows, tabla, keres, orak, tutors;
    Dataset *m_rows;
    NeptunImportRequest m_request;
    bool m_queried = false;
    QStringList m_messages;
    QString m_journal;
    QHash<QString, QVector<Tutor>> m_tutors; // KurzusID → its teachers, within one run
    QHash<QString, QString> m_subjects, m_languages, m_courses, m_forms, m_teachers; // found ids, within one run
    // Column positions of the rows.
    int c_subjectCode = -1, c_subjectName = -1, c_code = -1, c_name = -1, c_education = -1, c_card = -1,
        c_courseCode = -1, c_form = -1, c_courseId = -1, c_language = -1;
};
