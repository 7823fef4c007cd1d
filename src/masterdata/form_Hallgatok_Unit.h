#pragma once
// Students window form_Hallgatok "Hallgatók": the students placed in a timetable entry of the
// user's faculty, their four identifying fields, and beside the list the enrolment panel with the
// selected student's enrolments and attendance entries.
//
// Callers that want the window on one student set SoughtStudentName (and CurrentStudentId, which
// picks the right one of several students of that name) and OpenPositioned first.

#include "Alap_Form_Unit.h"

struct EnrolmentChoice;

class DBGrid;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;
class TDBLookUpEdit;
class TVDCComboBox;

class Tform_Hallgatok : public TAlap_Form {
    Q_OBJECT
public:
    explicit Tform_Hallgatok(QWidget *parent = nullptr);
    ~Tform_Hallgatok() override;

    DBGrid *dbg_lista;
    QLineEdit *e_nev;
    QLineEdit *e_kod;
    QLineEdit *e_diak;
    QLineEdit *e_oa;

    QWidget *p_kereso;
    TDBLookUpEdit *dbl_nev;
    TDBLookUpEdit *dbl_neptun;
    QToolButton *bb_felttorol;

    QWidget *p_tan;
    TVDCComboBox *vdc_tantargy;
    TVDCComboBox *vdc_felev;
    TVDCComboBox *vdc_forma;
    TVDCComboBox *vdc_kurzus;
    TVDCComboBox *vdc_nyelv;
    TVDCComboBox *vdc_orarend;
    QToolButton *sb_tantargy;
    QToolButton *sb_ok;
    QToolButton *sb_se;
    DBGrid *dbg_tantargy;
    DBGrid *dbg_jelenlet;
    QMenu *pm_targy;
    QAction *rls1;

    Dataset tantargy; // the student's enrolments
    Dataset jelenlet; // the student's attendance entries in the enrolment's semester

    // The student written by "Felvesz" in the current new state; empty when none yet.
    const QString &writtenStudentId() const { return m_writtenId; }

    void FormShow() override;
    bool FormClose() override;
    void bb_felveszClick() override;
    void bb_ujClick() override;
    void bb_modositClick() override;
    void bb_megsemClick() override;
    void bb_torolClick() override;
    void SZURESAfterScroll();
    void tantargyAfterScroll();
    void vdc_felevChange();
    void sb_tantargyClick();
    void sb_okClick();
    void sb_seClick();
    void rls1Click();
    void bb_felttorolClick();
    void dbg_tantargyDblClick();
    void dbg_jelenletDblClick();

private:
    void openEnrolments();
    void openAttendance();
    void clearPanelCombos();
    // Back to the panel's browsing look (step 4 of the enrolment editing).
    void endEnrolmentEditing();
    void showSearch();
    bool hasEnrolmentRow() const;
    EnrolmentChoice panelChoice() const;

    QString m_writtenId;
};

extern Tform_Hallgatok *form_Hallgatok;
