#pragma once
// Users window form_Felhasznalo "Felhasználók": the login accounts of every faculty with role,
// faculty, active flag, e-mail and password (stored only as the login hash, never shown).

#include "Alap_Form_Unit.h"

class DBGrid;
class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class TDBLookUpEdit;
class TRadioGroup;
class TVDCComboBox;

class Tform_Felhasznalo : public TAlap_Form {
    Q_OBJECT
public:
    explicit Tform_Felhasznalo(QWidget *parent = nullptr);
    ~Tform_Felhasznalo() override;

    DBGrid *dbg_lista;
    QLineEdit *e_nev;
    QLineEdit *e_teljes;
    TVDCComboBox *vdc_szerepkor;
    TVDCComboBox *vdc_kar;
    QLineEdit *e_jelszo;
    QCheckBox *cb_aktiv;
    QLineEdit *e_mail;
    QFrame *p_kereso;
    TDBLookUpEdit *dbl_nev;
    QPushButton *bb_felttorol;
    TRadioGroup *rg_aktiv;

    void FormShow() override;
    bool FormClose() override;
    void bb_felveszClick() override;
    void bb_ujClick() override;
    void bb_modositClick() override;
    void bb_megsemClick() override;
    void bb_torolClick() override;
    void rg_aktivClick(int index);
    void SZURESAfterScroll();

    // The list statement for the activity filter: -1 or 0 all, 1 active, 2 inactive.
    static QString ListStatement(int activity);

private:
    void showSearch();
    // Another account already holds the login name: reported, true.
    bool loginNameTaken(const QString &name, const QString &ownId);
};

extern Tform_Felhasznalo *form_Felhasznalo;
