#pragma once
// A month calendar on a string grid: 7 columns (Monday to Sunday), a fixed header row 0 with the
// two-letter Hungarian day names and up to six week rows below it. The grid draws one month at a
// time and moves between months; the cell the user selects chooses its day, while a highlight set
// by the program chooses nothing.

#include "Controls.h"

// Index 1 to 12: január … december; any other index gives "".
QString HungarianMonthName(int month);
// Index 0 to 6: vasárnap, hétfő, … szombat; any other index gives "".
QString HungarianDayName(int index);

class TMonthCalendarGrid : public TStringGrid {
    Q_OBJECT
public:
    explicit TMonthCalendarGrid(QWidget *parent = nullptr);

    // Draws the month (1 to 12; other values are clamped) of the year.
    void showMonth(int year, int month);
    void nextMonth();     // December moves to January of the next year
    void previousMonth(); // January moves to December of the previous year
    int year() const { return m_year; }
    int month() const { return m_month; }
    // The year, a blank and the month's name: "2016 szeptember".
    QString caption() const;

    // The day the user chose last (0 until a cell with a day was selected); months do not change it.
    int chosenDay() const { return m_chosenDay; }
    void setChosenDay(int day) { m_chosenDay = day; }

    // Makes the cell current without choosing its day.
    void highlightCell(int column, int row);
    // The cell (column, row) of a day of the shown month; (-1, -1) when the month has no such day.
    QPoint cellOfDay(int day) const;

Q_SIGNALS:
    void monthShown(int year, int month);
    // The user selected a cell that holds a day.
    void dayChosen(int day);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void cellSelected(int row, int column);

    int m_year = 2000;
    int m_month = 1;
    int m_chosenDay = 0;
    bool m_programmatic = false;
    QPoint m_currentBeforePress{-1, -1};
};
