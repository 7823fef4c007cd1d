// Enrolments written without a window: the offering and the student's row as one unit.

#include "Connection.h"
#include "DbError.h"
#include "Enrolment.h"
#include "WindowTestBase.h"

namespace {

// Faculty 1; semester 1; offering 1 (Anatómia/E1/magyar/előadás); students 1 and 2, student 1 enrolled.
const char *Seed = R"(
INSERT INTO kar (kar_id, kar_kod, kar_nev) VALUES (1, 'GTK', 'Gazdaság');
INSERT INTO felhasznalo (felh_id, felh_nev) VALUES (7, 'TANULMANYI');
INSERT INTO felev (felev_id, felev_nev, felev_datumtol, felev_datumig) VALUES (1, '2023/24 tavasz', '2024-02-05', '2024-05-31');
INSERT INTO tantargy (tantargy_id, tantargy_kod, tantargy_nev) VALUES (1, 'AN1', 'Anatómia'), (2, 'KE1', 'Kémia');
INSERT INTO kurzus (kurzus_id, kurzus_kod, kurzus_nev) VALUES (1, 'E1', 'E1');
INSERT INTO nyelv (nyelv_id, nyelv_nev) VALUES (1, 'magyar');
INSERT INTO tanora_forma (tof_id, tof_nev) VALUES (1, 'előadás');
INSERT INTO orarend (orarend_id, kar_id, felev_id, orarend_nev, orarend_mettol, orarend_meddig) VALUES
 (1, 1, 1, 'Anatómia ea', '08:00:00', '09:30:00');
INSERT INTO felvett_tantargy (ft_id, kar_id, tantargy_id, kurzus_id, felev_id, nyelv_id, tof_id) VALUES (1, 1, 1, 1, 1, 1, 1);
INSERT INTO hallgato (hallgato_id, hallgato_kod, hallgato_nev) VALUES (1, 'AAA111', 'Ács Anna'), (2, 'BBB222', 'Bak Béla');
INSERT INTO tan_hall (th_id, hallgato_id, ft_id, orarend_id) VALUES (1, 1, 1, 1);
)";

} // namespace

class TestEnrolment : public WindowTestBase {
    Q_OBJECT
    static EnrolmentChoice choice(const char *subject, const char *timetable)
    {
        return {QString::fromLatin1(subject), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                QStringLiteral("1"), QString::fromLatin1(timetable)};
    }

private Q_SLOTS:
    void init() { startFixture(Seed); }
    void cleanup() { stopFixture(); }

    void newOfferingAndRowWithTheirAudit()
    {
        QCOMPARE(EnrolStudent(&fx->conn(), QStringLiteral("1"), QStringLiteral("2"), choice("2", "null")),
                 QStringLiteral("2"));
        QCOMPARE(rows(QStringLiteral("select ft_id, kar_id, tantargy_id, kurzus_id, felev_id, nyelv_id, tof_id "
                                     "from felvett_tantargy where ft_id=2")),
                 QStringList{"2|1|2|1|1|1|1"});
        QCOMPARE(rows(QStringLiteral("select th_id, hallgato_id, ft_id, orarend_id from tan_hall where th_id > 1")),
                 QStringList{"2|2|2|NULL"});
        QCOMPARE(audit(), QStringList({"1|felvett_tantargy|2", "1|tan_hall|2"}));
    }

    void identicalOfferingReused()
    {
        QCOMPARE(EnrolStudent(&fx->conn(), QStringLiteral("1"), QStringLiteral("2"), choice("1", "1")), QStringLiteral("1"));
        QCOMPARE(one(QStringLiteral("select count(*) from felvett_tantargy")), QStringLiteral("1"));
        QCOMPARE(rows(QStringLiteral("select hallgato_id, ft_id, orarend_id from tan_hall where th_id > 1")),
                 QStringList{"2|1|1"});
    }

    // The student's row fails after the offering was written: neither row nor audit row stays.
    void failureOnTheSecondWriteLeavesNothing()
    {
        rawSql("CREATE TRIGGER no_tan_hall BEFORE INSERT ON tan_hall BEGIN SELECT RAISE(ABORT, 'forced'); END;");
        bool failed = false;
        try {
            EnrolStudent(&fx->conn(), QStringLiteral("1"), QStringLiteral("2"), choice("2", "1"));
        } catch (const DbError &) {
            failed = true;
        }
        QVERIFY(failed);
        QCOMPARE(one(QStringLiteral("select count(*) from felvett_tantargy")), QStringLiteral("1"));
        QCOMPARE(one(QStringLiteral("select count(*) from tan_hall")), QStringLiteral("1"));
        QCOMPARE(audit(), QStringList());
        // The connection writes again afterwards.
        rawSql("DROP TRIGGER no_tan_hall;");
        QCOMPARE(EnrolStudent(&fx->conn(), QStringLiteral("1"), QStringLiteral("2"), choice("2", "1")), QStringLiteral("2"));
        QCOMPARE(audit(), QStringList({"1|felvett_tantargy|2", "1|tan_hall|2"}));
    }

    void placeReleaseAndDelete()
    {
        PlaceEnrolment(QStringLiteral("1"), QStringLiteral("NULL"));
        QCOMPARE(one(QStringLiteral("select orarend_id from tan_hall where th_id=1")), QStringLiteral("NULL"));
        PlaceEnrolment(QStringLiteral("1"), QStringLiteral("1"));
        QCOMPARE(one(QStringLiteral("select orarend_id from tan_hall where th_id=1")), QStringLiteral("1"));
        // An empty subject choice keeps the stored subject.
        UpdateOffering(QStringLiteral("1"), choice("null", "1"));
        QCOMPARE(one(QStringLiteral("select tantargy_id from felvett_tantargy where ft_id=1")), QStringLiteral("1"));
        UpdateOffering(QStringLiteral("1"), choice("2", "1"));
        QCOMPARE(one(QStringLiteral("select tantargy_id from felvett_tantargy where ft_id=1")), QStringLiteral("2"));
        DeleteEnrolment(QStringLiteral("1"));
        QCOMPARE(one(QStringLiteral("select count(*) from tan_hall")), QStringLiteral("0"));
    }
};

QTEST_GUILESS_MAIN(TestEnrolment)
#include "test_enrolment.moc"
