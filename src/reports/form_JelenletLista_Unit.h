#pragma once
// The attendance matrix list form_JelenletLista "Jelenlét lista": a lesson's students with the
// signs of their entries in date order and their totals; prints the attendance sheet, exports to
// Excel, opens a student's entries and the capture journal.

#include "AlapSzures_Unit.h"
#include "AttendanceMatrix.h"

class DBGrid;
class QLabel;
class QPushButton;
class TVDCComboBox;

class Tform_JelenletLista : public TAlapSzures_Form {
    Q_OBJECT
public:
    explicit Tform_JelenletLista(QWidget *parent = nullptr);
    ~Tform_JelenletLista() override;

    TVDCComboBox *vdc_felev;
    TVDCComboBox *vdc_orarend;
    DBGrid *dbg_lista;
    QPushButton *bb_lista;
    QLabel *l_tobbdatum; // says that dates after the grid's last date column are not shown
    Dataset keres;

    void FormShow() override;
    void bb_inditClick() override;
    void vdc_felevChange();
    void vdc_orarendChange();
    void sb_nyomtatClick();
    void bb_excelClick();
    void dbg_listaDblClick();
    void bb_listaClick();
    void SZURESAfterScroll();

    // What the matrix on the screen was built for; opened is false before the first build.
    const MatrixBuild &build() const { return m_build; }

private:
    void buildMatrix();
    bool matrixShown() const;

    MatrixBuild m_build;
};

extern Tform_JelenletLista *form_JelenletLista;
