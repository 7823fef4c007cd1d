#include "MonthCalendar.h"

#include <QDate>
#include <QHeaderView>

namespace {

const char *const MonthNames[] = {"január", "február",   "március", "április",  "május",   "június",
                                  "július", "augusztus", "szeptember", "október", "november", "december"};
const char *const DayNames[] = {"vasárnap", "hétfő", "kedd", "szerda", "csütörtök", "péntek", "szombat"};

constexpr int Columns = 7;
constexpr int Rows = 7; // the header row and six week rows

} // namespace

QString HungarianMonthName(int month)
{
    return month >= 1 && month <= 12 ? QString::fromUtf8(MonthNames[month - 1]) : QString();
}

QString HungarianDayName(int index)
{
    return index >= 0 && index <= 6 ? QString::fromUtf8(DayNames[index]) : QString();
}

TMonthCalendarGrid::TMonthCalendarGrid(QWidget *parent) : TStringGrid(parent)
{
    setColumnCount(Columns);
    setRowCount(Rows);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMinimumSize(7 * 34, 7 * 26);

    QFont headerFont = font();
    headerFont.setBold(true);
    for (int c = 0; c < Columns; ++c) {
        // Monday first: column c is day (c + 1) mod 7 of the Sunday-first names.
        auto *item = new QTableWidgetItem(HungarianDayName((c + 1) % 7).left(2).toUpper());
        item->setFlags(Qt::ItemIsEnabled); // the fixed row: never current, never selected
        item->setTextAlignment(Qt::AlignCenter);
        item->setFont(headerFont);
        item->setBackground(palette().button());
        setItem(0, c, item);
    }
    for (int r = 1; r < Rows; ++r)
        for (int c = 0; c < Columns; ++c) {
            auto *item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setTextAlignment(Qt::AlignCenter);
            setItem(r, c, item);
        }

    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int row, int column, int, int) { cellSelected(row, column); });
    // A click on the cell that is current already changes nothing, yet it is a choice.
    connect(this, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (QPoint(column, row) == m_currentBeforePress)
            cellSelected(row, column);
    });

    const QDate today = QDate::currentDate();
    showMonth(today.year(), today.month());
}

void TMonthCalendarGrid::showMonth(int year, int month)
{
    m_year = year;
    m_month = qBound(1, month, 12);
    for (int r = 1; r < Rows; ++r)
        for (int c = 0; c < Columns; ++c)
            setCell(c, r, QString());
    const QDate first(m_year, m_month, 1);
    int row = 1;
    for (int day = 1; day <= first.daysInMonth(); ++day) {
        const int column = QDate(m_year, m_month, day).dayOfWeek() - 1; // Monday 0 … Sunday 6
        setCell(column, row, QString::number(day));
        if (column == 6)
            ++row;
    }
    Q_EMIT monthShown(m_year, m_month);
}

void TMonthCalendarGrid::nextMonth()
{
    if (m_month == 12)
        showMonth(m_year + 1, 1);
    else
        showMonth(m_year, m_month + 1);
}

void TMonthCalendarGrid::previousMonth()
{
    if (m_month == 1)
        showMonth(m_year - 1, 12);
    else
        showMonth(m_year, m_month - 1);
}

QString TMonthCalendarGrid::caption() const { return QString::number(m_year) + u' ' + HungarianMonthName(m_month); }

void TMonthCalendarGrid::highlightCell(int column, int row)
{
    m_programmatic = true;
    setCurrentCell(row, column);
    m_programmatic = false;
}

QPoint TMonthCalendarGrid::cellOfDay(int day) const
{
    const QString text = QString::number(day);
    for (int r = 1; r < Rows; ++r)
        for (int c = 0; c < Columns; ++c)
            if (cell(c, r) == text)
                return QPoint(c, r);
    return QPoint(-1, -1);
}

void TMonthCalendarGrid::mousePressEvent(QMouseEvent *event)
{
    m_currentBeforePress = QPoint(currentColumn(), currentRow());
    TStringGrid::mousePressEvent(event);
}

void TMonthCalendarGrid::cellSelected(int row, int column)
{
    if (m_programmatic || row < 1)
        return;
    bool ok = false;
    const int day = cell(column, row).trimmed().toInt(&ok);
    if (!ok || day < 1)
        return; // an empty cell keeps the day chosen before
    m_chosenDay = day;
    Q_EMIT dayChosen(day);
}
