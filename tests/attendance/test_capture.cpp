// The capture run and the make-up rules on the real schema.

#include "DataFixture.h"
#include "CaptureRun.h"
#include "DaySummary.h"
#include "MakeUpRules.h"
#include "ScriptedMessages.h"

#include "AttendanceSeed.h"

class TestCapture : public QObject {
    Q_OBJECT
    std::unique_ptr<DataFixture> fx;
    std::unique_ptr<ScriptedMessages> boxes;

    CaptureRequest lesson(int id, CaptureMode mode = CaptureMode::None, const QString &date = QStringLiteral("2024.03.06."))
    {
        CaptureRequest r;
        r.dateText = date;
        r.semesterId = QStringLiteral("1");
        r.lessonId = QString::number(id);
        r.lessonName = QStringLiteral("Lecke %1").arg(id);
        r.mode = mode;
        Dataset keres(&fx->conn(), QStringLiteral("keres"));
        const LessonInfo info = ReadLesson(keres, r.semesterId, r.lessonId);
        r.makeUpAllowed = info.makeUpAllowed;
        CurrentTimetableWeekly = info.weekly;
        CurrentTimetableId = r.lessonId;
        return r;
    }
    CaptureOutcome capture(const CaptureRequest &r, QStringList &lines)
    {
        CaptureRun run(&fx->conn());
        return run.run(r, lines);
    }
    QStringList entries(const QString &where)
    {
        return fx->rows(QStringLiteral("select hallgato_id, jt_id, convert(varchar(10), jelenlet_datum, 112) from jelenlet "
                                       "where ")
                        + where + QStringLiteral(" order by hallgato_id, jelenlet_datum"));
    }

private Q_SLOTS:
    void init()
    {
        fx = std::make_unique<DataFixture>(BaseSchema() + QString::fromUtf8(AttendanceSeed),
                                           QDateTime(QDate(2024, 3, 6), QTime(10, 0)));
        LoginInfo.FacultyId = QStringLiteral("1");
        LoginInfo.UserId = QStringLiteral("7");
        boxes = std::make_unique<ScriptedMessages>();
    }
    void cleanup()
    {
        boxes.reset();
        fx.reset();
    }

    void firstRunOfWeek()
    {
        QStringList lines{"AAA111", "1002", "ccc333", "71000004", "NINCS01", "AAA111", "O'Hara"};
        QCOMPARE(capture(lesson(1), lines), CaptureOutcome::Done);
        // Code, card number, lower case and education id mark present; the missing student is absent.
        QCOMPARE(entries(QStringLiteral("orarend_id=1")),
                 QStringList({"1|1|20240306", "2|1|20240306", "3|1|20240306", "4|1|20240306", "5|2|20240306"}));
        // The education id stays and gets the make-up rules' message; the second copy of a code read
        // twice is removed there; a quote in a code is looked up as typed.
        QCOMPARE(lines, QStringList({"71000004" + MakeUpRules::NotInSystem, "NINCS01" + MakeUpRules::NotInSystem,
                                     "O'Hara" + MakeUpRules::NotInSystem}));
        QVERIFY(boxes->shown.isEmpty());
        const QStringList journal = fx->rows(QStringLiteral("select jel_szoveg, felh_id, kar_id from Jelentes order by jel_id"));
        QCOMPARE(journal.size(), 2);
        QCOMPARE(journal[0], QStringLiteral("Jelenlét rögzítés kezdete!\r\nLecke 1\r\nAAA111\r\n1002\r\nccc333\r\n"
                                            "71000004\r\nNINCS01\r\nAAA111\r\nO'Hara|7|1"));
        QVERIFY(journal[1].startsWith(QStringLiteral("Jelenlét rögzítés vége!\r\n71000004 A hallgató nincs a rendszerben!")));
        // Every entry write is audited.
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from esemenynaplo where erintett_tabla='jelenlet'")),
                 QStringList{"5"});
    }

    void secondRunWithoutMode()
    {
        QStringList first{"AAA111"};
        capture(lesson(1), first);
        // Declined: nothing written but the journal row.
        QStringList second{"EEE555"};
        boxes->answers.enqueue(false);
        QCOMPARE(capture(lesson(1), second), CaptureOutcome::Declined);
        QCOMPARE(boxes->asked, QStringList{"Létezik az órarend adott dátumához jelenlét! Biztos hogy folytatni szeretné?"});
        QCOMPARE(fx->rows(QStringLiteral("select jel_szoveg from Jelentes order by jel_id desc")).value(0),
                 QStringLiteral("Nem történt adatrögzítés."));
        // Confirmed: the week's entries stay as they are, whatever the codes.
        boxes->answers.enqueue(true);
        QCOMPARE(capture(lesson(1), second), CaptureOutcome::Done);
        QCOMPARE(entries(QStringLiteral("orarend_id=1 and hallgato_id in (1, 5)")), QStringList({"1|1|20240306", "5|2|20240306"}));
        QCOMPARE(second, QStringList{});
    }

    void modesTurnEntries_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("end of lesson") << int(CaptureMode::EndOfLesson) << QStringList({"1|2|20240306", "5|1|20240306"});
        QTest::newRow("append") << int(CaptureMode::Append) << QStringList({"1|1|20240306", "5|1|20240306"});
    }
    void modesTurnEntries()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, expected);
        QStringList first{"AAA111"};
        capture(lesson(1), first);
        QStringList second{"EEE555"};
        QCOMPARE(capture(lesson(1, CaptureMode(mode)), second), CaptureOutcome::Done);
        QVERIFY(boxes->asked.isEmpty());
        QCOMPARE(entries(QStringLiteral("orarend_id=1 and hallgato_id in (1, 5)")), expected);
    }

    void secondDateOfWeekWritesNothing()
    {
        QStringList wed{"AAA111"};
        capture(lesson(1), wed);
        fx->clockValue = QDateTime(QDate(2024, 3, 8), QTime(10, 0));
        QStringList fri{"BBB222", "EEE555"};
        QCOMPARE(capture(lesson(1, CaptureMode::None, QStringLiteral("2024.03.08.")), fri), CaptureOutcome::Done);
        QVERIFY(boxes->asked.isEmpty()); // nothing on that date yet
        QCOMPARE(entries(QStringLiteral("orarend_id=1")).size(), 5);
        QCOMPARE(entries(QStringLiteral("orarend_id=1 and jelenlet_datum='20240308'")), QStringList());
    }

    void weeklyLessonMovesWeekEntry()
    {
        fx->clockValue = QDateTime(QDate(2024, 3, 4), QTime(10, 0));
        QStringList mon{};
        mon << QStringLiteral("xxx");
        capture(lesson(2, CaptureMode::None, QStringLiteral("2024.03.04.")), mon);
        QCOMPARE(entries(QStringLiteral("orarend_id=2")), QStringList{"8|2|20240304"});
        fx->clockValue = QDateTime(QDate(2024, 3, 6), QTime(10, 0));
        QStringList wed{"HHH888"};
        QCOMPARE(capture(lesson(2), wed), CaptureOutcome::Done);
        // No question for a weekly lesson; the week's entry becomes present on the new date.
        QVERIFY(boxes->asked.isEmpty());
        QCOMPARE(entries(QStringLiteral("orarend_id=2")), QStringList{"8|1|20240306"});
    }

    void makeUpRules()
    {
        // 6: recorded (earliest absence 02-13 gives way); 7: attended own lesson on Tuesday this week;
        // 9: both make-ups used; 10: own lesson allows none; 11: no entry yet this semester;
        // 12: enrolled nowhere.
        QStringList lines{"FFF666", "1007", "III999", "JJJ000", "KKK111", "LLL222"};
        QCOMPARE(capture(lesson(1), lines), CaptureOutcome::Done);
        QCOMPARE(lines, QStringList({"FFF666" + MakeUpRules::Recorded, "1007" + MakeUpRules::HadLessonThisWeek,
                                     "III999" + MakeUpRules::OverLimit, "JJJ000" + MakeUpRules::OverLimit, "KKK111",
                                     "LLL222"}));
        QCOMPARE(entries(QStringLiteral("hallgato_id=6")),
                 QStringList({"6|1|20240206", "6|2|20240220", "6|1|20240227", "6|3|20240306"}));
        QCOMPARE(entries(QStringLiteral("hallgato_id=7")), QStringList({"7|2|20240227", "7|1|20240305"}));
        QCOMPARE(entries(QStringLiteral("hallgato_id=11")), QStringList{"11|3|20240306"});
        QCOMPARE(entries(QStringLiteral("hallgato_id=12")), QStringList());
        QCOMPARE(CurrentStudentId, QStringLiteral("12"));
    }

    void makeUpNotInAdvanceAndWeeklyCapture()
    {
        // 6 attended all five past lessons of his own entry: nothing to make up yet.
        fx->conn().execute(QStringLiteral("t"), QStringLiteral("update jelenlet set jt_id=1 where hallgato_id=6"));
        fx->conn().execute(QStringLiteral("t"), QStringLiteral("insert into jelenlet (hallgato_id, orarend_id, "
                                                               "jelenlet_datum, jt_id) values (6, 3, '20240305', 1)"));
        QStringList lines{"FFF666"};
        capture(lesson(1), lines);
        QCOMPARE(lines, QStringList{"FFF666" + MakeUpRules::NotInAdvance});

        // A guest at a weekly lesson is recorded present in his own entry, without a message.
        QStringList weekly{"GGG777"};
        fx->conn().execute(QStringLiteral("t"), QStringLiteral("delete from jelenlet where hallgato_id=7 and jt_id=1"));
        capture(lesson(2), weekly);
        QCOMPARE(weekly, QStringList{"GGG777"});
        QCOMPARE(entries(QStringLiteral("hallgato_id=7")), QStringList{"7|1|20240306"});
    }

    void refusedRuns_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("semester");
        QTest::addColumn<QString>("lessonId");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("message");
        QTest::newRow("no date") << "    .  .  ." << "1" << "1" << QStringList{"AAA111"} << "Nincs kitöltve a dátum!";
        QTest::newRow("bad date") << "2024.02.30." << "1" << "1" << QStringList{"AAA111"} << "Rossz dátum!";
        QTest::newRow("no semester") << "2024.03.06." << "" << "1" << QStringList{"AAA111"} << "Nincs kiválasztva a félév!";
        QTest::newRow("no lesson") << "2024.03.06." << "1" << "" << QStringList{"AAA111"} << "Nincs kiválasztva az órarend!";
        QTest::newRow("no codes") << "2024.03.06." << "1" << "1" << QStringList{} << "Nincs résztvevő hallgató!";
    }
    void refusedRuns()
    {
        QFETCH(QString, date);
        QFETCH(QString, semester);
        QFETCH(QString, lessonId);
        QFETCH(QStringList, lines);
        QFETCH(QString, message);
        CaptureRequest r;
        r.dateText = date;
        r.semesterId = semester;
        r.lessonId = lessonId;
        const QStringList before = lines;
        int backups = 0;
        CaptureRun run(&fx->conn());
        run.saveBackup = [&](const QStringList &) { ++backups; };
        QVERIFY(run.run(r, lines) != CaptureOutcome::Done);
        QCOMPARE(boxes->shown, QStringList{message});
        QCOMPARE(lines, before);
        QCOMPARE(backups, 1);
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from jelenlet where jelenlet_datum='20240306'")), QStringList{"0"});
    }

    void connectionCheck()
    {
        // The database is gone: ten attempts 2 s apart, then the message; each later check tries once more.
        fx->conn().close();
        fx->conn().setConnectionString(fx->connectionString(QStringLiteral("NINCS")));
        QList<int> waits;
        CaptureRun run(&fx->conn());
        run.wait = [&](int ms) { waits << ms; };
        QVERIFY(!run.checkConnection());
        QCOMPARE(waits, QList<int>(10, 2000));
        QCOMPARE(boxes->shown, QStringList{"Nincs kapcsolata az adatbázissal! Próbálja újra!"});
        QVERIFY(!run.checkConnection());
        QCOMPARE(run.connectionAttempts(), 11);
        QCOMPARE(boxes->shown.size(), 2);
        // Back again: the next check reconnects without a message.
        fx->conn().setConnectionString(fx->connectionString());
        QVERIFY(run.checkConnection());
        QVERIFY(fx->conn().isOpen());
        QCOMPARE(boxes->shown.size(), 2);
    }

    void daySummaryMatrix()
    {
        QStringList lines{"AAA111", "BBB222"};
        capture(lesson(1), lines);
        Dataset keres(&fx->conn(), QStringLiteral("keres")), szures(&fx->conn(), QStringLiteral("SZURES")),
            upd(&fx->conn(), QStringLiteral("UPDATEQuery")), ellenor(&fx->conn(), QStringLiteral("ellenor"));
        // An earlier entry of student 2 shows first; the count label is the rows listed.
        fx->conn().execute(QStringLiteral("t"), QStringLiteral("insert into jelenlet (hallgato_id, orarend_id, "
                                                               "jelenlet_datum, jt_id) values (2, 1, '20240214', 2)"));
        const DaySummaryResult r = ComputeDaySummary(QStringLiteral("1"), QStringLiteral("1"), keres, szures, upd, ellenor);
        QVERIFY(r.opened);
        QCOMPARE(r.dateTitles, QStringList({".02.07", ".02.14", ".02.21", ".02.28", ".03.06", ".03.08"}));
        QCOMPARE(r.count, 5);
        QCOMPARE(r.count, szures.recordCount());
        QVERIFY(szures.locate(QStringLiteral("hallgato_id"), {2}));
        QCOMPARE(szures.fieldByName(QStringLiteral("hallgato")).asString(), QStringLiteral("Bíró Béla - BBB222"));
        QCOMPARE(szures.fieldByName(QStringLiteral("1")).asString(), QString(QChar(0x171)));
        QCOMPARE(szures.fieldByName(QStringLiteral("2")).asString(), QString(QChar(0xFC)));
        QVERIFY(szures.fieldByName(QStringLiteral("3")).isNull());
        QCOMPARE(CurrentSemesterId, QStringLiteral("1"));
    }

    void deleteDay()
    {
        QStringList lines{"AAA111", "FFF666"};
        capture(lesson(1), lines);
        Dataset keres(&fx->conn(), QStringLiteral("keres"));
        boxes->answers.enqueue(false);
        QVERIFY(!DeleteDayAttendance(QStringLiteral("1"), QStringLiteral("20240306"), keres));
        QCOMPARE(entries(QStringLiteral("orarend_id=1")).size(), 5);
        boxes->answers.enqueue(true);
        QVERIFY(DeleteDayAttendance(QStringLiteral("1"), QStringLiteral("20240306"), keres));
        QCOMPARE(entries(QStringLiteral("orarend_id=1")).size(), 0);
        // The guest's make-up belongs to his own lesson and stays.
        QCOMPARE(entries(QStringLiteral("hallgato_id=6 and jt_id=3")), QStringList{"6|3|20240306"});
        // Nothing on the date: no question.
        boxes->asked.clear();
        QVERIFY(!DeleteDayAttendance(QStringLiteral("1"), QStringLiteral("20240307"), keres));
        QVERIFY(boxes->asked.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCapture)
#include "test_capture.moc"
