#pragma once
// form_TantargyHallgatoi "Tantárgy hallgatói": the students enrolled in the current subject
// offering (CurrentOfferingId), one line per enrolment row, read-only, with Excel export.

#include "AlapSzures_Unit.h"

class DBGrid;
class QLabel;

class Tform_TantargyHallgatoi : public TAlapSzures_Form {
    Q_OBJECT
public:
    explicit Tform_TantargyHallgatoi(QWidget *parent = nullptr);
    ~Tform_TantargyHallgatoi() override;

    QLabel *l_orarend;
    DBGrid *dbg_lista;

    void FormShow() override;
    void bb_kilepesClick() override;
    void bb_excelClick();
};

extern Tform_TantargyHallgatoi *form_TantargyHallgatoi;
