#pragma once
// Error log browser form_Hibanaplo "Hibanapló": the stored error reports filtered by user, date
// range and state, the full text of the current one, and its state set from the grid's menu.

#include "AlapSzures_Unit.h"

class DBGrid;
class QMenu;
class QPlainTextEdit;
class TDateTimePicker;
class TRadioGroup;
class TVDCComboBox;

class Tform_Hibanaplo : public TAlapSzures_Form {
    Q_OBJECT
public:
    explicit Tform_Hibanaplo(QWidget *parent = nullptr);
    ~Tform_Hibanaplo() override;

    TVDCComboBox *vcb_felh;
    TDateTimePicker *dtp_HibaTol;
    TDateTimePicker *dtp_HibaIg;
    TRadioGroup *rg_milyen;
    DBGrid *dbg_Eredmeny;
    QPlainTextEdit *m_hiba;
    QMenu *pm_hibanaplo;
    QPushButton *BitBtn1;

    void FormShow() override;
    void bb_inditClick() override;
    void bb_kilepesClick() override;
    void BitBtn1Click();
    void SZURESAfterScroll();
    // Sets the state of the current report (0 in progress, 1 fixed, 2 deleted); nothing without one.
    void SetState(int state);

    // The search statement for the filters as they stand.
    QString SearchStatement() const;
    const QString &currentId() const { return m_id; }

    // The row colour of a report state (hn_allapot).
    static QColor StateColor(const QVariant &state);

protected:
    // Esc is the cancel button BitBtn1's alone.
    void reject() override;

private:
    QString m_id;
};

extern Tform_Hibanaplo *form_Hibanaplo;
