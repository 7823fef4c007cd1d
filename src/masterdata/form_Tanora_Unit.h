#pragma once
// Subject offerings window form_Tanora "Tantárgy szerkesztése": the offerings of the user's faculty
// in one semester (or all), the students of the selected offering, and "Rendben", which links the
// selected offerings to the current timetable entry as its groups.

#include "Alap_Form_Unit.h"

class DBGrid;
class QLineEdit;
class QPushButton;
class QToolButton;
class TVDCComboBox;

class Tform_Tanora : public TAlap_Form {
    Q_OBJECT
public:
    explicit Tform_Tanora(QWidget *parent = nullptr);
    ~Tform_Tanora() override;

    QWidget *p_kereso;
    TVDCComboBox *vdc_felev_szuro;
    QPushButton *bb_felttorol;
    DBGrid *dbg_lista;
    DBGrid *dbg_hallgato;
    TVDCComboBox *vdc_felev;
    TVDCComboBox *vdc_tantargy;
    TVDCComboBox *vdc_forma;
    TVDCComboBox *vdc_kurzus;
    TVDCComboBox *vdc_nyelv;
    QLineEdit *e_evfolyam;
    QToolButton *sb_rendben;
    Dataset hallgato; // the students of the selected offering

    void FormShow() override;
    bool FormClose() override;
    void bb_felveszClick() override;
    void bb_ujClick() override;
    void bb_modositClick() override;
    void bb_megsemClick() override;
    void bb_torolClick() override;
    void sb_kilepClick() override;
    void sb_rendbenClick();
    void vdc_felevChange();
    void vdc_felev_szuroChange();
    void bb_felttorolClick();
    void SZURESAfterScroll();

    // The offering of the list's current row; empty when the list has none.
    QString currentRowOffering() const;

private:
    void openList(const QString &semesterId, bool allSemesters);
    // Reopens the list on the offering, switching a one-semester list to the offering's semester.
    void relocate(const QString &id, const QString &semesterId);
    // Loads the subject and course choices for the semester unless they already hold its lists.
    void fillSemesterChoices(const QString &semesterId, bool keepChoice);
    void showRow();
    void closeStudentsIfEmpty();
    QStringList offeringFields() const;
    // A choice whose typed text names no item of its list: its message, else empty.
    QString unchosenText(QWidget *&control) const;

    QString m_choicesSemester; // the semester the subject and course lists were loaded for
    bool m_choicesLoaded = false;
    bool m_allSemesters = false; // the list shows every semester of the faculty
    QString m_filterId;          // the semester the one-semester list shows
    QString m_editId;            // the offering being modified
    QString m_writtenId;         // the offering already written in this new state
};

// The window while it is open.
extern Tform_Tanora *form_Tanora;
