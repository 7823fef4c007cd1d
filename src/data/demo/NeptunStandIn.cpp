// The Neptun stand-in: the tables and columns that the Neptun import's Oracle statements read, under
// the names those statements spell (T_CourseTutor, T_DictionaryItemBase.C_Name, …), filled so that the
// registrations of the current semester are the demo database's enrolments.

#include "DemoData.h"
#include "SqliteWriter.h"

#include <QHash>
#include <QSet>
#include <optional>

namespace demo {

namespace {

// Oracle DATE values (date and time) are stored as 'YYYY-MM-DD HH:MM:SS'.
const char NeptunSchema[] = R"sql(
CREATE TABLE T_DictionaryItemBase (ID INTEGER PRIMARY KEY, C_Name VARCHAR2(200));
CREATE TABLE T_ORGANIZATION (ID INTEGER PRIMARY KEY, C_CODE VARCHAR2(20), C_NAME VARCHAR2(200));
CREATE TABLE T_INTERIORORGANIZATION (ID INTEGER PRIMARY KEY, C_NAME VARCHAR2(200));
CREATE TABLE T_SUBJECT (ID INTEGER PRIMARY KEY, C_CODE VARCHAR2(30), C_NAME VARCHAR2(200),
  C_INTERIORORGANIZATIONID INTEGER);
CREATE TABLE T_MODULE (ID INTEGER PRIMARY KEY, C_CODE VARCHAR2(30), C_NAME VARCHAR2(200));
CREATE TABLE T_TRAINING (ID INTEGER PRIMARY KEY, C_NAME VARCHAR2(200));
CREATE TABLE T_PARTNER (ID INTEGER PRIMARY KEY, C_PRINTNAME VARCHAR2(200));
CREATE TABLE T_USER (ID INTEGER PRIMARY KEY, C_NEPTUNCODE VARCHAR2(20));
CREATE TABLE T_STUDENT (ID INTEGER PRIMARY KEY, C_OMSIDENTIFIER VARCHAR2(20));
CREATE TABLE T_EMPLOYEE (ID INTEGER PRIMARY KEY);
CREATE TABLE T_SCCARD (ID INTEGER PRIMARY KEY, C_STUDENTID INTEGER, C_SERIALNUMBER VARCHAR2(20),
  C_STATUS INTEGER);
CREATE TABLE T_STUDENTTRAINING (ID INTEGER PRIMARY KEY, C_STUDENTID INTEGER, C_TRAININGID INTEGER);
CREATE TABLE T_STUDENTTRAININGTERMDATA (ID INTEGER PRIMARY KEY, C_STUDENTTRAININGID INTEGER,
  C_TERM INTEGER, C_STATUS INTEGER);
CREATE TABLE T_INDEXLINE (ID INTEGER PRIMARY KEY, C_SUBJECTID INTEGER, C_STUDENTTRAININGTERMDATAID INTEGER,
  C_SIGNOUTDATE DATETIME TEXT);
CREATE TABLE T_COURSE (ID INTEGER PRIMARY KEY, C_CODE VARCHAR2(30), C_SUBJECTID INTEGER, C_TERM INTEGER,
  C_COURSETYPE INTEGER, C_LANGUAGE INTEGER);
CREATE TABLE T_COURSESTUDENT (ID INTEGER PRIMARY KEY, C_INDEXLINEID INTEGER, C_COURSEID INTEGER,
  C_SIGNOUTDATE DATETIME TEXT);
CREATE TABLE T_CourseTutor (ID INTEGER PRIMARY KEY, C_COURSEID INTEGER, C_EMPLOYEEID INTEGER);
CREATE TABLE T_CLASSINSTANCE (ID INTEGER PRIMARY KEY, C_COURSEID INTEGER, C_CORRECTFROMDATE DATETIME TEXT,
  C_CORRECTTODATE DATETIME TEXT);
CREATE INDEX ix_indexline_termdata ON T_INDEXLINE (C_STUDENTTRAININGTERMDATAID);
CREATE INDEX ix_coursestudent_indexline ON T_COURSESTUDENT (C_INDEXLINEID);
CREATE INDEX ix_coursestudent_course ON T_COURSESTUDENT (C_COURSEID);
CREATE INDEX ix_sccard_student ON T_SCCARD (C_STUDENTID);
CREATE INDEX ix_coursetutor_course ON T_CourseTutor (C_COURSEID);
CREATE INDEX ix_classinstance_course ON T_CLASSINSTANCE (C_COURSEID);
)sql";

// Id ranges of the stand-in.
int termItem(int semester) { return 1000 + semester; }
int courseTypeItem(int form) { return 2000 + form; }
int languageItem(int language) { return 3000 + language; }
constexpr int ActiveStatusItem = 4001;
constexpr int CardWithdrawn = 56001, CardValid = 56003, CardHandedOver = 56012;
int organization(int faculty) { return 100 + faculty; }
int training(int faculty) { return 200 + faculty; }
int studentPerson(int student) { return 100000 + student; }
int teacherPerson(int teacher) { return 200000 + teacher; }
int subjectId(int subject) { return 5000 + subject; }
int courseId(int offering) { return 6000 + offering; }

QString stamp(const QDate &d, const QTime &t)
{
    return QDateTime(d, t).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The previous semester's cases of the import on the first faculty: a subject KOVRA lacks, with a quote
// in its name and code, and its courses: "E'01" (a quote), "GYAKORLAT01" (longer than five characters,
// no language), "L01" (no lesson form); a subject whose code has one character. Registered: the renamed
// and the re-carded student, the quoted Neptun-only student, three demo students, one of them signed out
// of the course, another of the whole subject. Tutors: a known teacher, an unknown one with a quote in
// the name, one without a Neptun code. Class instances, one of them without a start date.
void WriteImportCases(sqlite3 *db, const DemoModel &m, Statement &partner, Statement &user, Statement &employee,
                      Statement &indexLine, Statement &courseStudent, Statement &tutor, Statement &instance,
                      int &indexLineId, int &courseStudentId, int &tutorId, int &instanceId)
{
    const Semester &term = m.semesters[0];
    const int faculty = m.faculties[0].id;
    constexpr int QuotedSubject = 5900, ShortSubject = 5901;
    constexpr int LectureCourse = 6900, LongCourse = 6901, FormlessCourse = 6902, ShortCourse = 6903;
    Statement subject(db, "INSERT INTO T_SUBJECT (ID, C_CODE, C_NAME, C_INTERIORORGANIZATIONID) VALUES (?1, ?2, ?3, ?4)");
    subject.run(QuotedSubject, QStringLiteral("GKMA'T11A"), QString::fromUtf8("Ma'tek"), organization(faculty));
    subject.run(ShortSubject, QStringLiteral("Z"), QString::fromUtf8("Zárt tárgy"), organization(faculty));
    Statement course(db, "INSERT INTO T_COURSE (ID, C_CODE, C_SUBJECTID, C_TERM, C_COURSETYPE, C_LANGUAGE) "
                         "VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    const std::optional<int> none;
    course.run(LectureCourse, QStringLiteral("E'01"), QuotedSubject, termItem(term.id), courseTypeItem(1), languageItem(1));
    course.run(LongCourse, QStringLiteral("GYAKORLAT01"), QuotedSubject, termItem(term.id), courseTypeItem(2), none);
    course.run(FormlessCourse, QStringLiteral("L01"), QuotedSubject, termItem(term.id), none, languageItem(1));
    course.run(ShortCourse, QStringLiteral("E01"), ShortSubject, termItem(term.id), courseTypeItem(1), languageItem(1));

    QHash<QPair<int, int>, int> lines;
    const auto registration = [&](int person, int subjectRow, int courseRow, const QString &lineSignOut = QString(),
                                  const QString &courseSignOut = QString()) {
        int &line = lines[{person, subjectRow}];
        if (line == 0) {
            line = ++indexLineId;
            indexLine.run(line, subjectRow, person * 10 + term.id, lineSignOut);
        }
        courseStudent.run(++courseStudentId, line, courseRow, courseSignOut);
    };
    const int renamed = studentPerson(m.renamedStudent), recarded = studentPerson(m.recardedStudent);
    const int quoted = studentPerson(m.quotedStudent.id);
    for (int person : {renamed, recarded, quoted, studentPerson(2), studentPerson(3)})
        registration(person, QuotedSubject, LectureCourse);
    registration(renamed, QuotedSubject, LongCourse);
    registration(quoted, QuotedSubject, LongCourse);
    registration(recarded, QuotedSubject, FormlessCourse);
    registration(quoted, ShortSubject, ShortCourse);
    const QString signedOut = stamp(term.from.addDays(12), QTime(11, 0));
    registration(studentPerson(4), QuotedSubject, LectureCourse, QString(), signedOut);
    registration(studentPerson(5), QuotedSubject, LectureCourse, signedOut);

    const int quotedTutor = teacherPerson(101), codeless = teacherPerson(102);
    partner.run(quotedTutor, QString::fromUtf8("Dr. O'Neil Péter"));
    user.run(quotedTutor, QStringLiteral("ONEIL1"));
    employee.run(quotedTutor);
    partner.run(codeless, QString::fromUtf8("Vendég Oktató"));
    user.run(codeless, QString());
    employee.run(codeless);
    tutor.run(++tutorId, LectureCourse, teacherPerson(m.teachers[0].id));
    tutor.run(++tutorId, LectureCourse, quotedTutor);
    tutor.run(++tutorId, LongCourse, codeless);
    tutor.run(++tutorId, FormlessCourse, teacherPerson(m.teachers[1].id));

    QDate monday = term.from;
    while (monday.dayOfWeek() != Qt::Monday)
        monday = monday.addDays(1);
    for (int week = 0; week < 3; ++week) {
        const QDate day = monday.addDays(7 * week);
        instance.run(++instanceId, LectureCourse, stamp(day, QTime(8, 0)), stamp(day, QTime(9, 30)));
        instance.run(++instanceId, LongCourse, stamp(day.addDays(1), QTime(10, 15)), stamp(day.addDays(1), QTime(11, 45)));
    }
    instance.run(++instanceId, LongCourse, QString(), stamp(monday.addDays(22), QTime(11, 45)));
    instance.run(++instanceId, ShortCourse, stamp(monday.addDays(3), QTime(14, 0)), stamp(monday.addDays(3), QTime(15, 30)));
}

} // namespace

void CreateNeptunTables(sqlite3 *db) { Exec(db, NeptunSchema); }

void WriteNeptunDatabase(sqlite3 *db, const DemoModel &m)
{
    Exec(db, "BEGIN IMMEDIATE");
    CreateNeptunTables(db);
    {
        Statement dict(db, "INSERT INTO T_DictionaryItemBase (ID, C_Name) VALUES (?1, ?2)");
        for (const Semester &s : m.semesters)
            dict.run(termItem(s.id), s.neptunName);
        for (int i = 0; i < m.lessonForms.size(); ++i)
            dict.run(courseTypeItem(i + 1), m.lessonForms[i]);
        for (int i = 0; i < m.languages.size(); ++i)
            dict.run(languageItem(i + 1), m.languages[i]);
        dict.run(ActiveStatusItem, QString::fromUtf8("Aktív"));
        dict.run(CardWithdrawn, QString::fromUtf8("Bevont"));
        dict.run(CardValid, QString::fromUtf8("Érvényes"));
        dict.run(CardHandedOver, QString::fromUtf8("Átadott"));

        Statement org(db, "INSERT INTO T_ORGANIZATION (ID, C_CODE, C_NAME) VALUES (?1, ?2, ?3)");
        Statement interior(db, "INSERT INTO T_INTERIORORGANIZATION (ID, C_NAME) VALUES (?1, ?2)");
        Statement module(db, "INSERT INTO T_MODULE (ID, C_CODE, C_NAME) VALUES (?1, ?2, ?3)");
        Statement trainingRow(db, "INSERT INTO T_TRAINING (ID, C_NAME) VALUES (?1, ?2)");
        for (const Faculty &f : m.faculties) {
            org.run(organization(f.id), f.code, f.name);
            interior.run(organization(f.id), f.name);
            const QString programme = f.id == 1 ? QStringLiteral("GEPESZ-BSC") : QStringLiteral("PTI-BSC");
            module.run(training(f.id), programme, f.name + QStringLiteral(" BSc"));
            trainingRow.run(training(f.id), f.name + QStringLiteral(" BSc"));
        }

        Statement subject(db, "INSERT INTO T_SUBJECT (ID, C_CODE, C_NAME, C_INTERIORORGANIZATIONID) VALUES (?1, ?2, ?3, ?4)");
        for (const Subject &s : m.subjects)
            subject.run(subjectId(s.id), s.code, s.name, organization(s.faculty));

        Statement course(db, "INSERT INTO T_COURSE (ID, C_CODE, C_SUBJECTID, C_TERM, C_COURSETYPE, C_LANGUAGE) "
                             "VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
        for (const Offering &o : m.offerings)
            course.run(courseId(o.id), m.course(o.course).code, subjectId(o.subject), termItem(o.semester),
                       courseTypeItem(o.form), languageItem(o.language));

        // People: students, teachers, and Neptun's own.
        Statement partner(db, "INSERT INTO T_PARTNER (ID, C_PRINTNAME) VALUES (?1, ?2)");
        Statement user(db, "INSERT INTO T_USER (ID, C_NEPTUNCODE) VALUES (?1, ?2)");
        Statement student(db, "INSERT INTO T_STUDENT (ID, C_OMSIDENTIFIER) VALUES (?1, ?2)");
        Statement employee(db, "INSERT INTO T_EMPLOYEE (ID) VALUES (?1)");
        Statement card(db, "INSERT INTO T_SCCARD (ID, C_STUDENTID, C_SERIALNUMBER, C_STATUS) VALUES (?1, ?2, ?3, ?4)");
        Statement studentTraining(db, "INSERT INTO T_STUDENTTRAINING (ID, C_STUDENTID, C_TRAININGID) VALUES (?1, ?2, ?3)");
        Statement termData(db, "INSERT INTO T_STUDENTTRAININGTERMDATA (ID, C_STUDENTTRAININGID, C_TERM, C_STATUS) "
                               "VALUES (?1, ?2, ?3, ?4)");
        int cardId = 0;
        const auto addStudent = [&](const Student &s, int faculty) {
            const int person = studentPerson(s.id);
            partner.run(person, s.id == m.renamedStudent ? m.renamedTo : s.name);
            user.run(person, s.code);
            student.run(person, s.educationId);
            if (s.id == 1) // an older, withdrawn card comes first: the import must not read it
                card.run(++cardId, person, QStringLiteral("1000000000"), CardWithdrawn);
            if (s.id == m.recardedStudent) // the old card withdrawn, a new one valid
                card.run(++cardId, person, s.card, CardWithdrawn);
            if (!s.card.isNull()) // every 7th card was handed over, not just printed
                card.run(++cardId, person, s.id == m.recardedStudent ? m.newCard : s.card,
                         s.id % 7 == 0 ? CardHandedOver : CardValid);
            studentTraining.run(person, person, training(faculty));
            for (const Semester &sem : m.semesters)
                termData.run(person * 10 + sem.id, person, termItem(sem.id), ActiveStatusItem);
        };
        for (const Student &s : m.students)
            addStudent(s, s.id <= 300 ? 1 : 2);
        for (const Student &s : m.neptunOnlyStudents)
            addStudent(s, 2);
        addStudent(m.quotedStudent, 1);

        for (const Teacher &t : m.teachers) {
            partner.run(teacherPerson(t.id), t.name);
            user.run(teacherPerson(t.id), t.code);
            employee.run(teacherPerson(t.id));
        }
        const Teacher &stranger = m.neptunOnlyTeacher;
        partner.run(teacherPerson(stranger.id), stranger.name);
        user.run(teacherPerson(stranger.id), stranger.code);
        employee.run(teacherPerson(stranger.id));

        // Registrations: an index line per student, subject and term, a course registration per enrolment.
        Statement indexLine(db, "INSERT INTO T_INDEXLINE (ID, C_SUBJECTID, C_STUDENTTRAININGTERMDATAID, C_SIGNOUTDATE) "
                                "VALUES (?1, ?2, ?3, ?4)");
        Statement courseStudent(db, "INSERT INTO T_COURSESTUDENT (ID, C_INDEXLINEID, C_COURSEID, C_SIGNOUTDATE) "
                                    "VALUES (?1, ?2, ?3, ?4)");
        QHash<QPair<int, int>, int> indexLines; // (person term data, subject) → index line
        QSet<QPair<int, int>> registered;       // (person, offering)
        int indexLineId = 1000000, courseStudentId = 2000000;
        const auto registration = [&](int person, const Offering &o, const QString &signOut = QString(),
                                      const QString &courseSignOut = QString()) {
            if (registered.contains({person, o.id}))
                return;
            registered.insert({person, o.id});
            const int termDataId = person * 10 + o.semester;
            int &line = indexLines[{termDataId, o.subject}];
            if (line == 0) {
                line = ++indexLineId;
                indexLine.run(line, subjectId(o.subject), termDataId, signOut);
            }
            courseStudent.run(++courseStudentId, line, courseId(o.id), courseSignOut);
        };
        for (const Enrolment &en : m.enrolments)
            if (en.offering)
                registration(studentPerson(en.student), m.offering(*en.offering));
        for (const Student &s : m.neptunOnlyStudents)
            registration(studentPerson(s.id), m.offering(m.neptunOnlyOffering));
        // Signed out: a whole subject of student 1, and one course registration of student 301.
        const QString signedOut = stamp(m.semesters[1].from.addDays(10), QTime(9, 30));
        registration(studentPerson(1), m.offering(m.entries[9].offerings.first()), signedOut);
        registration(studentPerson(301), m.offering(m.entries[13].offerings.first()), QString(), signedOut);

        // Teachers of the courses, from the assignments by offering.
        Statement tutor(db, "INSERT INTO T_CourseTutor (ID, C_COURSEID, C_EMPLOYEEID) VALUES (?1, ?2, ?3)");
        int tutorId = 0;
        for (const TeacherAssignment &a : m.teacherAssignments)
            if (a.offering)
                tutor.run(++tutorId, courseId(*a.offering), teacherPerson(a.teacher));
        tutor.run(++tutorId, courseId(m.neptunOnlyTeacherOffering), teacherPerson(stranger.id));

        // Class instances: the lesson dates of the entries, for every course linked to them.
        Statement instance(db, "INSERT INTO T_CLASSINSTANCE (ID, C_COURSEID, C_CORRECTFROMDATE, C_CORRECTTODATE) "
                               "VALUES (?1, ?2, ?3, ?4)");
        int instanceId = 0;
        for (const Entry &e : m.entries)
            for (int ft : e.offerings)
                for (const QDate &d : e.dates)
                    instance.run(++instanceId, courseId(ft), stamp(d, e.from), stamp(d, e.to));

        WriteImportCases(db, m, partner, user, employee, indexLine, courseStudent, tutor, instance, indexLineId,
                         courseStudentId, tutorId, instanceId);
    }
    Exec(db, "COMMIT");
}

} // namespace demo
