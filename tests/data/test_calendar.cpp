// Server time, semesters, the semester week and the date texts.

#include "Calendar.h"
#include "DataFixture.h"
#include "DbError.h"
#include "LoginInfo.h"
#include "ScriptedMessages.h"

class TestCalendar : public QObject {
    Q_OBJECT
    std::unique_ptr<DataFixture> fx;

    void exec(const QString &sql) { fx->conn().execute(QStringLiteral("t"), sql); }

private Q_SLOTS:
    void init()
    {
        // Wednesday 2024-03-06 10:15:30 on the server.
        fx = std::make_unique<DataFixture>(QString::fromLatin1(MiniSchema));
        exec(QStringLiteral("insert into felev (felev_nev, felev_datumtol, felev_datumig) values "
                            "('ősz', '20230904', '20240112'), ('tavasz', '20240205', '20240531'), "
                            "('jövő ősz', '20240902', '20250110')"));
        exec(QStringLiteral("insert into orarend (orarend_nev) values ('A'), ('B')"));
    }
    void cleanup() { fx.reset(); }

    void serverNow()
    {
        QCOMPARE(ServerNow(1), QStringLiteral("2024.03.06"));
        QCOMPARE(ServerNow(2), QStringLiteral("2024-03-06 10:15:30"));
        QCOMPARE(ServerNow(3), QStringLiteral("10:15:30"));
        QCOMPARE(ServerNow(4), QString());
        QVERIFY(!form_Adatmodul->Query1.isActive());
    }

    void semesters()
    {
        QCOMPARE(FindCurrentSemester(), QStringLiteral("2"));
        QCOMPARE(SemesterOfDate(QStringLiteral("2023.12.24")), QStringLiteral("1"));
        QCOMPARE(SemesterOfDate(QStringLiteral("  2024.02.05")), QStringLiteral("2"));
        QCOMPARE(SemesterOfDate(QStringLiteral("2024.07.01")), QString());
        // A quote in the text cannot break the statement: it is a date the server refuses.
        QVERIFY_THROWS_EXCEPTION(DbError, SemesterOfDate(QStringLiteral("2024'.07.01")));
        // Between two semesters: the one that starts last, even in the future.
        fx->clockValue = QDateTime(QDate(2024, 7, 1), QTime(8, 0));
        QCOMPARE(FindCurrentSemester(), QStringLiteral("3"));
        exec(QStringLiteral("delete from felev"));
        QCOMPARE(FindCurrentSemester(), QString());
    }

    void semesterWeek_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("lessonBeforeNow");
        QTest::addColumn<int>("week");
        QTest::addColumn<QString>("parity");
        QTest::newRow("first week, no lesson yet") << QDate(2024, 2, 7) << false << 1 << "páratlan";
        QTest::newRow("first week, lesson before now") << QDate(2024, 2, 7) << true << 0 << "páros";
        QTest::newRow("sunday of first week") << QDate(2024, 2, 11) << false << 1 << "páratlan";
        QTest::newRow("monday of second week") << QDate(2024, 2, 12) << false << 2 << "páros";
        // Autumn semester running into January counts on over the year boundary.
        QTest::newRow("january of autumn semester") << QDate(2024, 1, 10) << false << 19 << "páratlan";
        QTest::newRow("outside every semester") << QDate(2024, 7, 10) << false << 0 << "";
    }
    void semesterWeek()
    {
        QFETCH(QDate, date);
        QFETCH(bool, lessonBeforeNow);
        QFETCH(int, week);
        QFETCH(QString, parity);
        exec(QStringLiteral("insert into orarend_datum (orarend_id, od_datum) values (2, '20240101')"));
        if (lessonBeforeNow)
            exec(QStringLiteral("insert into orarend_datum (orarend_id, od_datum) values (1, '20240206')"));
        QCOMPARE(SemesterWeekNumber(date, QStringLiteral("1")), week);
        QCOMPARE(SemesterWeekParity(date, QStringLiteral("1")), parity);
    }

    void semesterWeekWithoutTimetable()
    {
        // The entry is what the caller passes: the shared selection value plays no part.
        CurrentTimetableId = QStringLiteral("1");
        exec(QStringLiteral("insert into orarend_datum (orarend_id, od_datum) values (1, '20240206')"));
        QCOMPARE(SemesterWeekNumber(QDate(2024, 2, 7), QString()), 1);
        QCOMPARE(SemesterWeekParity(QDate(2024, 2, 7), QString()), QStringLiteral("páratlan"));
        QCOMPARE(SemesterWeekNumber(QDate(2024, 2, 7), QStringLiteral("1")), 0);
    }

    void dateTexts()
    {
        QCOMPARE(CompactDateText(QDate(2024, 3, 5)), QStringLiteral("20240305"));
        QCOMPARE(DateTextToCompact(QStringLiteral("  2024.03.05")), QStringLiteral("20240305"));
        QCOMPARE(DateTextToCompact(QStringLiteral("\t08:15")), QStringLiteral("0815"));
        QCOMPARE(LongDateText(QDate(2024, 3, 6)), QStringLiteral("2024. március 6 (szerda)"));
        QCOMPARE(LongDateText(QDate(2024, 3, 10)), QStringLiteral("2024. március 10 (vasárnap)"));
        QCOMPARE(WeekMonday(QDate(2024, 3, 10)), QDate(2024, 3, 4));
        QCOMPARE(WeekSaturday(QDate(2024, 3, 10)), QDate(2024, 3, 9));
        QCOMPARE(WeekMonday(QDate(2024, 3, 4)), QDate(2024, 3, 4));
        QCOMPARE(BoolToText(true), QStringLiteral("1"));
        QVERIFY(TextToBool(QStringLiteral("True")) && TextToBool(QStringLiteral("1")));
        QVERIFY(!TextToBool(QStringLiteral("true")) && !TextToBool(QStringLiteral("0")));
    }

    void checkDateText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::newRow("valid") << "2024.03.05" << true;
        QTest::newRow("mask trailing dot") << "2024.03.05." << true;
        QTest::newRow("blank mask") << "    .  .  ." << false;
        QTest::newRow("no such day") << "2024.02.30" << false;
        QTest::newRow("time") << "08:15" << true;
        QTest::newRow("bad time") << "25:15" << false;
        QTest::newRow("neither") << "abc" << true;
    }
    void checkDateText()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        ScriptedMessages boxes;
        QCOMPARE(CheckDateText(text), ok);
        QCOMPARE(boxes.shown, ok ? QStringList() : QStringList{"Rossz dátum!"});
    }

    void neptunWithoutStandIn()
    {
        Dataset q(&fx->conn(), QStringLiteral("NEPTUN"));
        try {
            NeptunQuery(q, QStringLiteral("select 1 from dual where x='a'"), QString());
            QFAIL("ran without a Neptun database");
        } catch (const DbError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("Neptun")), qPrintable(e.message()));
        }
        QCOMPARE(q.sql(), QStringLiteral("select a.* from openquery(NEPTUN3R,'select 1 from dual where x=''a''') a "));
    }
};

QTEST_GUILESS_MAIN(TestCalendar)
#include "test_calendar.moc"
