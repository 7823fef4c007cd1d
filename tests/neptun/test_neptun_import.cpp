// The Neptun import on the demo's Neptun stand-in: what a first import writes, what a re-run adds,
// the stand-in's hard cases (quotes, a renamed student, a new card, long course codes, a missing
// language or lesson form, a tutor without Neptun code, sign-outs), the timetable part, and the
// faults a run must survive.

#include "NeptunFixture.h"
#include "NeptunImport.h"
#include "ScriptedMessages.h"

#include <QRegularExpression>
#include <QSet>

using namespace neptuntest;

namespace {

// The registrations the stand-in holds for a faculty and term, read straight from its tables:
// student code | subject code | course code | lesson form | language | course id.
QStringList neptunRegistrations(const QString &neptunFile, const QString &faculty, const QString &term)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(neptunFile.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT u.C_NEPTUNCODE, s.C_CODE, c.C_CODE, "
                       "(SELECT C_Name FROM T_DictionaryItemBase WHERE ID = c.C_COURSETYPE), "
                       "(SELECT C_Name FROM T_DictionaryItemBase WHERE ID = c.C_LANGUAGE), c.ID "
                       "FROM T_COURSESTUDENT cs JOIN T_INDEXLINE il ON il.ID = cs.C_INDEXLINEID "
                       "JOIN T_SUBJECT s ON s.ID = il.C_SUBJECTID JOIN T_ORGANIZATION o ON o.ID = s.C_INTERIORORGANIZATIONID "
                       "JOIN T_STUDENTTRAININGTERMDATA td ON td.ID = il.C_STUDENTTRAININGTERMDATAID "
                       "JOIN T_STUDENTTRAINING st ON st.ID = td.C_STUDENTTRAININGID JOIN T_USER u ON u.ID = st.C_STUDENTID "
                       "JOIN T_COURSE c ON c.ID = cs.C_COURSEID "
                       "WHERE o.C_CODE = ?1 AND td.C_TERM = (SELECT ID FROM T_DictionaryItemBase WHERE C_Name = ?2) "
                       "AND il.C_SIGNOUTDATE IS NULL AND cs.C_SIGNOUTDATE IS NULL",
                       -1, &st, nullptr);
    const QByteArray f = faculty.toUtf8(), t = term.toUtf8();
    sqlite3_bind_text(st, 1, f.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 2, t.constData(), -1, SQLITE_TRANSIENT);
    QStringList out;
    while (sqlite3_step(st) == SQLITE_ROW) {
        QStringList cells;
        for (int c = 0; c < 6; ++c) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(st, c));
            cells << (text ? QString::fromUtf8(text) : QStringLiteral("NULL"));
        }
        out << cells.join(u'|');
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

QSet<QString> column(const QStringList &rows, std::initializer_list<int> columns)
{
    QSet<QString> out;
    for (const QString &r : rows) {
        const QStringList cells = r.split(u'|');
        QStringList key;
        for (int c : columns)
            key << cells[c];
        out.insert(key.join(u'|'));
    }
    return out;
}

QStringList toSortedList(const QSet<QString> &set)
{
    QStringList l(set.begin(), set.end());
    l.sort();
    return l;
}

// What the register holds as enrolments: student code | subject code | course name.
const char EnrolmentKeys[] = "select h.hallgato_kod, t.tantargy_kod, k.kurzus_nev from tan_hall a, hallgato h, felvett_tantargy f, "
                             "tantargy t, kurzus k where a.hallgato_id=h.hallgato_id and a.ft_id=f.ft_id and "
                             "f.tantargy_id=t.tantargy_id and f.kurzus_id=k.kurzus_id and f.felev_id=%1 and f.kar_id=%2";

} // namespace

class TestNeptunImport : public QObject {
    Q_OBJECT
    std::unique_ptr<DemoFiles> demo;
    std::unique_ptr<Register> reg;
    std::unique_ptr<ScriptedMessages> boxes;

    NeptunImportRequest request(const QString &faculty, const QString &semester, const QString &subject = QString(),
                                bool timetable = false)
    {
        NeptunImportRequest r;
        r.facultyId = faculty;
        r.facultyCode = faculty == u"1" ? QStringLiteral("GEK") : QStringLiteral("IK");
        r.semesterId = semester;
        r.semesterNeptun = semester == u"1" ? QStringLiteral("2023/24/2") : QStringLiteral("2024/25/1");
        r.subjectName = subject;
        r.timetable = timetable;
        return r;
    }
    // Query and import; the outcome, the rows found.
    std::pair<NeptunImportOutcome, int> importOnce(const NeptunImportRequest &r, QStringList *messages = nullptr)
    {
        NeptunImport import(&reg->conn());
        const int found = import.query(r);
        const NeptunImportOutcome outcome = import.run();
        if (messages)
            *messages = import.messages();
        return {outcome, found};
    }
    QStringList counts()
    {
        QStringList out;
        for (const char *t : {"hallgato", "tantargy", "kurzus", "nyelv", "tanora_forma", "felvett_tantargy", "tan_hall",
                              "felhasznalo", "oktato", "tan_okt", "orarend", "orarend_csoport", "orarend_datum", "Jelentes"})
            out << QString::fromLatin1(t) + u'=' + QString::number(reg->count(QString::fromLatin1(t)));
        return out;
    }

private Q_SLOTS:
    void initTestCase() { demo = std::make_unique<DemoFiles>(); }
    void init() { boxes = std::make_unique<ScriptedMessages>(); }
    void cleanup()
    {
        reg.reset();
        boxes.reset();
    }

    void firstImportWritesEveryRegistration()
    {
        reg = std::make_unique<Register>(*demo, Register::Empty);
        const QStringList expected = neptunRegistrations(reg->neptun, QStringLiteral("IK"), QStringLiteral("2024/25/1"));
        QVERIFY(expected.size() > 500);
        QStringList messages;
        const auto [outcome, found] = importOnce(request(QStringLiteral("2"), QStringLiteral("2")), &messages);
        QCOMPARE(outcome, NeptunImportOutcome::Done);
        QCOMPARE(found, expected.size());
        QVERIFY2(boxes->shown.isEmpty(), qPrintable(boxes->shown.join(u'\n')));

        QCOMPARE(reg->count(QStringLiteral("hallgato")), column(expected, {0}).size());
        QCOMPARE(reg->count(QStringLiteral("tantargy")), column(expected, {1}).size());
        QCOMPARE(reg->count(QStringLiteral("kurzus")), column(expected, {2}).size());
        QCOMPARE(reg->count(QStringLiteral("tanora_forma")), column(expected, {3}).size());
        QCOMPARE(reg->count(QStringLiteral("nyelv")), column(expected, {4}).size());
        QCOMPARE(reg->count(QStringLiteral("felvett_tantargy")), column(expected, {1, 2, 3, 4}).size());
        // Every registration is an enrolment, nothing else is (signed-out ones included).
        const QStringList enrolled = reg->rows(QString::fromLatin1(EnrolmentKeys).arg(2).arg(2));
        QCOMPARE(toSortedList(QSet<QString>(enrolled.begin(), enrolled.end())), toSortedList(column(expected, {0, 1, 2})));
        QCOMPARE(reg->count(QStringLiteral("tan_hall")), column(expected, {0, 1, 2, 3, 4}).size());
        // Offerings: the faculty, the semester and the year from the subject code ("…2B" → 2).
        QCOMPARE(reg->rows(QStringLiteral("select distinct kar_id, felev_id from felvett_tantargy")), QStringList{"2|2"});
        QCOMPARE(reg->rows(QStringLiteral("select count(*) from felvett_tantargy f, tantargy t where f.tantargy_id=t.tantargy_id "
                                          "and f.evfolyam <> substring(t.tantargy_kod, len(t.tantargy_kod) - 1, 1)")),
                 QStringList{"0"});
        // The teachers: each a role-3 account of the faculty with the Neptun code as login name.
        const int teachers = reg->count(QStringLiteral("oktato"));
        QVERIFY(teachers >= 6);
        QCOMPARE(reg->value(QStringLiteral("select count(*) from oktato o, felhasznalo f where o.felh_id=f.felh_id and "
                                           "f.felh_nev=o.oktato_kod and f.szerep_id=3 and f.kar_id=2 and f.felh_teljes=o.oktato_nev")),
                 QString::number(teachers));
        QVERIFY(reg->count(QStringLiteral("tan_okt")) >= reg->count(QStringLiteral("felvett_tantargy")));
        // Messages: one per new student, subject, course, lesson form and teacher; the journal row holds them.
        QCOMPARE(messages.filter(QStringLiteral("Hallgató rögzítésre került: ")).size(), column(expected, {0}).size());
        QCOMPARE(messages.filter(QStringLiteral("Oktató rögzítésre került: ")).size(), teachers);
        QCOMPARE(messages.filter(QStringLiteral("Új tantárgy sor került a rendszerbe: ")).size(), column(expected, {1}).size());
        QCOMPARE(messages.filter(QStringLiteral("Új kurzus sor került a rendszerbe: ")).size(), column(expected, {2}).size());
        QCOMPARE(messages.filter(QStringLiteral("Új tanóraforma sor került a rendszerbe: ")).size(), column(expected, {3}).size());
        QCOMPARE(reg->rows(QStringLiteral("select jel_szoveg, kar_id, felh_id, jel_datum from Jelentes")),
                 QStringList{messages.join(QStringLiteral("\r\n")) + QStringLiteral("|2|1|2024.11.13 10:15:30")});
        QCOMPARE(reg->count(QStringLiteral("orarend")), 0);
    }

    void reRunAddsOnlyTheJournalAndAudit()
    {
        reg = std::make_unique<Register>(*demo, Register::Empty);
        QCOMPARE(importOnce(request(QStringLiteral("2"), QStringLiteral("2"))).first, NeptunImportOutcome::Done);
        QStringList before = counts();
        const int audit = reg->count(QStringLiteral("esemenynaplo"));
        QStringList messages;
        QCOMPARE(importOnce(request(QStringLiteral("2"), QStringLiteral("2")), &messages).first, NeptunImportOutcome::Done);
        before.last() = QStringLiteral("Jelentes=2");
        QCOMPARE(counts(), before);
        QVERIFY(messages.isEmpty());
        QCOMPARE(reg->rows(QStringLiteral("select jel_szoveg from Jelentes where jel_id=2")), QStringList{"NULL"});
        // The existing-row checks still write their audit rows (inserts of type 1, no updates).
        QVERIFY(reg->count(QStringLiteral("esemenynaplo")) > audit);
        QCOMPARE(reg->value(QStringLiteral("select count(*) from esemenynaplo where etipus_id=2")), QStringLiteral("0"));
    }

    void hardCasesOnTheDemoRegister()
    {
        reg = std::make_unique<Register>(*demo, Register::Demo);
        const QString renamed = reg->value(QStringLiteral("select hallgato_kod from hallgato where hallgato_id=501"));
        const QString recarded = reg->value(QStringLiteral("select hallgato_kod from hallgato where hallgato_id=502"));
        const QString oldCard = reg->value(QStringLiteral("select hallgato_diak from hallgato where hallgato_id=502"));
        const QStringList signedOut = reg->rows(QStringLiteral("select hallgato_kod from hallgato where hallgato_id in (4, 5)"));
        QStringList messages;
        QCOMPARE(importOnce(request(QStringLiteral("1"), QStringLiteral("1")), &messages).first, NeptunImportOutcome::Done);

        // The renamed student gets the new name, the other one the new card, each an audited update.
        QCOMPARE(reg->value(QStringLiteral("select hallgato_nev from hallgato where hallgato_id=501")), QStringLiteral("Kiss-Nagy Anna"));
        const QString newCard = reg->value(QStringLiteral("select hallgato_diak from hallgato where hallgato_id=502"));
        QVERIFY(!newCard.isEmpty() && newCard != oldCard);
        QCOMPARE(reg->rows(QStringLiteral("select erintett_rekord, uj_ertek from esemenynaplo where etipus_id=2 and "
                                          "erintett_tabla='hallgato' order by erintett_rekord")),
                 QStringList({"501|hallgato_nev = Kiss-Nagy Anna", "502|hallgato_diak = " + newCard}));
        // Quotes in a student's name, a subject's name and code, a course code and a teacher's name.
        QCOMPARE(reg->value(QStringLiteral("select count(*) from hallgato where hallgato_nev='O''Brien Kata'")), QStringLiteral("1"));
        QCOMPARE(reg->rows(QStringLiteral("select tantargy_nev from tantargy where tantargy_kod='GKMA''T11A'")),
                 QStringList{"Ma'tek (GKMA'T11A)"});
        QCOMPARE(reg->rows(QStringLiteral("select kurzus_kod, kurzus_nev from kurzus where kurzus_id > 5 order by kurzus_nev")),
                 QStringList({"E'01|E'01", "GYAKO|GYAKORLAT01"})); // a long code is stored by its first five characters
        QCOMPARE(reg->rows(QStringLiteral("select f.szerep_id, f.kar_id, o.oktato_nev from oktato o, felhasznalo f where "
                                          "o.felh_id=f.felh_id and o.oktato_kod='ONEIL1'")),
                 QStringList{"3|1|Dr. O'Neil Péter"});
        QCOMPARE(messages.filter(QStringLiteral("Oktató rögzítésre került: ")), QStringList{"Oktató rögzítésre került: ONEIL1"});
        // The enrolments of the quoted subject: the lesson-form-less course has none, the sign-outs are left out.
        const QStringList matek = reg->rows(QString::fromLatin1(EnrolmentKeys).arg(1).arg(1)
                                            + QStringLiteral(" and t.tantargy_kod='GKMA''T11A' order by 3, 1"));
        QStringList expected;
        for (const QString &code : reg->rows(QStringLiteral("select hallgato_kod from hallgato where hallgato_id in (2, 3, 501, 502) or "
                                                            "hallgato_nev='O''Brien Kata'")))
            expected << code + QStringLiteral("|GKMA'T11A|E'01");
        expected << renamed + QStringLiteral("|GKMA'T11A|GYAKORLAT01")
                 << reg->value(QStringLiteral("select hallgato_kod from hallgato where hallgato_nev='O''Brien Kata'"))
                        + QStringLiteral("|GKMA'T11A|GYAKORLAT01");
        expected.sort();
        QStringList sortedMatek = matek;
        sortedMatek.sort();
        QCOMPARE(sortedMatek, expected);
        for (const QString &code : signedOut)
            QVERIFY(!matek.join(u'\n').contains(code));
        // The missing lesson form: its insert fails, reported; the row's offering is left out with a message.
        QCOMPARE(boxes->shown.filter(QStringLiteral("tanóra forma")),
                 QStringList{"Hiba: " + reg->value(QStringLiteral("select hallgato_nev from hallgato where hallgato_id=502"))
                             + " (tanóra forma)"});
        QCOMPARE(messages.filter(QStringLiteral("Kimaradt")), QStringList{"Kimaradt (hiányzik: tanóraforma): " + recarded
                                                                           + " Ma'tek (GKMA'T11A) L01"});
        // The missing language: a language row without name; the tutor without Neptun code: a message.
        QCOMPARE(reg->rows(QStringLiteral("select count(*) from felvett_tantargy f, nyelv n where f.nyelv_id=n.nyelv_id and "
                                          "n.nyelv_nev is null")),
                 QStringList{"1"});
        QCOMPARE(messages.filter(QStringLiteral("nincs oktató rendelve")).size(), 2); // once per row of that course
        QCOMPARE(messages.filter(QStringLiteral("nincs oktató rendelve")).first(), QStringLiteral("Ma'tek (GKMA'T11A) nincs oktató rendelve"));
        // The known teacher of the lecture is assigned without a message.
        QCOMPARE(reg->value(QStringLiteral("select count(*) from tan_okt a, felvett_tantargy f, kurzus k where a.ft_id=f.ft_id and "
                                           "f.kurzus_id=k.kurzus_id and k.kurzus_kod='E''01' and a.oktato_id=1")),
                 QStringLiteral("1"));
        // A one-character subject code: no year, the row imported.
        QCOMPARE(reg->rows(QStringLiteral("select f.evfolyam from felvett_tantargy f, tantargy t where f.tantargy_id=t.tantargy_id "
                                          "and t.tantargy_kod='Z'")),
                 QStringList{"NULL"});

        // A second run finds every quoted row by its code: no new subject, course, student or teacher.
        const QStringList before = counts();
        QCOMPARE(importOnce(request(QStringLiteral("1"), QStringLiteral("1")), &messages).first, NeptunImportOutcome::Done);
        QStringList after = counts();
        after.last() = before.last();
        QCOMPARE(after, before);
        QVERIFY(messages.filter(QStringLiteral("rögzítésre került")).isEmpty());
    }

    void subjectNameFilter_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<int>("rows");
        QTest::newRow("quote in the name") << "Ma'tek" << 8;
        QTest::newRow("injection attempt") << "Matematika I' AND '1'='1" << 0;
        QTest::newRow("accented name") << QString::fromUtf8("Gyártástechnológia") << -1;
    }
    void subjectNameFilter()
    {
        QFETCH(QString, subject);
        QFETCH(int, rows);
        reg = std::make_unique<Register>(*demo, Register::Empty);
        NeptunImport import(&reg->conn());
        const int found = import.query(request(QStringLiteral("1"), QStringLiteral("1"), subject));
        QVERIFY(boxes->shown.isEmpty());
        if (rows >= 0)
            QCOMPARE(found, rows);
        else
            QVERIFY(found > 50);
        for (int r = 0; r < import.rows().recordCount(); ++r)
            QCOMPARE(import.rows().text(r, import.rows().fieldIndex(QStringLiteral("Tárgynév"))), subject);
    }

    void timetablePartMakesEntriesEveryRun()
    {
        reg = std::make_unique<Register>(*demo, Register::Empty);
        NeptunImport import(&reg->conn());
        QVERIFY(import.query(request(QStringLiteral("1"), QStringLiteral("1"), QString(), true)) > 0);
        const int neptunRows = import.rows().recordCount();
        QCOMPARE(import.run(), NeptunImportOutcome::Done);
        const int offerings = reg->count(QStringLiteral("felvett_tantargy"));
        QCOMPARE(reg->count(QStringLiteral("orarend")), offerings);
        QCOMPARE(reg->count(QStringLiteral("orarend_csoport")), offerings);
        // The message list now holds part two only; the journal row kept part one.
        QCOMPARE(import.messages().size(), offerings + 1); // plus the class instance without start
        QVERIFY(import.messages().first().startsWith(QStringLiteral("Az órarend rögzítésre került: ")));
        QVERIFY(reg->value(QStringLiteral("select jel_szoveg from Jelentes")).contains(QStringLiteral("Hallgató rögzítésre került")));
        // The quoted lecture: its three Monday dates, the times of its class instances, weekly, two make-ups.
        const QString entry = QStringLiteral("(select c.orarend_id from orarend_csoport c, felvett_tantargy f, kurzus k where "
                                             "c.ft_id=f.ft_id and f.kurzus_id=k.kurzus_id and k.kurzus_kod='E''01')");
        QCOMPARE(reg->rows(QStringLiteral("select orarend_nev, orarend_mettol, orarend_meddig, orarend_heti, orarend_potlas, felev_id, "
                                          "kar_id from orarend where orarend_id=")
                           + entry),
                 QStringList{"Ma'tek (GKMA'T11A) - Elmélet|08:00:00|09:30:00|1|2|1|1"});
        QCOMPARE(reg->rows(QStringLiteral("select convert(varchar(10), od_datum, 102) from orarend_datum where orarend_id=") + entry
                           + QStringLiteral(" order by od_datum")),
                 QStringList({"2024.02.05", "2024.02.12", "2024.02.19"}));
        // The class instance without a start date is left out with a message; the course keeps the others.
        QCOMPARE(import.messages().filter(QStringLiteral("Kezdő időpont nélküli óra kimaradt")),
                 QStringList{"Kezdő időpont nélküli óra kimaradt: Ma'tek (GKMA'T11A) - Gyakorlat"});
        QCOMPARE(reg->value(QStringLiteral("select count(*) from orarend_datum d, orarend o where d.orarend_id=o.orarend_id and "
                                           "o.orarend_nev='Ma''tek (GKMA''T11A) - Gyakorlat'")),
                 QStringLiteral("3"));
        // Every enrolment points to its offering's entry.
        QCOMPARE(reg->value(QStringLiteral("select count(*) from tan_hall a where a.orarend_id is null or not exists (select 1 from "
                                           "orarend_csoport c where c.orarend_id=a.orarend_id and c.ft_id=a.ft_id)")),
                 QStringLiteral("0"));
        // The Neptun rows stay in their dataset: the next run imports them again, not class instances.
        QCOMPARE(import.rows().recordCount(), neptunRows);
        QCOMPARE(import.rows().fieldIndex(QStringLiteral("datumtol")), -1);
        const QString enrolments = reg->value(QStringLiteral("select count(*) from tan_hall"));
        QCOMPARE(import.run(), NeptunImportOutcome::Done);
        QCOMPARE(reg->value(QStringLiteral("select count(*) from tan_hall")), enrolments);
        // Twice: two entries per offering, the enrolments moved to the newer one.
        QCOMPARE(reg->count(QStringLiteral("orarend")), 2 * offerings);
        QCOMPARE(reg->value(QStringLiteral("select count(*) from tan_hall a where a.orarend_id <> (select max(c.orarend_id) from "
                                           "orarend_csoport c where c.ft_id=a.ft_id)")),
                 QStringLiteral("0"));
        QCOMPARE(reg->count(QStringLiteral("Jelentes")), 2);
    }

    void nothingToImport_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<bool>("neptun");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("no rows") << "Nincs ilyen tárgy" << true << QStringList{"Nincs átvehető Neptun adat!"};
        QTest::newRow("query fails") << QString() << false
                                     << QStringList({"A művelet végrehajtása sikertelen! Próbálja újra!", "Nincs átvehető Neptun adat!"});
    }
    void nothingToImport()
    {
        QFETCH(QString, subject);
        QFETCH(bool, neptun);
        QFETCH(QStringList, shown);
        reg = std::make_unique<Register>(*demo, Register::Empty, neptun);
        NeptunImport import(&reg->conn());
        QCOMPARE(import.query(request(QStringLiteral("1"), QStringLiteral("1"), subject, true)), neptun ? 0 : -1);
        QVERIFY(!import.hasRows());
        QCOMPARE(import.run(), NeptunImportOutcome::NoRows);
        QCOMPARE(boxes->shown, shown);
        QCOMPARE(reg->count(QStringLiteral("Jelentes")), 0);
        QCOMPARE(reg->count(QStringLiteral("orarend")), 0);
    }

    void failedQueryForgetsEarlierRows()
    {
        reg = std::make_unique<Register>(*demo, Register::Empty);
        NeptunImport import(&reg->conn());
        QVERIFY(import.query(request(QStringLiteral("1"), QStringLiteral("1"))) > 0);
        QCOMPARE(import.query(request(QStringLiteral("1"), QString())), -1);
        QCOMPARE(boxes->shown, QStringList{"A félév megadása kötelező!"});
        QCOMPARE(import.run(), NeptunImportOutcome::NoRows);
        QCOMPARE(reg->count(QStringLiteral("hallgato")), 0);
    }

    void importsUnderTheQueriedFaculty()
    {
        reg = std::make_unique<Register>(*demo, Register::Empty);
        NeptunImport import(&reg->conn());
        QVERIFY(import.query(request(QStringLiteral("2"), QStringLiteral("2"))) > 0);
        // The window's faculty and semester change after the query.
        LoginInfo.FacultyId = QStringLiteral("1");
        CurrentSemesterId = QStringLiteral("1");
        import.setTimetable(true);
        QCOMPARE(import.run(), NeptunImportOutcome::Done);
        QCOMPARE(reg->rows(QStringLiteral("select distinct kar_id, felev_id from felvett_tantargy")), QStringList{"2|2"});
        QCOMPARE(reg->rows(QStringLiteral("select distinct kar_id, felev_id from orarend")), QStringList{"2|2"});
        QCOMPARE(reg->rows(QStringLiteral("select kar_id from Jelentes")), QStringList{"2"});
    }

    void failedInsertLeavesNoIdForLaterSteps()
    {
        reg = std::make_unique<Register>(*demo, Register::Empty);
        // A student without a name cannot be stored: every row of his registrations loses its enrolment.
        const QStringList all = neptunRegistrations(reg->neptun, QStringLiteral("IK"), QStringLiteral("2024/25/1"));
        const QString nameless = all[all.size() / 2].section(u'|', 0, 0);
        reg->changeNeptun(QStringLiteral("UPDATE T_PARTNER SET C_PRINTNAME = NULL WHERE ID = (SELECT ID FROM T_USER WHERE "
                                         "C_NEPTUNCODE = '%1')").arg(nameless));
        QStringList messages;
        QCOMPARE(importOnce(request(QStringLiteral("2"), QStringLiteral("2")), &messages).first, NeptunImportOutcome::Done);
        const QStringList hisRows = all.filter(QRegularExpression(QStringLiteral("^") + nameless + QStringLiteral("\\|")));
        QVERIFY(!hisRows.isEmpty());
        QCOMPARE(boxes->shown, QStringList(hisRows.size(), QStringLiteral("Hiba:  (hallgató)")));
        QCOMPARE(messages.filter(QStringLiteral("Kimaradt (hiányzik: hallgató): ") + nameless).size(), hisRows.size());
        // Exactly the other registrations are enrolments: none went to the previous row's student.
        QSet<QString> expected = column(all, {0, 1, 2});
        for (const QString &r : hisRows)
            expected.remove(QStringList(r.split(u'|').mid(0, 3)).join(u'|'));
        const QStringList stored = reg->rows(QString::fromLatin1(EnrolmentKeys).arg(2).arg(2));
        QCOMPARE(toSortedList(QSet<QString>(stored.begin(), stored.end())), toSortedList(expected));
        QCOMPARE(stored.size(), expected.size());
    }

    void emptyFacultyIdSkipsTheOfferings()
    {
        reg = std::make_unique<Register>(*demo, Register::Empty);
        NeptunImportRequest r = request(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("Ma'tek"));
        r.facultyId.clear();
        QStringList messages;
        const auto [outcome, found] = importOnce(r, &messages);
        QCOMPARE(outcome, NeptunImportOutcome::Done);
        QCOMPARE(messages.filter(QStringLiteral("Kimaradt (hiányzik: szervezet")).size(), found);
        QCOMPARE(reg->count(QStringLiteral("felvett_tantargy")), 0);
        QCOMPARE(reg->count(QStringLiteral("hallgato")), 5);
        QCOMPARE(reg->rows(QStringLiteral("select kar_id from Jelentes")), QStringList{"NULL"});
    }
};

QTEST_GUILESS_MAIN(TestNeptunImport)
#include "test_neptun_import.moc"
