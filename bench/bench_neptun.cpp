// The Neptun import on a generated stand-in: 3,000 students, 20,000 course registrations over 300
// courses (100 subjects of three courses), one or two tutors per course, 14 class instances each.
// Into an empty register: the first import, a re-run (the existing-row checks find everything), and
// the timetable part. The statements of the first import, translated beforehand, are replayed through
// the raw SQLite C API on a copy of the starting database, each prepared for its one execution.

#include "Adatmodul.h"
#include "DemoData.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "NeptunImport.h"
#include "Schema.h"
#include "SqliteWriter.h"
#include "sql/Catalog.h"
#include "sql/SqliteExtensions.h"
#include "sql/Translator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <sqlite3.h>

namespace {

constexpr int Students = 3000, Registrations = 20000, Subjects = 100, CoursesPerSubject = 3, Teachers = 150;
constexpr int Instances = 14;
constexpr int Term = 1001, Organization = 101, Training = 201, ActiveStatus = 4001;

void exec(sqlite3 *db, const QString &sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK)
        qFatal("%s", err);
}

// A small deterministic generator (the same stand-in on every run).
struct Lcg {
    quint64 s = 0x4E455054554Eull;
    int below(int n)
    {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return int((s >> 33) % quint64(n));
    }
};

void writeNeptun(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    demo::Exec(db, "BEGIN");
    demo::CreateNeptunTables(db);
    Lcg rng;
    {
        demo::Statement dict(db, "INSERT INTO T_DictionaryItemBase (ID, C_Name) VALUES (?1, ?2)");
        dict.run(Term, QStringLiteral("2024/25/1"));
        dict.run(ActiveStatus, QString::fromUtf8("Aktív"));
        const QStringList forms{QString::fromUtf8("Elmélet"), QStringLiteral("Gyakorlat"), QStringLiteral("Labor")};
        for (int f = 0; f < 3; ++f)
            dict.run(2001 + f, forms[f]);
        dict.run(3001, QStringLiteral("magyar"));
        dict.run(3002, QStringLiteral("angol"));
        demo::Exec(db, "INSERT INTO T_ORGANIZATION VALUES (101, 'GEK', 'Kar'); INSERT INTO T_INTERIORORGANIZATION VALUES "
                       "(101, 'Kar'); INSERT INTO T_MODULE VALUES (201, 'GEPESZ-BSC', 'BSc'); INSERT INTO T_TRAINING VALUES "
                       "(201, 'BSc')");
        demo::Statement subject(db, "INSERT INTO T_SUBJECT (ID, C_CODE, C_NAME, C_INTERIORORGANIZATIONID) VALUES (?1, ?2, ?3, ?4)");
        demo::Statement course(db, "INSERT INTO T_COURSE (ID, C_CODE, C_SUBJECTID, C_TERM, C_COURSETYPE, C_LANGUAGE) "
                                   "VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
        const char *const codes[] = {"E01", "GY01", "L01"};
        for (int j = 0; j < Subjects; ++j) {
            subject.run(5000 + j, QStringLiteral("GKB%1%2A").arg(j, 3, 10, QChar(u'0')).arg(1 + j % 3),
                        QStringLiteral("Tárgy %1").arg(j), Organization);
            for (int c = 0; c < CoursesPerSubject; ++c)
                course.run(6000 + j * CoursesPerSubject + c, QString::fromLatin1(codes[c]), 5000 + j, Term, 2001 + c,
                           j % 10 == 9 ? 3002 : 3001);
        }
        demo::Statement partner(db, "INSERT INTO T_PARTNER (ID, C_PRINTNAME) VALUES (?1, ?2)");
        demo::Statement user(db, "INSERT INTO T_USER (ID, C_NEPTUNCODE) VALUES (?1, ?2)");
        demo::Statement student(db, "INSERT INTO T_STUDENT (ID, C_OMSIDENTIFIER) VALUES (?1, ?2)");
        demo::Statement card(db, "INSERT INTO T_SCCARD (ID, C_STUDENTID, C_SERIALNUMBER, C_STATUS) VALUES (?1, ?2, ?3, 56003)");
        demo::Statement training(db, "INSERT INTO T_STUDENTTRAINING (ID, C_STUDENTID, C_TRAININGID) VALUES (?1, ?1, 201)");
        demo::Statement termData(db, "INSERT INTO T_STUDENTTRAININGTERMDATA (ID, C_STUDENTTRAININGID, C_TERM, C_STATUS) "
                                     "VALUES (?1, ?1, 1001, 4001)");
        for (int s = 1; s <= Students; ++s) {
            const int person = 100000 + s;
            partner.run(person, QStringLiteral("Hallgató %1").arg(s));
            user.run(person, QStringLiteral("N%1").arg(s, 5, 10, QChar(u'0')));
            student.run(person, QStringLiteral("7%1").arg(s, 10, 10, QChar(u'0')));
            card.run(s, person, QStringLiteral("1%1").arg(s, 9, 10, QChar(u'0')));
            training.run(person);
            termData.run(person);
        }
        demo::Statement employee(db, "INSERT INTO T_EMPLOYEE (ID) VALUES (?1)");
        for (int t = 1; t <= Teachers; ++t) {
            partner.run(200000 + t, QStringLiteral("Dr. Oktató %1").arg(t));
            user.run(200000 + t, QStringLiteral("T%1").arg(t, 5, 10, QChar(u'0')));
            employee.run(200000 + t);
        }
        demo::Statement tutor(db, "INSERT INTO T_CourseTutor (ID, C_COURSEID, C_EMPLOYEEID) VALUES (?1, ?2, ?3)");
        demo::Statement instance(db, "INSERT INTO T_CLASSINSTANCE (ID, C_COURSEID, C_CORRECTFROMDATE, C_CORRECTTODATE) "
                                     "VALUES (?1, ?2, ?3, ?4)");
        int tutorId = 0, instanceId = 0;
        for (int c = 0; c < Subjects * CoursesPerSubject; ++c) {
            const int first = 1 + rng.below(Teachers);
            tutor.run(++tutorId, 6000 + c, 200000 + first);
            if (c % 2)
                tutor.run(++tutorId, 6000 + c, 200000 + 1 + (first % Teachers));
            const QDate day = QDate(2024, 9, 2).addDays(c % 5);
            const QTime at(8 + 2 * (c % 5), 0);
            for (int w = 0; w < Instances; ++w)
                instance.run(++instanceId, 6000 + c, QDateTime(day.addDays(7 * w), at).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                             QDateTime(day.addDays(7 * w), at.addSecs(5400)).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        }
        // Registrations: distinct (student, course) pairs, an index line per student and subject.
        demo::Statement line(db, "INSERT INTO T_INDEXLINE (ID, C_SUBJECTID, C_STUDENTTRAININGTERMDATAID, C_SIGNOUTDATE) "
                                 "VALUES (?1, ?2, ?3, NULL)");
        demo::Statement reg(db, "INSERT INTO T_COURSESTUDENT (ID, C_INDEXLINEID, C_COURSEID, C_SIGNOUTDATE) VALUES (?1, ?2, ?3, NULL)");
        QSet<qint64> pairs;
        QHash<qint64, int> lines;
        int lineId = 0, regId = 0;
        while (regId < Registrations) {
            const int s = 1 + rng.below(Students), c = rng.below(Subjects * CoursesPerSubject);
            if (pairs.contains(qint64(s) * 1000 + c))
                continue;
            pairs.insert(qint64(s) * 1000 + c);
            const int subjectRow = 5000 + c / CoursesPerSubject;
            int &l = lines[qint64(s) * 1000 + subjectRow - 5000];
            if (!l) {
                l = ++lineId;
                line.run(l, subjectRow, 100000 + s);
            }
            reg.run(++regId, l, 6000 + c);
        }
    }
    demo::Exec(db, "COMMIT");
    sqlite3_close(db);
}

class Silent final : public MessagePresenter {
    bool info(const QString &) override { return true; }
    bool confirm(const QString &) override { return true; }
};

struct Run {
    double ms = 0;
    qsizetype statements = 0;
    int rows = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    out.setRealNumberNotation(QTextStream::FixedNotation);
    out.setRealNumberPrecision(1);
    QTemporaryDir dir;
    const QString neptun = dir.filePath(QStringLiteral("NEPTUN.sqlite"));
    writeNeptun(neptun);
    QString error;
    sqlite3 *db = schema::CreateSqliteDatabase(dir.filePath(QStringLiteral("KOVRA.sqlite")), &error);
    if (!db)
        qFatal("%s", qPrintable(error));
    exec(db, QStringLiteral("INSERT INTO kar (kar_id, kar_kod, kar_nev) VALUES (1, 'GEK', 'Kar');"
                            "INSERT INTO felhasznalo (felh_id, felh_nev) VALUES (1, 'BENCH');"
                            "INSERT INTO felev (felev_id, felev_nev, felev_neptun, felev_datumtol, felev_datumig) VALUES "
                            "(1, 'ősz', '2024/25/1', '2024-09-01', '2025-01-31');"));
    exec(db, QStringLiteral("VACUUM INTO '") + dir.filePath(QStringLiteral("RAW.sqlite")) + QStringLiteral("'"));
    sqlite3_close(db);

    Silent silent;
    SetMessagePresenter(&silent);
    const QDateTime now(QDate(2024, 9, 1), QTime(22, 0));
    Tform_Adatmodul module;
    module.ADOConn.setClock([&] { return now; });
    module.ADOConn.setConnectionString(QStringLiteral("Initial Catalog=KOVRA;Data Source=sqlite:") + dir.path());
    module.ADOConn.setNeptunDatabase(neptun);
    module.ADOConn.open();
    LoginInfo.UserId = QStringLiteral("1");
    LoginInfo.RoleId = 1;
    QStringList sent;
    QObject::connect(&module.ADOConn, &Connection::statementSent, &app,
                     [&](const QString &, const QString &sql) { sent << sql; });

    NeptunImportRequest request;
    request.facultyId = QStringLiteral("1");
    request.facultyCode = QStringLiteral("GEK");
    request.semesterId = QStringLiteral("1");
    request.semesterNeptun = QStringLiteral("2024/25/1");
    qint64 longestStepNs = 0;
    const auto importRun = [&](bool timetable) {
        NeptunImport import(&module.ADOConn);
        QElapsedTimer step;
        import.progress = [&](int, int) {
            if (step.isValid())
                longestStepNs = std::max(longestStepNs, step.nsecsElapsed());
            step.restart();
        };
        const qsizetype before = sent.size();
        QElapsedTimer t;
        t.start();
        Run r;
        r.rows = import.query(request);
        import.setTimetable(timetable);
        if (import.run() != NeptunImportOutcome::Done)
            qFatal("the import did not finish");
        r.ms = t.nsecsElapsed() / 1e6;
        r.statements = sent.size() - before;
        return r;
    };
    const Run first = importRun(false);
    const QStringList firstStatements = sent;
    const qint64 firstLongest = longestStepNs;
    out << "first import: " << first.ms << " ms" << Qt::endl;
    const Run again = importRun(false);
    out << "re-run: " << again.ms << " ms" << Qt::endl;
    const Run timetable = importRun(true);
    out << "with the timetable part: " << timetable.ms << " ms" << Qt::endl;

    const auto count = [&](const char *table) {
        return module.ADOConn.query(QStringLiteral("bench"), QStringLiteral("select count(*) from ") + QString::fromLatin1(table))
            .rows.value(0)
            .value(0)
            .toLongLong();
    };

    // The first import's statements, translated beforehand, through the raw C API.
    sql::SqliteRuntime runtime;
    runtime.now = now;
    sqlite3 *raw = nullptr;
    sqlite3_open(dir.filePath(QStringLiteral("RAW.sqlite")).toUtf8().constData(), &raw);
    sql::RegisterSqliteExtensions(raw, &runtime);
    exec(raw, QStringLiteral("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;"));
    exec(raw, QStringLiteral("ATTACH DATABASE '") + neptun + QStringLiteral("' AS neptun"));
    sql::Catalog catalog = sql::Catalog::fromSqlite(raw);
    sql::Translator translator(&catalog);
    std::vector<std::shared_ptr<const sql::TranslatedBatch>> batches;
    for (const QString &s : firstStatements)
        batches.push_back(translator.translate(s));
    QVector<QByteArray> texts;
    for (const auto &batch : batches)
        for (const sql::TranslatedStatement &st : batch->statements)
            texts << st.sql.toUtf8();
    QElapsedTimer t;
    t.start();
    for (const QByteArray &s : std::as_const(texts)) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(raw, s.constData(), int(s.size()), &st, nullptr) != SQLITE_OK)
            qFatal("raw replay: %s", sqlite3_errmsg(raw));
        if (!st) // nothing to run (a comment or blanks)
            continue;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                sqlite3_column_text(st, c);
        if (rc != SQLITE_DONE)
            qFatal("raw replay: %s", sqlite3_errmsg(raw));
        sqlite3_finalize(st);
    }
    const double rawMs = t.nsecsElapsed() / 1e6;
    sqlite3_close(raw);

    out << "stand-in: " << Students << " students, " << first.rows << " registrations, " << Subjects * CoursesPerSubject
        << " courses\n"
        << "first import: " << first.ms << " ms, " << first.statements << " statements sent; longest step between two "
        << "progress reports " << qSetRealNumberPrecision(2) << firstLongest / 1e6 << qSetRealNumberPrecision(1) << " ms\n"
        << "re-run: " << again.ms << " ms, " << again.statements << " statements sent\n"
        << "timetable part (with a third run of the rows): " << timetable.ms << " ms, " << timetable.statements
        << " statements sent\n"
        << "register: " << count("hallgato") << " students, " << count("felvett_tantargy") << " offerings, " << count("tan_hall")
        << " enrolments, " << count("oktato") << " teachers, " << count("tan_okt") << " assignments, " << count("orarend")
        << " timetable entries, " << count("orarend_datum") << " lesson dates\n"
        << "raw SQLite, the first import's statements as texts, each prepared for its execution: " << rawMs
        << " ms; ratio import/raw " << qSetRealNumberPrecision(2) << first.ms / rawMs << '\n';
    return 0;
}
