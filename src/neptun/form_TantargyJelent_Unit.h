#pragma once
// Neptun import window form_TantargyJelent "Tantárgyjelentkezések": the Neptun rows of a faculty and
// semester ("Neptun adatok"), their import ("Átvétel") with its progress and message list.

#include "Alap_Form_Unit.h"
#include "NeptunImport.h"

#include <QElapsedTimer>
#include <memory>

class DBGrid;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class TVDCComboBox;

class Tform_TantargyJelent : public TAlap_Form {
    Q_OBJECT
public:
    explicit Tform_TantargyJelent(QWidget *parent = nullptr);
    ~Tform_TantargyJelent() override;

    TVDCComboBox *vdc_kar;
    TVDCComboBox *vdc_felev;
    QLineEdit *e_tantargy;
    QCheckBox *cb_orarend;
    QPushButton *bb_neptun;
    QPushButton *bb_kartya;
    DBGrid *dbg_lista;
    QLabel *l_db;
    QPlainTextEdit *m_uzenet;
    QMenu *pm_atvetel;
    QProgressBar *pb_neptun;
    QFrame *p_lek;
    QLabel *l_felirat;

    void FormShow() override;
    bool FormClose() override;
    void vdc_karChange();
    void vdc_felevChange();
    void bb_neptunClick();
    void bb_kartyaClick();
    void MentesClick();

    // True while an import runs (input then neither starts another nor closes the window).
    bool importing() const { return m_importing; }
    NeptunImport &import() { return *m_import; }
    // Called at every progress step of an import, after the window repainted (tests drive input here).
    std::function<void()> onProgress;

private:
    void showProgress(int position, int maximum);
    void setInputEnabled(bool on);

    std::unique_ptr<NeptunImport> m_import;
    QString m_semesterNeptun;
    bool m_importing = false;
    QElapsedTimer m_repaintClock;
};

extern Tform_TantargyJelent *form_TantargyJelent;
