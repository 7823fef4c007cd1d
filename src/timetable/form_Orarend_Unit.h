#pragma once
// Timetable window form_Orarend "Órarend felvitel": the faculty's timetable entries of one semester
// with their lesson dates, groups (linked subject offerings) and teachers; entries are saved,
// copied with their groups and members, and deleted with their dependants.
// Callers that want it positioned set CurrentTimetableId and OpenPositioned before opening it.

#include "Alap_Form_Unit.h"

#include <functional>

class DBGrid;
class MaskEdit;
class QCheckBox;
class QLineEdit;
class QMenu;
class QToolButton;
class TVDCComboBox;

class Tform_Orarend : public TAlap_Form {
    Q_OBJECT
public:
    explicit Tform_Orarend(QWidget *parent = nullptr);
    ~Tform_Orarend() override;

    QWidget *p_kereso;
    TVDCComboBox *vdc_felev_szuro;
    DBGrid *dbg_lista;
    TVDCComboBox *vdc_felev;
    QLineEdit *e_orarend;
    MaskEdit *me_mettol;
    MaskEdit *me_meddig;
    QCheckBox *cb_heti;
    QLineEdit *e_potlas;
    QPushButton *bb_masol;

    DBGrid *dbg_datum;
    DBGrid *dbg_tanora;
    DBGrid *dbg_oktatok;
    QToolButton *sb_datum;
    QToolButton *sb_datum_torles;
    QToolButton *sb_tanora;
    QToolButton *sb_tanora_torles;
    QToolButton *sb_oktatok;
    QToolButton *sb_oktatok_torles;
    QMenu *pm_datum;
    QMenu *pm_tanorak;
    QMenu *pm_oktatok;

    Dataset datumok;
    Dataset tanorak;
    Dataset oktatok;
    Dataset ADOQuery1;

    // The id of the list's current row; empty when the list is closed or empty.
    QString currentEntryId() const;

    void FormShow() override;
    bool FormClose() override;
    void bb_felveszClick() override;
    void bb_ujClick() override;
    void bb_modositClick() override;
    void bb_megsemClick() override;
    void bb_torolClick() override;
    void bb_masolClick();
    void applyFilter();
    void sb_datumClick();
    void sb_datum_torlesClick();
    void sb_tanoraClick();
    void sb_tanora_torlesClick();
    void rls2Click();
    void sb_oktatokClick();
    void sb_oktatok_torlesClick();
    void dbg_listaDblClick();
    void dbg_tanoraDblClick();
    void SZURESAfterScroll();

private:
    void keepingFilter(const std::function<void()> &step);
    void reopenDependants();
    void rereadGroups();
    void closeDependants();
    // The current row's value of a column of an open, non-empty dependant; "" otherwise.
    static QString currentValue(const Dataset &ds, const QString &column);
    bool refuseWithoutEntry();

    bool m_filling = false;
    QString m_writtenId; // the entry written in the current new state
};

extern Tform_Orarend *form_Orarend;
