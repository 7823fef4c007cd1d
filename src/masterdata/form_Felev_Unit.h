#pragma once
// Semesters window form_Felev "Félévek kezelése": the list of every semester and its four fields.

#include "Alap_Form_Unit.h"

class DBGrid;
class MaskEdit;
class QLineEdit;

class Tform_Felev : public TAlap_Form {
    Q_OBJECT
public:
    explicit Tform_Felev(QWidget *parent = nullptr);
    ~Tform_Felev() override;

    DBGrid *dbg_lista;
    QLineEdit *e_nev;
    QLineEdit *e_neptun;
    MaskEdit *me_datum_kezd;
    MaskEdit *me_datum_veg;

    void FormShow() override;
    bool FormClose() override;
    void bb_felveszClick() override;
    void bb_megsemClick() override;
    void SZURESAfterScroll();
};

// The window while it is open.
extern Tform_Felev *form_Felev;
