#pragma once
// Lesson dates window form_OrarendDatum "Órarendi dátumok": a month calendar and the dates of the
// timetable entry CurrentTimetableId; a chosen day is added as a date, the current date deleted.

#include "Alap_Form_Unit.h"

class DBGrid;
class QLabel;
class QMenu;
class QToolButton;
class TMonthCalendarGrid;

class Tform_OrarendDatum : public TAlap_Form {
    Q_OBJECT
public:
    explicit Tform_OrarendDatum(QWidget *parent = nullptr);
    ~Tform_OrarendDatum() override;

    QLabel *p_naptar;
    TMonthCalendarGrid *sg_naptar;
    QToolButton *sb_eloho;
    QToolButton *sb_kovho;
    QToolButton *sb_felvesz;
    QToolButton *sb_torol;
    DBGrid *dbg_datum;
    QMenu *pm_naptar;

    // The od_id of the list's current row or of the date just added; empty when none.
    const QString &currentDateId() const { return m_dateId; }

    void FormShow() override;
    void sb_felveszClick();
    void sb_torolClick();
    void SZURESAfterScroll();

private:
    void reopenList(const QString &locateId);
    void showCaption();

    QString m_dateId;
};

extern Tform_OrarendDatum *form_OrarendDatum;
