#pragma once
// form_OrarendHallgato "Órarendi elem hallgatói": the members of the current timetable entry
// (CurrentTimetableId) with their subject and course, read-only, saved to a file or to Excel.

#include "AlapSzures_Unit.h"

class DBGrid;
class QLabel;

class Tform_OrarendHallgato : public TAlapSzures_Form {
    Q_OBJECT
public:
    explicit Tform_OrarendHallgato(QWidget *parent = nullptr);
    ~Tform_OrarendHallgato() override;

    QLabel *l_orarend;
    DBGrid *dbg_lista;

    void FormShow() override;
    void bb_kilepesClick() override;
    void bb_excelClick();
};

extern Tform_OrarendHallgato *form_OrarendHallgato;
