#pragma once
// Faculties window form_Szervezet "Szervezeti egység": the organisational units with code and
// active flag.

#include "Alap_Form_Unit.h"

class DBGrid;
class QCheckBox;
class QLineEdit;

class Tform_Szervezet : public TAlap_Form {
    Q_OBJECT
public:
    explicit Tform_Szervezet(QWidget *parent = nullptr);
    ~Tform_Szervezet() override;

    DBGrid *dbg_lista;
    QLineEdit *e_kar;
    QLineEdit *e_kod;
    QCheckBox *cb_aktiv;

    void FormShow() override;
    void bb_felveszClick() override;
    void bb_ujClick() override;
    void bb_modositClick() override;
    void bb_megsemClick() override;
    void bb_torolClick() override;
    void SZURESAfterScroll();

    // The list row's kar_id (this window's own; not the logged-in user's faculty).
    const QString &currentFacultyId() const { return m_karId; }

private:
    QString m_karId;
    // The id written by a save whose required-field check then failed: the next save of the
    // same new record updates that row instead of inserting a second one.
    QString m_writtenId;
};

extern Tform_Szervezet *form_Szervezet;
