#pragma once
// The demo data set: built in memory from a fixed seed and the day of the run, then written into the
// KOVRA database and the Neptun stand-in. Ids are assigned here, so both files agree.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVector>
#include <optional>

struct sqlite3;

namespace demo {

struct Faculty { int id; QString code, name; };
struct Semester { int id; QString name, neptunName; QDate from, to; };
struct Role { int id; };
struct User {
    int id;
    QString name, fullName, email;
    std::optional<int> passwordHash;
    bool active;
    std::optional<int> faculty, role;
};
struct Teacher { int id; QString code, name; int faculty; int user; };
struct Student { int id; QString code, name, card, educationId; }; // card/educationId: null QString = none
struct Subject { int id; int faculty; QString code, name; };
struct Course { int id; QString code; int form; }; // the lesson form its code stands for
struct Offering {
    int id;
    int semester, subject, course, form, language, faculty;
    std::optional<int> sport;
    QString year;
};
struct Entry {
    int id;
    int faculty, semester;
    QString name;
    QTime from, to;
    bool weekly;
    std::optional<int> makeUps;
    QVector<QDate> dates;   // orarend_datum rows
    QVector<QDate> lessons; // the days the lesson was held (the dates, or every week for a weekly entry)
    QVector<int> offerings; // orarend_csoport
    QVector<int> teachers;
};
struct Enrolment { int id; int student; std::optional<int> offering, entry; };
struct TeacherAssignment { int teacher; std::optional<int> offering, entry; };
struct Attendance { int student, entry; QDate date; int type; };
struct JournalRow { QDateTime at; QString text; int user, faculty; };
struct ErrorRow { int user; QDateTime at; QString text; std::optional<int> state; };
struct CardIssue { int student; QDate date; };

struct DemoModel {
    QDate today;
    QVector<Faculty> faculties;
    QVector<Semester> semesters; // [0] previous, [1] current
    QVector<User> users;
    QVector<Teacher> teachers;
    QVector<Student> students;
    QVector<Subject> subjects;
    QVector<QString> languages, lessonForms, sports; // id = index + 1
    QVector<Course> courses;
    QVector<Offering> offerings;
    QVector<Entry> entries;
    QVector<Enrolment> enrolments;
    QVector<TeacherAssignment> teacherAssignments;
    QVector<Attendance> attendance;
    QVector<JournalRow> journal;
    QVector<ErrorRow> errors;
    QVector<CardIssue> cards;
    // Neptun's own rows, unknown to KOVRA: students registered to a course, and a course's teacher.
    QVector<Student> neptunOnlyStudents;
    int neptunOnlyOffering = 0;
    Teacher neptunOnlyTeacher;
    int neptunOnlyTeacherOffering = 0;
    // Two KOVRA students that Neptun knows otherwise: one renamed, one with a new card number. They are
    // registered only to the previous semester's quoted subject of the stand-in (see NeptunStandIn.cpp).
    int renamedStudent = 0;
    QString renamedTo;
    int recardedStudent = 0;
    QString newCard;
    // A Neptun-only student with a quote in the name, registered to that subject as well.
    Student quotedStudent;

    const Offering &offering(int id) const { return offerings[id - 1]; }
    const Subject &subject(int id) const { return subjects[id - 1]; }
    const Course &course(int id) const { return courses[id - 1]; }
    const Student &student(int id) const { return students[id - 1]; }
    const Teacher &teacher(int id) const { return teachers[id - 1]; }
    // What dbo.orarend_kurzus returns for the entry: its groups' course codes in code order.
    QString courseText(const Entry &entry) const;
};

// The accounts with a known password, one per role 1 to 4 (listed in README).
struct DemoLogin { const char *name; const char *password; int role; };
inline constexpr DemoLogin DemoLogins[] = {
    {"ADMIN", "admin", 1},
    {"TANULMANYI", "tanulmanyi", 2},
    {"OKTATO", "oktato", 3},
    {"KARTYA", "kartya", 4},
};

// The semester that contains day (autumn: 1 September to 31 January, spring: 1 February to 31 August)
// and the one before it.
Semester SemesterContaining(QDate day, int id);
Semester SemesterBefore(const Semester &semester, int id);

DemoModel BuildDemoModel(QDate today);

// Writes the model into a KOVRA database created from the base script, in one transaction.
void WriteKovraDatabase(sqlite3 *db, const DemoModel &model);

// Creates the Neptun stand-in's tables in an empty database and fills them from the model, in one
// transaction: the registrations, teachers and class instances the import statements read, plus a few
// rows of Neptun's own (new students, signed-out registrations, an unknown teacher).
void WriteNeptunDatabase(sqlite3 *db, const DemoModel &model);
// Only the stand-in's tables and indexes (empty).
void CreateNeptunTables(sqlite3 *db);

} // namespace demo
