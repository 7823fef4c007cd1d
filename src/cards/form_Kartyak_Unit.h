#pragma once
// The card issue window form_Kartyak "Kártya adatok": selects students by semester, course,
// language, year, lesson and whether they have a card, lets the user tick the students whose cards
// print, and shows the card issues of the current student.

#include "AlapSzures_Unit.h"

#include <QSet>

class DBGrid;
class QCheckBox;
class QLineEdit;
class QListWidgetItem;
class QPushButton;
class TCheckListBox;
class TDBLookUpEdit;
class TVDCComboBox;

class Tform_Kartyak : public TAlapSzures_Form {
    Q_OBJECT
public:
    explicit Tform_Kartyak(QWidget *parent = nullptr);
    ~Tform_Kartyak() override;

    TVDCComboBox *vdc_felev;
    TVDCComboBox *vdc_kurzus;
    TVDCComboBox *vdc_nyelv;
    QLineEdit *e_evfolyam;
    TVDCComboBox *vdc_orarend;
    QCheckBox *cb_kartya;
    TDBLookUpEdit *dbl_nev;
    TDBLookUpEdit *dbl_kod;
    DBGrid *dbg_lista;
    TCheckListBox *clb_hallgato;
    DBGrid *dbg_kiadott;
    QPushButton *bb_be;
    QPushButton *bb_ki;
    QPushButton *bb_kartya;
    Dataset kartya;

    void FormShow() override;
    void bb_inditClick() override;
    void bb_felttorolClick() override;
    void bb_kilepesClick() override;
    void vdc_felevChange();
    void bb_kartyaClick();
    void clb_hallgatoClick(QListWidgetItem *item);
    void SZURESAfterScroll();

    // The search statement for the filters as they stand.
    QString SearchStatement() const;
    // The ids of the ticked students, comma-separated, built by "Kártya nyomtatás"; empty when
    // nobody is ticked.
    const QString &selectionList() const { return m_selection; }
    // The student id of a check-list item.
    static QString StudentIdOf(const QListWidgetItem *item);

private:
    void captureTicks();     // the list's ticks into m_ticked, by student id
    void rebuildCheckList(); // in grid order, ticks kept by student id
    void selectCurrentItem();

    QString m_selection;
    QSet<QString> m_ticked;
    bool m_syncing = false;
};

extern Tform_Kartyak *form_Kartyak;
