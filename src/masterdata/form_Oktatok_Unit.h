#pragma once
// Teachers window form_Oktatok "Oktatói adatok": the teachers with their login accounts and the
// subject offerings each teaches. Also the teacher picker of the timetable: CurrentTeacherId is
// left set only when a teacher is confirmed with "Rendben".

#include "Alap_Form_Unit.h"

class DBGrid;
class QFrame;
class QLineEdit;
class QPushButton;
class QToolButton;
class TVDCComboBox;

class Tform_Oktatok : public TAlap_Form {
    Q_OBJECT
public:
    explicit Tform_Oktatok(QWidget *parent = nullptr);
    ~Tform_Oktatok() override;

    DBGrid *dbg_lista;
    DBGrid *dbg_tantargy;
    QLineEdit *e_nev;
    QLineEdit *e_kod;
    QLineEdit *e_jelszo;
    TVDCComboBox *vdc_tantargy;
    QToolButton *sb_felvesz;
    QToolButton *sb_torles;
    QFrame *p_kereso;
    QLineEdit *e_keres;
    QPushButton *bb_felttorol;
    QToolButton *sb_rendben;
    Dataset Tantargy; // the current teacher's offerings

    void FormShow() override;
    bool FormClose() override;
    void bb_felveszClick() override;
    void bb_ujClick() override;
    void bb_modositClick() override;
    void bb_megsemClick() override;
    void bb_torolClick() override;
    void sb_rendbenClick();
    void sb_felveszClick();
    void sb_torlesClick();
    void e_keresChange();
    void e_kodExit();
    void SZURESAfterScroll();
    void TantargyAfterScroll();

    // The offering choice of the faculty (an empty faculty offers nothing).
    static QString OfferingChoiceStatement(const QString &facultyId);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showSearch();
    void reopenOfferings();
    // The code as login name clashes with another account: reported, true.
    bool loginNameTaken(EditState mode, const QString &storedPassword);
    bool m_confirmed = false; // "Rendben" closed the window
};

extern Tform_Oktatok *form_Oktatok;
