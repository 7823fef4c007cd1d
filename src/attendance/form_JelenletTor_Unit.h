#pragma once
// Capture journal browser form_JelenletTor "Jelentések": the rows of Jelentes of the current faculty,
// newest first, filtered by date, by the user who wrote them and by any text of a row, with the
// full text of the current row.

#include "AlapSzures_Unit.h"

class DBGrid;
class MaskEdit;
class QLineEdit;
class QPlainTextEdit;

class Tform_JelenletTor : public TAlapSzures_Form {
    Q_OBJECT
public:
    explicit Tform_JelenletTor(QWidget *parent = nullptr);
    ~Tform_JelenletTor() override;

    MaskEdit *bi_datumtol;
    MaskEdit *bi_datumig;
    QLineEdit *e_kod;
    QLineEdit *e_neptun;
    DBGrid *dbg_lista;
    QPlainTextEdit *m_szoveg;

    void FormShow() override;
    void bb_inditClick() override;
    void bb_excelClick();
    void SZURESAfterScroll();

    // The statement of the search for the filters as they stand.
    QString SearchStatement() const;
};

extern Tform_JelenletTor *form_JelenletTor;
