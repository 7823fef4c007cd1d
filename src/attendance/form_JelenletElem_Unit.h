#pragma once
// Attendance entry maintenance form_JelenletElem "Hallgató jelenléte": the attendance entries of one
// student (CurrentStudentId) in the current semester and faculty, added, changed or deleted by hand.
// Callers set CurrentStudentId, CurrentStudentName and OpenPositioned before opening it.

#include "Alap_Form_Unit.h"

#include <QLabel>

class DBGrid;
class MaskEdit;
class TRadioGroup;
class TVDCComboBox;

// A label that reports a click of the left mouse button.
class TLinkLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

class Tform_JelenletElem : public TAlap_Form {
    Q_OBJECT
public:
    explicit Tform_JelenletElem(QWidget *parent = nullptr);
    ~Tform_JelenletElem() override;

    DBGrid *dbg_lista;
    TVDCComboBox *vdc_orarend;
    MaskEdit *bi_datum;
    TRadioGroup *rg_jelenlet;
    TLinkLabel *l_hallgato;

    // The jelenlet_id of the current list row or of the entry just saved; empty when none.
    const QString &currentEntryId() const { return m_entryId; }

    void FormShow() override;
    bool FormClose() override;
    void bb_felveszClick() override;
    void bb_megsemClick() override;
    void bb_torolClick() override;
    void SZURESAfterScroll();
    void l_hallgatoClick();
    void dbg_listaDblClick();

private:
    // The message that refuses the save, with the control to focus; empty when the entry is complete.
    QString incompleteEntry(QWidget *&control) const;

    QString m_entryId;
};

extern Tform_JelenletElem *form_JelenletElem;
