// kovra-demo: the files it creates, its refusal to overwrite, determinism, and the data itself:
// logins, foreign keys, the semesters around today, and the Neptun stand-in answering the import's
// statements with the demo database's registrations.

#include "Crc32.h"
#include "IniFile.h"
#include "IniValue.h"
#include "SqliteTestUtil.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

using testutil::Db;

namespace {

constexpr char FixedDay[] = "2024-11-13"; // a Wednesday of the autumn semester 2024/25

struct Run {
    int code = -1;
    QString out, err;
};

Run runDemo(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(KOVRA_DEMO_TOOL), args);
    Run r;
    if (!p.waitForFinished(120000))
        return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Every row of the given tables (all tables when empty), in storage order, as text.
QStringList dump(const QString &path, QStringList tables = {})
{
    Db db(path);
    if (tables.isEmpty())
        tables = db.column(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
    QStringList out;
    for (const QString &t : tables) {
        for (const QVariantList &row : db.rows(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(t))) {
            QStringList cells;
            for (const QVariant &v : row)
                cells << (v.isNull() ? QStringLiteral("<null>") : v.toString());
            out << t + u':' + cells.join(u'|');
        }
    }
    return out;
}

// The Neptun import's statements, in the stand-in's dialect: to_date(to_char(x, f), f) IS NULL is
// x IS NULL, ROWNUM=1 in a scalar subquery is LIMIT 1. Everything else as the import writes it.
QString dictionaryName(const QString &column)
{
    return QStringLiteral("(SELECT dib.C_Name FROM T_DictionaryItemBase dib WHERE dib.ID = %1)").arg(column);
}

QString rowStatement(const QString &faculty, const QString &term)
{
    return QStringLiteral(
               "SELECT t100.C_CODE AS \"Tárgykód\", t100.C_NAME AS \"Tárgynév\", t151.C_NEPTUNCODE AS NEPTUN_KOD, "
               "t150.C_PRINTNAME AS \"Hallgató\", t152.C_OMSIDENTIFIER AS \"Oktatási azonosító\", "
               "(Select x.C_SERIALNUMBER From T_SCCARD x Where x.C_STUDENTID=t152.ID AND x.C_STATUS in (56003,56012) LIMIT 1) AS \"Diák\", "
               "t130.C_CODE AS \"Modulkód\", %1 AS \"Félév\", %2 AS \"Státusz\", t170.C_CODE AS \"Kurzuskód\", "
               "%3 AS \"KurzusTípus\", t170.ID AS \"KurzusID\", %4 AS \"Nyelv\" "
               "FROM T_INDEXLINE t120, T_SUBJECT t100, T_ORGANIZATION t140, T_INTERIORORGANIZATION t141, "
               "T_STUDENTTRAININGTERMDATA t110, T_STUDENTTRAINING t160, T_PARTNER t150, T_USER t151, T_STUDENT t152, "
               "T_MODULE t130, T_TRAINING t131, T_COURSESTUDENT t180, T_COURSE t170 "
               "WHERE t100.C_INTERIORORGANIZATIONID = t141.ID AND t110.C_STUDENTTRAININGID = t160.ID "
               "AND t120.C_SUBJECTID = t100.ID AND t120.C_STUDENTTRAININGTERMDATAID = t110.ID AND t120.ID = t180.C_INDEXLINEID "
               "AND t130.ID=t131.ID AND t140.ID=t141.ID AND t150.ID=t151.ID AND t151.ID=t152.ID AND t160.C_STUDENTID = t152.ID "
               "AND t160.C_TRAININGID = t131.ID AND t180.C_COURSEID = t170.ID AND (t120.C_SIGNOUTDATE IS NULL) "
               "AND (t140.C_CODE = '%5') AND (t180.C_SIGNOUTDATE IS NULL) AND %1 = '%6' "
               "ORDER BY \"Modulkód\", \"Tárgykód\", \"Kurzuskód\", NEPTUN_KOD")
        .arg(dictionaryName(QStringLiteral("t110.C_TERM")), dictionaryName(QStringLiteral("t110.C_STATUS")),
             dictionaryName(QStringLiteral("t170.C_COURSETYPE")), dictionaryName(QStringLiteral("t170.C_LANGUAGE")), faculty,
             term);
}

QString teachersStatement(const QString &courseId)
{
    return QStringLiteral("SELECT t271.C_NEPTUNCODE, t270.C_PRINTNAME FROM T_CourseTutor t28, T_PARTNER t270, T_USER t271, "
                          "T_EMPLOYEE t272 WHERE t28.C_COURSEID=%1 AND t28.C_EMPLOYEEID=t272.ID AND t270.ID=t271.ID "
                          "AND t271.ID=t272.ID")
        .arg(courseId);
}

QString classInstancesStatement(const QString &term, const QString &subject, const QString &course)
{
    return QStringLiteral("SELECT t110.C_CODE AS kurzus, t100.C_CORRECTFROMDATE AS datumtol, t100.C_CORRECTTODATE AS datumig, "
                          "%1 AS Kurzustipus FROM T_CLASSINSTANCE t100, T_COURSE t110, T_SUBJECT t120 "
                          "WHERE t100.C_COURSEID = t110.ID AND t110.C_SUBJECTID = t120.ID AND %2 = '%3' "
                          "AND (t120.C_CODE = '%4') AND (t110.C_CODE = '%5')")
        .arg(dictionaryName(QStringLiteral("t110.C_COURSETYPE")), dictionaryName(QStringLiteral("t110.C_TERM")), term,
             subject, course);
}

} // namespace

class TestDemo : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_tmp;
    QString m_fixed, m_fixedAgain, m_today;

    QString dir(const QString &name) { return m_tmp.filePath(name); }
    static QString file(const QString &folder, const char *name) { return folder + u'/' + QString::fromLatin1(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        m_fixed = dir(QStringLiteral("fixed"));
        m_fixedAgain = dir(QStringLiteral("fixed-again"));
        m_today = dir(QStringLiteral("today"));
        for (const QString &d : {m_fixed, m_fixedAgain}) {
            const Run r = runDemo({d, QStringLiteral("--today"), QString::fromLatin1(FixedDay)});
            QVERIFY2(r.code == 0, qPrintable(r.err));
        }
        const Run r = runDemo({m_today});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(r.out.contains(QStringLiteral("kovra --ini")));
    }

    void createsTheFilesAndIni()
    {
        for (const char *name : {"KOVRA.sqlite", "KOVRA_teszt.sqlite", "NEPTUN.sqlite", "kovra.ini"})
            QVERIFY2(QFile::exists(file(m_fixed, name)), name);
        IniFile ini(file(m_fixed, "kovra.ini"));
        const QString run = QStringLiteral("Futtatas");
        QCOMPARE(DecodeIniValue(ini.ReadString(run, QStringLiteral("Adatbazis neve"))), QStringLiteral("KOVRA"));
        QCOMPARE(DecodeIniValue(ini.ReadString(run, QStringLiteral("A_ELERES"))),
                 QStringLiteral("sqlite:") + QDir(m_fixed).absolutePath());
        QVERIFY(!DecodeIniValue(ini.ReadString(run, QStringLiteral("AU"))).isEmpty());
        QVERIFY(!ini.ReadString(run, QStringLiteral("AP")).isEmpty());
        // The values are scrambled, not plain.
        QVERIFY(!ini.ReadString(run, QStringLiteral("A_ELERES")).contains(QStringLiteral("sqlite")));
        const QString neptun = ini.ReadString(QStringLiteral("Neptun"), QStringLiteral("Adatbazis"));
        QCOMPARE(neptun, QDir(m_fixed).absoluteFilePath(QStringLiteral("NEPTUN.sqlite")));
        QCOMPARE(ini.ReadString(QStringLiteral("Hibakezeles"), QStringLiteral("BETU")), QStringLiteral("12"));
        // The test database is a second catalog with the same content.
        QCOMPARE(dump(file(m_fixed, "KOVRA_teszt.sqlite")), dump(file(m_fixed, "KOVRA.sqlite")));
    }

    void refusesToOverwriteWithoutForce()
    {
        const QString kovra = file(m_today, "KOVRA.sqlite");
        const QByteArray before = fileHash(kovra);
        const Run refused = runDemo({m_today});
        QCOMPARE(refused.code, 1);
        QVERIFY2(refused.err.contains(QStringLiteral("--force")) && refused.err.contains(QStringLiteral("KOVRA.sqlite")),
                 qPrintable(refused.err));
        QCOMPARE(fileHash(kovra), before);

        // Any one of the files is enough to refuse; nothing else is written then.
        const QString partial = dir(QStringLiteral("partial"));
        QVERIFY(QDir().mkpath(partial));
        QFile ini(file(partial, "kovra.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Futtatas]\n");
        ini.close();
        QCOMPARE(runDemo({partial}).code, 1);
        QVERIFY(!QFile::exists(file(partial, "KOVRA.sqlite")));
        QCOMPARE(fileHash(file(partial, "kovra.ini")), QCryptographicHash::hash("[Futtatas]\n", QCryptographicHash::Sha256));

        const Run forced = runDemo({partial, QStringLiteral("--force")});
        QVERIFY2(forced.code == 0, qPrintable(forced.err));
        QVERIFY(QFile::exists(file(partial, "KOVRA.sqlite")));
        QVERIFY(IniFile(file(partial, "kovra.ini")).ReadString(QStringLiteral("Futtatas"), QStringLiteral("A_ELERES")).size() > 10);

        QCOMPARE(runDemo({}).code, 2);
        QCOMPARE(runDemo({partial, QStringLiteral("--today"), QStringLiteral("2024-13-01"), QStringLiteral("--force")}).code, 2);
    }

    void isDeterministic()
    {
        for (const char *name : {"KOVRA.sqlite", "NEPTUN.sqlite"}) {
            const QStringList a = dump(file(m_fixed, name)), b = dump(file(m_fixedAgain, name));
            QVERIFY(a.size() > 1000);
            QCOMPARE(a, b);
        }
        // Another day changes the dates, not the people, subjects, timetable or enrolments.
        const QStringList dayIndependent = {
            QStringLiteral("kar"), QStringLiteral("hallgato"), QStringLiteral("felhasznalo"), QStringLiteral("oktato"),
            QStringLiteral("tantargy"), QStringLiteral("kurzus"), QStringLiteral("felvett_tantargy"), QStringLiteral("orarend"),
            QStringLiteral("orarend_csoport"), QStringLiteral("tan_hall"), QStringLiteral("tan_okt")};
        QCOMPARE(dump(file(m_today, "KOVRA.sqlite"), dayIndependent), dump(file(m_fixed, "KOVRA.sqlite"), dayIndependent));
    }

    void demoUsersLogIn_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("role");
        // As listed in README.
        QTest::newRow("administrator") << "admin" << "admin" << 1;
        QTest::newRow("study office") << "Tanulmanyi" << "tanulmanyi" << 2;
        QTest::newRow("teacher") << "oktato" << "oktato" << 3;
        QTest::newRow("cards") << "KARTYA" << "kartya" << 4;
    }

    void demoUsersLogIn()
    {
        QFETCH(QString, typed);
        QFETCH(QString, password);
        QFETCH(int, role);
        Db db(file(m_fixed, "KOVRA.sqlite"));
        // The login dialog's statement: upper-cased name, hash as quoted decimal text.
        const QString login = QStringLiteral(
            "Select a.felh_id, a.felh_nev, a.felh_email, (Select x.oktato_id From Oktato x Where x.felh_id=a.felh_id) as okt, "
            "a.kar_id, a.szerep_id From felhasznalo a Where a.felh_nev='%1' and a.felh_jelszo = '%2' ");
        const auto rows = db.rows(login.arg(typed.toUpper()).arg(PasswordHash(password)));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][5].toInt(), role);
        QVERIFY(!rows[0][4].isNull());
        QCOMPARE(rows[0][3].isNull(), role != 3); // the teacher account belongs to a teacher
        QVERIFY(db.rows(login.arg(typed.toUpper()).arg(PasswordHash(password + u'x'))).isEmpty());
    }

    void accountsAreWellFormed()
    {
        Db db(file(m_fixed, "KOVRA.sqlite"));
        const QStringList names = db.column(QStringLiteral("SELECT felh_nev FROM felhasznalo"));
        QVERIFY(names.size() >= 5);
        for (const QString &n : names)
            QVERIFY2(n.size() <= 20 && n == n.toUpper(), qPrintable(n));
        // Every teacher has an account; teacher accounts other than OKTATO cannot log in yet.
        QCOMPARE(db.value(QStringLiteral("SELECT count(*) FROM oktato WHERE felh_id IS NULL")).toInt(), 0);
        QCOMPARE(db.value(QStringLiteral("SELECT count(*) FROM felhasznalo WHERE felh_aktiv = 0")).toInt(), 1);
    }

    void foreignKeysHold_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("fixed day") << m_fixed;
        QTest::newRow("today") << m_today;
    }

    void foreignKeysHold()
    {
        QFETCH(QString, folder);
        Db db(file(folder, "KOVRA.sqlite"));
        QVERIFY(db.isOpen());
        const auto violations = db.rows(QStringLiteral("PRAGMA foreign_key_check"));
        QVERIFY2(violations.isEmpty(), qPrintable(violations.value(0).value(0).toString()));
        QVERIFY(db.lastError().isEmpty());
        QCOMPARE(db.value(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    }

    void currentSemesterContainsToday()
    {
        Db db(file(m_today, "KOVRA.sqlite"));
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        // FindCurrentSemester: the semester whose range holds the date, which is also the latest one.
        const QStringList found = db.column(
            QStringLiteral("SELECT felev_id FROM felev WHERE ?1 >= felev_datumtol AND ?1 <= felev_datumig"), {today});
        QCOMPARE(found, db.column(QStringLiteral("SELECT felev_id FROM felev ORDER BY felev_datumtol DESC LIMIT 1")));
        QCOMPARE(db.value(QStringLiteral("SELECT count(*) FROM jelenlet WHERE jelenlet_datum >= ?1"), {today}).toInt(), 0);
    }

    void semestersAroundTheYear_data()
    {
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("currentFrom");
        QTest::addColumn<QString>("previousFrom");
        QTest::newRow("last day of autumn") << "2024-01-31" << "2023-09-01" << "2023-02-01";
        QTest::newRow("first day of spring") << "2024-02-01" << "2024-02-01" << "2023-09-01";
        QTest::newRow("leap day") << "2024-02-29" << "2024-02-01" << "2023-09-01";
        QTest::newRow("last day of spring") << "2024-08-31" << "2024-02-01" << "2023-09-01";
        QTest::newRow("first day of autumn") << "2024-09-01" << "2024-09-01" << "2024-02-01";
        QTest::newRow("December") << "2024-12-31" << "2024-09-01" << "2024-02-01";
    }

    void semestersAroundTheYear()
    {
        QFETCH(QString, day);
        QFETCH(QString, currentFrom);
        QFETCH(QString, previousFrom);
        const QString folder = dir(QStringLiteral("day-") + day);
        const Run r = runDemo({folder, QStringLiteral("--today"), day});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        Db db(file(folder, "KOVRA.sqlite"));
        const auto semesters = db.rows(QStringLiteral(
            "SELECT felev_datumtol, felev_datumig, felev_neptun FROM felev ORDER BY felev_datumtol"));
        QCOMPARE(semesters.size(), 2);
        QCOMPARE(semesters[0][0].toString(), previousFrom);
        QCOMPARE(semesters[1][0].toString(), currentFrom);
        QVERIFY(semesters[1][0].toString() <= day && day <= semesters[1][1].toString());
        // Adjacent: the previous one ends the day before the current one starts.
        QCOMPARE(QDate::fromString(semesters[0][1].toString(), Qt::ISODate).addDays(1),
                 QDate::fromString(semesters[1][0].toString(), Qt::ISODate));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}/\\d{2}/[12]$")).match(semesters[1][2].toString()).hasMatch());
        // Only what happened before the day is recorded.
        QCOMPARE(db.value(QStringLiteral("SELECT count(*) FROM jelenlet WHERE jelenlet_datum >= ?1"), {day}).toInt(), 0);
        QCOMPARE(db.value(QStringLiteral("SELECT count(*) FROM Jelentes WHERE jel_datum >= ?1"), {day}).toInt(), 0);
        QVERIFY(db.value(QStringLiteral("SELECT count(*) FROM jelenlet")).toInt() > 1000);
    }

    void dataShape()
    {
        Db db(file(m_fixed, "KOVRA.sqlite"));
        const auto count = [&](const char *sql, const QVariantList &params = {}) {
            return db.value(QString::fromUtf8(sql), params).toInt();
        };
        QCOMPARE(count("SELECT count(*) FROM kar"), 2);
        QCOMPARE(count("SELECT count(*) FROM felev"), 2);
        QCOMPARE(count("SELECT count(*) FROM tantargy"), 20);
        QCOMPARE(count("SELECT count(*) FROM orarend"), 25);
        QVERIFY(count("SELECT count(*) FROM hallgato") >= 450);

        // Student codes: six upper-case letters or digits, unique; card numbers unique; accented names.
        const QStringList codes = db.column(QStringLiteral("SELECT hallgato_kod FROM hallgato"));
        QCOMPARE(QSet<QString>(codes.begin(), codes.end()).size(), codes.size());
        for (const QString &c : codes)
            QVERIFY2(QRegularExpression(QStringLiteral("^[A-Z0-9]{6}$")).match(c).hasMatch(), qPrintable(c));
        QCOMPARE(count("SELECT count(DISTINCT hallgato_diak) FROM hallgato"),
                 count("SELECT count(hallgato_diak) FROM hallgato"));
        QVERIFY(count("SELECT count(*) FROM hallgato WHERE hallgato_diak IS NULL") > 0);
        QVERIFY(count("SELECT count(*) FROM hallgato WHERE hallgato_oa GLOB '7[0-9]*' AND length(hallgato_oa) = 11") > 400);
        int accented = 0;
        for (const QString &n : db.column(QStringLiteral("SELECT hallgato_nev FROM hallgato")))
            accented += std::any_of(n.begin(), n.end(), [](QChar c) { return c.unicode() > 127; });
        QVERIFY(accented > 100);

        // Timetable: weekly and dated entries, make-up allowances, at most 14 lesson dates inside the semester.
        QVERIFY(count("SELECT count(*) FROM orarend WHERE orarend_heti = 1") >= 5);
        QVERIFY(count("SELECT count(*) FROM orarend WHERE orarend_heti = 0") >= 10);
        QVERIFY(count("SELECT count(*) FROM orarend WHERE orarend_potlas > 0") >= 15);
        QVERIFY(count("SELECT count(*) FROM orarend WHERE orarend_potlas IS NULL OR orarend_potlas = 0") >= 2);
        QCOMPARE(count("SELECT count(*) FROM orarend o WHERE orarend_heti = 0 AND NOT EXISTS "
                       "(SELECT 1 FROM orarend_datum d WHERE d.orarend_id = o.orarend_id)"), 0);
        QCOMPARE(count("SELECT max(n) FROM (SELECT count(*) n FROM orarend_datum GROUP BY orarend_id)"), 14);
        QCOMPARE(count("SELECT count(*) FROM orarend_datum d JOIN orarend o ON o.orarend_id = d.orarend_id "
                       "JOIN felev f ON f.felev_id = o.felev_id WHERE d.od_datum NOT BETWEEN f.felev_datumtol AND f.felev_datumig"), 0);
        QCOMPARE(count("SELECT count(*) FROM orarend o WHERE NOT EXISTS (SELECT 1 FROM tan_okt t WHERE t.orarend_id = o.orarend_id)"), 0);
        QCOMPARE(count("SELECT count(*) FROM orarend o WHERE NOT EXISTS (SELECT 1 FROM orarend_csoport c WHERE c.orarend_id = o.orarend_id)"), 0);
        QVERIFY(count("SELECT max(n) FROM (SELECT count(*) n FROM tan_hall GROUP BY orarend_id)") >= 400);

        // Enrolments: some students in two groups of one offering, some unplaced, some placed directly.
        QVERIFY(count("SELECT count(*) FROM (SELECT 1 FROM tan_hall WHERE ft_id IS NOT NULL AND orarend_id IS NOT NULL "
                      "GROUP BY hallgato_id, ft_id HAVING count(DISTINCT orarend_id) > 1)") >= 5);
        QVERIFY(count("SELECT count(*) FROM tan_hall WHERE orarend_id IS NULL") > 0);
        QVERIFY(count("SELECT count(*) FROM tan_hall WHERE ft_id IS NULL") > 0);

        // Attendance: all three types, only before the day, only for members, at most one entry per student,
        // timetable entry and week (weeks from Sunday, as the capture counts them), make-ups within the allowance.
        QCOMPARE(db.column(QStringLiteral("SELECT DISTINCT jt_id FROM jelenlet ORDER BY jt_id")),
                 QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
        QCOMPARE(count("SELECT count(*) FROM jelenlet WHERE jelenlet_datum >= ?1", {QString::fromLatin1(FixedDay)}), 0);
        QCOMPARE(count("SELECT count(*) FROM jelenlet j WHERE NOT EXISTS (SELECT 1 FROM tan_hall t "
                       "WHERE t.hallgato_id = j.hallgato_id AND t.orarend_id = j.orarend_id)"), 0);
        QCOMPARE(count("SELECT count(*) FROM (SELECT 1 FROM jelenlet GROUP BY hallgato_id, orarend_id, "
                       "CAST((julianday(jelenlet_datum) + 1.5) / 7 AS INTEGER) HAVING count(*) > 1)"), 0);
        QCOMPARE(count("SELECT count(*) FROM (SELECT j.hallgato_id, o.orarend_potlas p, count(*) n FROM jelenlet j "
                       "JOIN orarend o ON o.orarend_id = j.orarend_id WHERE j.jt_id = 3 GROUP BY j.hallgato_id, j.orarend_id) "
                       "WHERE p IS NULL OR n > p"), 0);
        // The previous semester has its attendance, the current one up to the day.
        QCOMPARE(count("SELECT count(DISTINCT o.felev_id) FROM jelenlet j JOIN orarend o ON o.orarend_id = j.orarend_id"), 2);

        // Journal rows of both faculties' captures, error reports in each state, card issues.
        QCOMPARE(count("SELECT count(DISTINCT kar_id) FROM Jelentes WHERE jel_szoveg LIKE 'Jelenlét rögzítés kezdete!%'"), 2);
        QVERIFY(count("SELECT count(*) FROM Jelentes WHERE jel_szoveg LIKE 'Jelenlét rögzítés vége!%'") > 0);
        QCOMPARE(db.column(QStringLiteral("SELECT coalesce(hn_allapot, 'NULL') FROM hibanaplo ORDER BY hn_id")),
                 QStringList({QStringLiteral("NULL"), QStringLiteral("1"), QStringLiteral("2")}));
        QVERIFY(count("SELECT count(DISTINCT hallgato_id) FROM kartya") > 100);
    }

    void neptunTablesHaveTheColumnsTheImportReads_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("columns");
        const auto row = [](const char *table, std::initializer_list<const char *> cols) {
            QStringList list;
            for (const char *c : cols)
                list << QString::fromLatin1(c);
            QTest::newRow(table) << QString::fromLatin1(table) << list;
        };
        row("T_INDEXLINE", {"ID", "C_SUBJECTID", "C_STUDENTTRAININGTERMDATAID", "C_SIGNOUTDATE"});
        row("T_SUBJECT", {"ID", "C_CODE", "C_NAME", "C_INTERIORORGANIZATIONID"});
        row("T_ORGANIZATION", {"ID", "C_CODE"});
        row("T_INTERIORORGANIZATION", {"ID"});
        row("T_STUDENTTRAININGTERMDATA", {"ID", "C_STUDENTTRAININGID", "C_TERM", "C_STATUS"});
        row("T_STUDENTTRAINING", {"ID", "C_STUDENTID", "C_TRAININGID"});
        row("T_PARTNER", {"ID", "C_PRINTNAME"});
        row("T_USER", {"ID", "C_NEPTUNCODE"});
        row("T_STUDENT", {"ID", "C_OMSIDENTIFIER"});
        row("T_MODULE", {"ID", "C_CODE"});
        row("T_TRAINING", {"ID"});
        row("T_COURSESTUDENT", {"C_INDEXLINEID", "C_COURSEID", "C_SIGNOUTDATE"});
        row("T_COURSE", {"ID", "C_CODE", "C_COURSETYPE", "C_LANGUAGE", "C_SUBJECTID", "C_TERM"});
        row("T_SCCARD", {"C_SERIALNUMBER", "C_STUDENTID", "C_STATUS"});
        row("T_DictionaryItemBase", {"ID", "C_Name"});
        row("T_CourseTutor", {"C_COURSEID", "C_EMPLOYEEID"});
        row("T_EMPLOYEE", {"ID"});
        row("T_CLASSINSTANCE", {"C_COURSEID", "C_CORRECTFROMDATE", "C_CORRECTTODATE"});
    }

    void neptunTablesHaveTheColumnsTheImportReads()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, columns);
        Db db(file(m_fixed, "NEPTUN.sqlite"));
        QCOMPARE(db.column(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?1"), {table}),
                 QStringList{table});
        const QStringList actual = db.column(QStringLiteral("SELECT name FROM pragma_table_info(?1)"), {table});
        for (const QString &c : columns)
            QVERIFY2(actual.contains(c), qPrintable(table + u'.' + c));
    }

    void neptunRegistrationsAreTheEnrolments_data()
    {
        QTest::addColumn<QString>("faculty");
        QTest::addColumn<int>("neptunOnly");
        QTest::newRow("GEK") << "GEK" << 0;
        QTest::newRow("IK") << "IK" << 5;
    }

    void neptunRegistrationsAreTheEnrolments()
    {
        QFETCH(QString, faculty);
        QFETCH(int, neptunOnly);
        Db kovra(file(m_fixed, "KOVRA.sqlite"));
        Db neptun(file(m_fixed, "NEPTUN.sqlite"));
        const QString term = kovra.value(QStringLiteral("SELECT felev_neptun FROM felev ORDER BY felev_datumtol DESC LIMIT 1")).toString();

        const auto rows = neptun.rows(rowStatement(faculty, term));
        QVERIFY2(neptun.lastError().isEmpty(), qPrintable(neptun.lastError()));
        QSet<QString> found, strangers;
        for (const QVariantList &r : rows) {
            // Tárgykód, NEPTUN_KOD, Kurzuskód, KurzusTípus, Nyelv
            const QString key = QStringList{r[2].toString(), r[0].toString(), r[9].toString(), r[10].toString(),
                                            r[12].toString()}.join(u'|');
            QVERIFY2(!found.contains(key), qPrintable(key));
            found.insert(key);
            const auto student = kovra.rows(QStringLiteral("SELECT hallgato_nev, hallgato_oa, hallgato_diak FROM hallgato "
                                                           "WHERE hallgato_kod = ?1"), {r[2]});
            if (student.isEmpty()) {
                strangers.insert(r[2].toString());
                continue;
            }
            QCOMPARE(r[3].toString(), student[0][0].toString());
            QCOMPARE(r[4].toString(), student[0][1].toString());
            QCOMPARE(r[5], student[0][2]); // a valid card, not the withdrawn one
            QCOMPARE(r[7].toString(), term);
        }
        const auto expectedRows = kovra.rows(QStringLiteral(
            "SELECT DISTINCT h.hallgato_kod, t.tantargy_kod, k.kurzus_kod, f.tof_nev, n.nyelv_nev "
            "FROM tan_hall th JOIN hallgato h ON h.hallgato_id = th.hallgato_id "
            "JOIN felvett_tantargy ft ON ft.ft_id = th.ft_id JOIN tantargy t ON t.tantargy_id = ft.tantargy_id "
            "JOIN kurzus k ON k.kurzus_id = ft.kurzus_id JOIN tanora_forma f ON f.tof_id = ft.tof_id "
            "JOIN nyelv n ON n.nyelv_id = ft.nyelv_id JOIN kar ON kar.kar_id = ft.kar_id "
            "WHERE kar.kar_kod = ?1 AND ft.felev_id = (SELECT felev_id FROM felev WHERE felev_neptun = ?2)"),
                                                 {faculty, term});
        QVERIFY(expectedRows.size() > 300);
        QSet<QString> expected;
        for (const QVariantList &r : expectedRows)
            expected.insert(QStringList{r[0].toString(), r[1].toString(), r[2].toString(), r[3].toString(),
                                        r[4].toString()}.join(u'|'));
        QSet<QString> missing = expected;
        missing.subtract(found);
        QVERIFY2(missing.isEmpty(), qPrintable(QStringList(missing.values()).join(u'\n')));
        QCOMPARE(found.size() - expected.size(), qsizetype(neptunOnly));
        QCOMPARE(strangers.size(), qsizetype(neptunOnly));
    }

    void neptunTeachersAndClassInstances()
    {
        Db kovra(file(m_fixed, "KOVRA.sqlite"));
        Db neptun(file(m_fixed, "NEPTUN.sqlite"));
        const QString term = kovra.value(QStringLiteral("SELECT felev_neptun FROM felev ORDER BY felev_datumtol DESC LIMIT 1")).toString();
        QSet<QString> unknownTeachers;
        int courses = 0, withInstances = 0;
        for (const QString &faculty : {QStringLiteral("GEK"), QStringLiteral("IK")}) {
            QHash<QString, QString> courseIds; // subject code|course code → KurzusID
            for (const QVariantList &r : neptun.rows(rowStatement(faculty, term)))
                courseIds.insert(r[0].toString() + u'|' + r[9].toString(), r[11].toString());
            for (auto it = courseIds.cbegin(); it != courseIds.cend(); ++it) {
                ++courses;
                const QString subject = it.key().section(u'|', 0, 0), course = it.key().section(u'|', 1, 1);
                const QString offering = QStringLiteral(
                    "SELECT ft.ft_id FROM felvett_tantargy ft JOIN tantargy t ON t.tantargy_id = ft.tantargy_id "
                    "JOIN kurzus k ON k.kurzus_id = ft.kurzus_id JOIN felev f ON f.felev_id = ft.felev_id "
                    "WHERE t.tantargy_kod = ?1 AND k.kurzus_kod = ?2 AND f.felev_neptun = ?3");
                // Teachers: every teacher KOVRA has for the offering, plus Neptun's own.
                QStringList known = kovra.column(QStringLiteral("SELECT o.oktato_kod FROM tan_okt a JOIN oktato o ON "
                                                                "o.oktato_id = a.oktato_id WHERE a.ft_id IN (%1)").arg(offering),
                                                 {subject, course, term});
                QStringList tutors = neptun.column(teachersStatement(it.value()));
                known.sort();
                for (const QString &code : tutors)
                    if (!known.contains(code))
                        unknownTeachers.insert(code);
                for (const QString &code : known)
                    QVERIFY2(tutors.contains(code), qPrintable(it.key() + u' ' + code));
                // Class instances: the lesson dates of the entries the offering is linked to.
                QStringList dates = kovra.column(QStringLiteral("SELECT d.od_datum FROM orarend_datum d JOIN orarend_csoport c "
                                                                "ON c.orarend_id = d.orarend_id WHERE c.ft_id IN (%1)").arg(offering),
                                                 {subject, course, term});
                QStringList instances;
                for (const QVariantList &r : neptun.rows(classInstancesStatement(term, subject, course))) {
                    instances << r[1].toString().left(10);
                    QCOMPARE(r[1].toString().left(10), r[2].toString().left(10));
                    QVERIFY(r[1].toString() < r[2].toString());
                }
                dates.sort();
                instances.sort();
                QCOMPARE(instances, dates);
                withInstances += !instances.isEmpty();
            }
        }
        QVERIFY(courses >= 15);
        QVERIFY(withInstances >= 10);
        QCOMPARE(unknownTeachers.size(), qsizetype(1));
        Db check(file(m_fixed, "KOVRA.sqlite"));
        QCOMPARE(check.value(QStringLiteral("SELECT count(*) FROM oktato WHERE oktato_kod = ?1"), {*unknownTeachers.begin()}).toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDemo)
#include "test_demo.moc"
