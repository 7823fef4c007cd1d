#pragma once
// Group assignment window form_TanoraHallgato "Tanórák és hallgatók összerendelése": for a timetable
// entry of a semester, every student not in it (left) and its members (right); selected students
// are added to the entry, single members taken out of it.

#include "AlapSzures_Unit.h"

class DBGrid;
class QPushButton;
class QToolButton;
class TDBLookUpEdit;
class TVDCComboBox;

class Tform_TanoraHallgato : public TAlapSzures_Form {
    Q_OBJECT
public:
    explicit Tform_TanoraHallgato(QWidget *parent = nullptr);
    ~Tform_TanoraHallgato() override;

    TVDCComboBox *vdc_felev;
    TVDCComboBox *vdc_orarend;
    TDBLookUpEdit *dbl_hallgato;
    TDBLookUpEdit *dbl_kod;
    TDBLookUpEdit *dbl_id;
    TDBLookUpEdit *DBLookUpEdit1;
    DBGrid *dbg_lista;   // candidates (SZURES)
    DBGrid *dbg_tanhall; // members
    QToolButton *sb_be;
    QToolButton *sb_ki;
    QPushButton *bb_be;
    QPushButton *bb_ki;
    Dataset tan_hall;

    void FormShow() override;
    void bb_inditClick() override;
    void bb_felttorolClick() override;
    void vdc_felevChange();
    // Opens both lists for the chosen entry; false (after the message) when none is chosen.
    bool openLists();
    void sb_beClick();
    void sb_kiClick();
    void bb_beClick();
    void bb_kiClick();
    void SZURESAfterScroll();
    void tan_hallAfterScroll();
    void openStudent(Dataset &list);
    // Keeps both grids' layouts when the window closes.
    void done(int result) override;

protected:

private:
    void closeLists();
};

// The window while it is open.
extern Tform_TanoraHallgato *form_TanoraHallgato;
