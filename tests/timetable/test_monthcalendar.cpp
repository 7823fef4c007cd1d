// The month calendar grid on its own: layout of a month, moving between months, what counts as a
// choice of the user.

#include "MonthCalendar.h"

#include <QTest>

namespace {

// The rows 1..6 of the grid as text lines, cells separated by '|'.
QStringList weeks(const TMonthCalendarGrid &g)
{
    QStringList out;
    for (int r = 1; r < 7; ++r) {
        QStringList cells;
        for (int c = 0; c < 7; ++c)
            cells << g.cell(c, r);
        out << cells.join(u'|');
    }
    return out;
}

int usedRows(const TMonthCalendarGrid &g)
{
    int n = 0;
    for (const QString &w : weeks(g))
        if (w != QLatin1String("||||||"))
            ++n;
    return n;
}

void clickCell(TMonthCalendarGrid &g, int column, int row)
{
    const QRect r = g.visualItemRect(g.item(row, column));
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, r.center());
}

} // namespace

class TestMonthCalendar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void headerRowMondayFirst()
    {
        TMonthCalendarGrid g;
        QCOMPARE(g.columnCount(), 7);
        QCOMPARE(g.rowCount(), 7);
        QStringList header;
        for (int c = 0; c < 7; ++c)
            header << g.cell(c, 0);
        QCOMPARE(header, QStringList({"HÉ", "KE", "SZ", "CS", "PÉ", "SZ", "VA"}));
        // The fixed row can never be selected.
        QVERIFY(!(g.item(0, 3)->flags() & Qt::ItemIsSelectable));
        QCOMPARE(HungarianMonthName(9), QStringLiteral("szeptember"));
        QCOMPARE(HungarianMonthName(13), QString());
        QCOMPARE(HungarianDayName(0), QStringLiteral("vasárnap"));
    }

    void september2016()
    {
        TMonthCalendarGrid g;
        g.showMonth(2016, 9);
        QCOMPARE(g.caption(), QStringLiteral("2016 szeptember"));
        QCOMPARE(g.cell(3, 1), QStringLiteral("1"));
        QCOMPARE(g.cell(6, 1), QStringLiteral("4"));
        QCOMPARE(g.cell(0, 2), QStringLiteral("5"));
        QCOMPARE(g.cell(4, 5), QStringLiteral("30"));
        QCOMPARE(g.cellOfDay(14), QPoint(2, 3));
        QCOMPARE(weeks(g).first(), QStringLiteral("|||1|2|3|4"));
        QCOMPARE(usedRows(g), 5);
        QCOMPARE(g.cellOfDay(31), QPoint(-1, -1));
    }

    void rowsUsed_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("rows");
        QTest::newRow("31 days from a Sunday") << 2020 << 3 << 6;
        QTest::newRow("February from a Monday") << 2021 << 2 << 4;
        QTest::newRow("leap February from a Thursday") << 2024 << 2 << 5;
    }
    void rowsUsed()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, rows);
        TMonthCalendarGrid g;
        g.showMonth(2016, 9); // a redraw clears what an earlier month left
        g.showMonth(year, month);
        QCOMPARE(usedRows(g), rows);
        const QDate last = QDate(year, month, 1).addMonths(1).addDays(-1);
        QCOMPARE(g.cellOfDay(last.day()).x(), last.dayOfWeek() - 1);
        QCOMPARE(g.cellOfDay(last.day() + 1), QPoint(-1, -1));
    }

    void navigationAcrossYears()
    {
        TMonthCalendarGrid g;
        QList<std::pair<int, int>> shown;
        connect(&g, &TMonthCalendarGrid::monthShown, this, [&](int y, int m) { shown << std::pair{y, m}; });
        g.showMonth(2016, 12);
        g.nextMonth();
        QCOMPARE(std::pair(g.year(), g.month()), std::pair(2017, 1));
        QCOMPARE(g.caption(), QStringLiteral("2017 január"));
        QCOMPARE(g.cell(6, 1), QStringLiteral("1")); // 1 January 2017 was a Sunday
        g.previousMonth();
        g.previousMonth();
        QCOMPARE(std::pair(g.year(), g.month()), std::pair(2016, 11));
        g.showMonth(2017, 1);
        g.previousMonth();
        QCOMPARE(std::pair(g.year(), g.month()), std::pair(2016, 12));
        QCOMPARE(shown.size(), 6);
    }

    void choiceOnlyByTheUser()
    {
        TMonthCalendarGrid g;
        g.resize(400, 300);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        g.showMonth(2016, 9);
        QList<int> chosen;
        connect(&g, &TMonthCalendarGrid::dayChosen, this, [&](int d) { chosen << d; });
        // The program's highlight makes the cell current but chooses nothing.
        g.highlightCell(2, 2);
        QCOMPARE(g.currentRow(), 2);
        QCOMPARE(g.currentColumn(), 2);
        QCOMPARE(g.chosenDay(), 0);
        QVERIFY(chosen.isEmpty());
        // A click on a day chooses it, also on the highlighted cell itself.
        clickCell(g, 2, 2);
        QCOMPARE(g.chosenDay(), 7);
        clickCell(g, 2, 3);
        QCOMPARE(g.chosenDay(), 14);
        // Keys move the choice too.
        QTest::keyClick(&g, Qt::Key_Right);
        QCOMPARE(g.chosenDay(), 15);
        // An empty cell and the header keep it.
        clickCell(g, 0, 1);
        QCOMPARE(g.chosenDay(), 15);
        clickCell(g, 4, 0);
        QCOMPARE(g.chosenDay(), 15);
        QCOMPARE(chosen, QList<int>({7, 14, 15}));
        // Another month keeps the day chosen, even one the month lacks.
        clickCell(g, 4, 5);
        QCOMPARE(g.chosenDay(), 30);
        g.previousMonth();
        QCOMPARE(g.chosenDay(), 30);
    }
};

QTEST_MAIN(TestMonthCalendar)
#include "test_monthcalendar.moc"
